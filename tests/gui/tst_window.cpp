// The main window's wiring: each control, key, shortcut, drop and close reaches its handler,
// and the window shows the model. What the handlers do is the core's tests.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QSlider>
#include <QToolTip>
#include <QUrl>

#include "WindowHarness.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

// The dump open, the palette at 20 chosen and its swatch 3 (word 140D) selected.
void OpenAndSelect(WindowHarness& h) {
    OpenPatternDump(h);
    ClickRow(h, 1);
    Click(SwatchAt(h, 3));
}

// The special state at 1F0 of a 4 KiB file (the harness started with the special word).
void EnterSpecialState(WindowHarness& h) {
    h.services.openAnswers.push_back(h.folder.Write("game.gba", PatternBytes(4096)));
    h.services.inputAnswers.push_back("1f0");
    Click(h.Find<QWidget>("cmdSpecial"));
}

// What a click on the button asked of the desktop.
std::string Reaction(WindowHarness& h, const char* button) {
    FakeServices& s = h.services;
    const std::size_t dialogs = s.dialogs.size(), messages = s.messages.size(),
                      bytes = s.byteWindowTexts.size(), previews = s.previewImages.size();
    Click(h.Find<QWidget>(button));
    if (s.dialogs.size() > dialogs)
        return s.dialogs.back().kind;
    if (s.messages.size() > messages)
        return "box " + s.messages.back().text.substr(0, s.messages.back().text.find('\r'));
    if (s.byteWindowTexts.size() > bytes)
        return "bytes";
    return s.previewImages.size() > previews ? "preview" : "nothing";
}

// Drags `data` in and drops it on `widget`'s centre; true if taken there.
bool DropOn(WindowHarness& h, QWidget* widget, QMimeData& data, Qt::KeyboardModifiers keys = {}) {
    const QPoint at = widget->geometry().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, keys);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, keys);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, keys);
    QDragLeaveEvent leave;
    QApplication::sendEvent(h.window.get(), &enter);
    QApplication::sendEvent(h.window.get(), &move);
    QApplication::sendEvent(h.window.get(),
                            move.isAccepted() ? static_cast<QEvent*>(&drop) : &leave);
    QCoreApplication::processEvents(); // the command runs once the drop is over
    return move.isAccepted();
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void renderShowsTheModel();
    void everyButtonReachesItsHandler();
    void listChoosesByMouseArrowsAndSpaceOnlyAndTypedPathStays();
    void clickOrSpaceOnTheChosenRowReadsThePaletteAfresh();
    void windowSeesKeypadKeysFirstButNotAnotherWindows();
    void escAndTheCloseBoxAskLikeTheExitButton();
    void editMenuListsItsShortcutsWhichFire();
    void mouseDropsShiftClickAndDoubleClicks();
    void locationLabelClicksOnlyOnAReleaseInsideIt();
    void captionTooWideForItsBoxShrinksToFit_data();
    void captionTooWideForItsBoxShrinksToFit();
};

void WindowTest::renderShowsTheModel() {
    WindowHarness h;
    FormModel& m = h.model();
    const std::pair<const char*, Control*> controls[] = {
        {"Command1", &m.Command1},       {"Command2", &m.Command2},
        {"Command3", &m.Command3},       {"Command4", &m.Command4},
        {"cmdSpecial", &m.cmdSpecial},   {"lblGame", &m.lblGame},
        {"Label2", &m.Label2},           {"cmdRecarrega", &m.cmdRecarrega},
        {"lblLoc", &m.lblLoc},           {"lblLocOpt", &m.lblLocOpt},
        {"cmdImp", &m.cmdImp},           {"cmdExp", &m.cmdExp},
        {"cmdAmostra", &m.cmdAmostra},   {"cmdExibir", &m.cmdExibir},
        {"lblColor", &m.lblColor},       {"lblBlue", &m.lblBlue},
        {"lblGreen", &m.lblGreen},       {"lblRed", &m.lblRed},
        {"lblLocaliza", &m.lblLocaliza}, {"txtArquivo", &m.txtArquivo}};
    for (const auto& [name, control] : controls) // every caption, state and visibility turned
        *control = {std::string("Ç ") + name, !control->enabled, !control->visible};
    for (std::size_t i = 0; i < 16; ++i)
        m.Opt[i] = {static_cast<RgbColor>(0x030201 * i), i % 3 != 0, i % 2 == 0};
    m.BlueScroll = 3;
    m.GreenScroll = 17;
    m.RedScroll = 31;
    m.Picture1 = 0x123456;
    h.window->Render();
    for (const auto& [name, control] : controls) {
        auto* widget = h.Find<QWidget>(name);
        QCOMPARE(widget->isEnabled(), control->enabled);
        QCOMPARE(widget->isVisible(), control->visible);
        QCOMPARE(widget->property("text").toString(), QString::fromStdString(control->caption));
        if (auto* label = qobject_cast<QLabel*>(widget); label && label != h.Find<QLabel>("Label2"))
            QCOMPARE(label->textFormat(), Qt::PlainText); // only Label2 has an access key
    }
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(SwatchAt(h, i)->colour(), QColor(i, 2 * i, 3 * i)); // red in the low byte
        QCOMPARE(SwatchAt(h, i)->isVisible(), i % 3 != 0);
        QCOMPARE(SwatchAt(h, i)->isChecked(), i % 2 == 0);
    }
    QCOMPARE(h.Find<QSlider>("BlueScroll")->value(), 3);
    QCOMPARE(h.Find<QSlider>("GreenScroll")->value(), 17);
    QCOMPARE(h.Find<QSlider>("RedScroll")->value(), 31);
    QCOMPARE(h.Find<ColourSample>("Picture1")->colour(), QColor(0x56, 0x34, 0x12));
}

void WindowTest::everyButtonReachesItsHandler() {
    WindowHarness h({"kaldrex"});
    QCOMPARE(h.window->size(), QSize(479, 306));
    QCOMPARE(h.window->maximumSize(), QSize(479, 306));
    QCOMPARE(h.Find<QWidget>("Command1")->geometry(), QRect(16, 16, 113, 33)); // twips / 15
    QVERIFY(h.Find<QLabel>("lblColor")->font().bold());
    // The special button reaches down over the path field and stays clickable there.
    auto* special = h.Find<QWidget>("cmdSpecial");
    QCOMPARE(h.window->childAt(special->geometry().center()), special);
    OpenAndSelect(h);
    h.services.messageAnswers.push_back(kAnswerNo); // the exit question, the first box
    for (const char* image : {"preview01.gif", "preview02.gif"})
        std::filesystem::copy_file(std::filesystem::path(ZANDREL_DATA_DIR) / image,
                                   h.folder.path() / image);
    const std::pair<const char*, std::string> buttons[] = {
        {"Command4", "box Deseja realmente sair?"},
        {"Command1", "open"},
        {"Command2", "box Paleta salva."},
        {"Command3", "box Zandrel"},
        {"cmdImp", "open"},
        {"cmdExp", "save"},
        {"cmdExibir", "bytes"},
        {"cmdAmostra", "preview"}};
    for (const auto& [button, reaction] : buttons)
        QCOMPARE(QString::fromStdString(Reaction(h, button)), QString::fromStdString(reaction));
    // The reload reads the definition file again, now broken.
    h.folder.WriteText("MEMORYDUMP.ZNDL", "no comma\r\n");
    QVERIFY(Reaction(h, "cmdRecarrega").starts_with("box "));
    QCOMPARE(Reaction(h, "cmdSpecial"), std::string("open"));
}

// The window showed the path on every event, so what the user typed was lost at once.
void WindowTest::listChoosesByMouseArrowsAndSpaceOnlyAndTypedPathStays() {
    WindowHarness h;
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("Command1"));
    for (const char* name : {"Command3", "Command4", "txtArquivo", "List1", "Opt0", "Opt1"}) {
        PressKey(h.window.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
    }
    PressKey(h.window.get(), Qt::Key_P, Qt::AltModifier); // the access key of "&Paletas:"
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));
    const QString dump = QString::fromStdString(OpenPatternDump(h));
    auto* path = h.Find<QLineEdit>("txtArquivo");
    path->clear();
    QTest::keyClicks(path, "typed");
    path->setFocus();
    PressKey(h.window.get(), Qt::Key_Tab); // the focus alone chooses nothing
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));
    QCOMPARE(h.model().List1.selected, -1);
    PressKey(h.window.get(), Qt::Key_Space);
    QCOMPARE(h.model().List1.selected, 0);
    QCOMPARE(SwatchAt(h, 0)->colour(), PatternColour(0, 0));
    ClickRow(h, 5);
    PressKey(h.window.get(), Qt::Key_Down);
    QCOMPARE(h.model().List1.selected, 6);
    QCOMPARE(SwatchAt(h, 15)->colour(), PatternColour(0xC0, 15));
    QCOMPARE(path->text(), QStringLiteral("typed"));
    OpenPatternDump(h); // the same file again shows its path
    QCOMPARE(path->text(), dump);
    // A name the list cuts off shows whole in a tooltip, and only such a name.
    const std::string longName(150, 'L');
    h.folder.WriteText("MEMORYDUMP.ZNDL", "16,0,B\r\n16,20," + longName + "\r\n");
    Click(h.Find<QWidget>("cmdRecarrega"));
    auto* list = h.Find<QListView>("List1");
    for (const int row : {0, 1}) {
        const int y = list->visualRect(list->model()->index(row, 0)).center().y();
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, y), QPoint());
        QApplication::sendEvent(list->viewport(), &tip);
        QCOMPARE(QToolTip::text().toStdString(), row == 1 ? longName : "");
    }
    // Ctrl+Space on the chosen row, or a click below the last row, cleared its highlight.
    ClickRow(h, 1);
    list->setFocus();
    PressKey(h.window.get(), Qt::Key_Space, Qt::ControlModifier);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, {5, list->viewport()->height() - 5});
    QCOMPARE(list->selectionModel()->selectedRows(), QModelIndexList{list->model()->index(1, 0)});
    QCOMPARE(h.model().List1.selected, 1);
}

// The window raised the list's click only when the selection changed, so a click on the row
// already chosen kept the unsaved edit instead of reading the palette afresh.
void WindowTest::clickOrSpaceOnTheChosenRowReadsThePaletteAfresh() {
    WindowHarness h;
    OpenAndSelect(h);
    for (const bool space : {false, true}) {
        Click(SwatchAt(h, 3));
        h.Find<QWidget>("RedScroll")->setFocus();
        PressKey(h.window.get(), Qt::Key_Up);
        QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x140E));
        if (space) {
            h.Find<QWidget>("List1")->setFocus();
            PressKey(h.window.get(), Qt::Key_Space);
        } else {
            ClickRow(h, 1);
        }
        QCOMPARE(SwatchAt(h, 3)->colour(), PatternColour(0x20, 3));
        QVERIFY(!SwatchAt(h, 3)->isChecked());
    }
    Click(SwatchAt(h, 3));
    auto* blue = h.Find<QSlider>("BlueScroll"); // a slider changes nothing until released
    blue->setSliderDown(true);
    blue->setSliderPosition(20);
    QCOMPARE(h.model().BlueScroll, 5);
    blue->setSliderDown(false);
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x500D));
    blue->setFocus();
    PressKey(h.window.get(), Qt::Key_PageUp); // a page is one step too
    QCOMPARE(h.model().BlueScroll, 21);
    // Cancelar puts the highlight back on the chosen row once the list is done with the click
    // or the key (which selects twice, and is asked once).
    h.services.questions.clear();
    h.services.choices = {Choice::Cancel, Choice::Cancel};
    ClickRow(h, 2);
    QCoreApplication::processEvents();
    PressKey(h.window.get(), Qt::Key_Down);
    QCoreApplication::processEvents();
    auto* list = h.Find<QListView>("List1");
    QCOMPARE(list->selectionModel()->selectedRows(), QModelIndexList{list->model()->index(1, 0)});
    QCOMPARE(h.services.questions.size(), std::size_t{2});
}

void WindowTest::windowSeesKeypadKeysFirstButNotAnotherWindows() {
    WindowHarness h({"kaldrex"});
    EnterSpecialState(h);
    for (const char* focus : {"List1", "BlueScroll", "Opt4", "txtArquivo"}) {
        h.Find<QWidget>(focus)->setFocus();
        PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(h.Find<QLabel>("lblLoc")->text(), QStringLiteral("210")); // once, not twice
        PressKey(h.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(h.state.CurrentLocation, 0x1F0);
    }
    PressKey(h.window.get(), Qt::Key_Plus); // the main keyboard's plus is another key
    QLineEdit other;
    other.show();
    QTest::keyClick(&other, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&other, Qt::Key_Escape);
    QCOMPARE(h.state.CurrentLocation, 0x1F0);
    QVERIFY(h.services.messages.empty() && h.window->isVisible());
    h.services.inputAnswers.push_back("100");
    Click(h.Find<QWidget>("lblLoc"));
    QCOMPARE(h.Find<QLabel>("lblLoc")->text(), QStringLiteral("100"));
}

void WindowTest::escAndTheCloseBoxAskLikeTheExitButton() {
    WindowHarness fresh; // nothing open: Esc closes without asking
    PressKey(fresh.window.get(), Qt::Key_Escape);
    QVERIFY(fresh.services.messages.empty() && !fresh.window->isVisible());
    WindowHarness h;
    OpenPatternDump(h);
    h.Find<QWidget>("List1")->setFocus();
    h.services.messageAnswers = {kAnswerNo, kAnswerNo, kAnswerYes};
    PressKey(h.window.get(), Qt::Key_Escape);
    QVERIFY(h.window->isVisible());
    QVERIFY(!h.window->close() && h.window->isVisible()); // the close box
    QVERIFY(h.window->close());
    QCOMPARE(h.services.messages.size(), std::size_t{3});
    QCOMPARE(h.services.messages[1].style, 292);
}

void WindowTest::editMenuListsItsShortcutsWhichFire() {
    WindowHarness h;
    OpenAndSelect(h);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              SwatchAt(h, 5)->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(SwatchAt(h, 5), &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QStringList items;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text() + " " + action->shortcut().toString() +
                         (action->isEnabled() ? "" : " off") +
                         (action->isCheckable() ? " toggle" : "");
    QCOMPARE(items,
             QStringList({"Desfazer Ctrl+Z off", "Refazer Ctrl+Shift+Z off", "Copiar cor Ctrl+C",
                          "Copiar paleta Ctrl+Shift+C", "Colar Ctrl+V", "Digitar cor… Ctrl+D",
                          "Gradiente Ctrl+G off", "Tela do GBA Ctrl+L toggle",
                          "Importar arquivo de paleta… ", "Exportar como… ", "Localizar na ROM… ",
                          "Criar patch… ", "Gráficos F4"}));
    QCOMPARE(h.model().OptSelected, 5); // the menu acts on the swatch right-clicked
    QTest::keyClick(menu, Qt::Key_Escape);
    QVERIFY(!menu->isVisible() && h.window->isVisible());
    QWidget* window = h.window.get();
    h.services.clipboard = "7FFF";
    for (const auto& [key, colour] : {std::pair{Qt::Key_V, WordColour(0x7FFF)},
                                      {Qt::Key_Z, PatternColour(0x20, 5)},
                                      {Qt::Key_Y, WordColour(0x7FFF)}}) {
        PressKey(window, key, Qt::ControlModifier);
        QCOMPARE(SwatchAt(h, 5)->colour(), colour);
    }
    PressKey(window, Qt::Key_L, Qt::ControlModifier);
    QVERIFY(h.Find<ColourSample>("Picture1")->gbaScreen());
    h.services.inputAnswers.push_back("#FF0000");
    PressKey(window, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(h.model().lblColor.caption, std::string("001F"));
    // The path field keeps its own Ctrl+V.
    auto* path = h.Find<QLineEdit>("txtArquivo");
    path->setFocus();
    path->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("typed"));
    PressKey(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(path->text(), QStringLiteral("typed"));
    QCOMPARE(h.model().lblColor.caption, std::string("001F"));
}

void WindowTest::mouseDropsShiftClickAndDoubleClicks() {
    WindowHarness h;
    OpenAndSelect(h);
    // A press on another swatch that slips onto its neighbour is a click on it, not a drag.
    const QPoint centre = SwatchAt(h, 8)->rect().center();
    QTest::mousePress(SwatchAt(h, 8), Qt::LeftButton, {}, centre);
    QTest::mouseMove(SwatchAt(h, 8), centre + QPoint(26, 0));
    QTest::mouseRelease(SwatchAt(h, 8), Qt::LeftButton, {}, centre + QPoint(26, 0));
    QCOMPARE(h.model().OptSelected, 8);
    QCOMPARE(SwatchAt(h, 9)->colour(), PatternColour(0x20, 9));
    QTest::mouseClick(SwatchAt(h, 0), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(SwatchAt(h, 8)->marked() && SwatchAt(h, 0)->marked() && !SwatchAt(h, 5)->marked());
    Click(SwatchAt(h, 3));
    QTest::mouseDClick(h.Find<QWidget>("Picture1"), Qt::LeftButton);
    PressKey(h.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    PressKey(h.window.get(), Qt::Key_Asterisk); // the main keyboard's * is another key
    QCOMPARE(h.services.colorDialogStarts, std::vector<RgbColor>(2, WordToColor(0x140D)));
    h.services.inputAnswers.push_back("#FF0000");
    QTest::mouseDClick(h.Find<QWidget>("lblColor"), Qt::LeftButton);
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x001F));
    QMimeData swatch3;
    swatch3.setData("application/x-zandrel-swatch", "3");
    QVERIFY(DropOn(h, SwatchAt(h, 0), swatch3)); // swapped, the first swatch too
    QCOMPARE(SwatchAt(h, 0)->colour(), WordColour(0x001F));
    QVERIFY(DropOn(h, SwatchAt(h, 6), swatch3, Qt::ControlModifier)); // copied
    QCOMPARE(SwatchAt(h, 6)->colour(), PatternColour(0x20, 0));
    QCOMPARE(SwatchAt(h, 3)->colour(), PatternColour(0x20, 0));
    QVERIFY(!DropOn(h, SwatchAt(h, 3), swatch3)); // on itself
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(
        h.folder.Write("white.gbapal", std::vector<std::uint8_t>(32, 0xFF))))});
    QVERIFY(DropOn(h, SwatchAt(h, 9), file)); // a palette to import
    QCOMPARE(SwatchAt(h, 0)->colour(), WordColour(0x7FFF));
    // Elsewhere a file is opened; then Importar is not offered and the swatches refuse it.
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(h.folder.File("palettes.dmp")))});
    QVERIFY(DropOn(h, h.Find<QWidget>("List1"), file));
    QCOMPARE(h.model().List1.selected, -1);
    QVERIFY(!DropOn(h, SwatchAt(h, 9), file));
    // A NUL ends the name for the system; bytes that are no UTF-8 came back as U+FFFD.
    h.services.messages.clear();
    for (const char* name : {"c.gba%00.dmp", "lat%E9.dmp"}) {
        file.setUrls({QUrl("file://" + QString::fromStdString(h.folder.File(name)))});
        QVERIFY(DropOn(h, h.Find<QWidget>("List1"), file));
        QCOMPARE(QString::fromStdString(h.services.messages.back().text).section(u'"', 1, 1),
                 QString::fromStdString(h.folder.File(name)));
    }
    QCOMPARE(h.services.messages.size(), std::size_t{2});
    QCOMPARE(h.state.RomPath, h.folder.File("palettes.dmp"));
}

void WindowTest::locationLabelClicksOnlyOnAReleaseInsideIt() {
    ClickableLabel label;
    label.resize(40, 16);
    label.show();
    QSignalSpy clicks(&label, &ClickableLabel::clicked);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(50, 5));
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
}

void WindowTest::captionTooWideForItsBoxShrinksToFit_data() {
    QTest::addColumn<double>("spacing"); // pixels between letters, to make the caption wider
    // Which step each row takes depends on the desktop's fonts; the rule holds for any.
    QTest::newRow("desktop font") << 0.0;
    QTest::newRow("fits exactly") << 0.25;
    QTest::newRow("first estimate too large") << 0.875;
    QTest::newRow("too wide for any size") << 8.0;
}

void WindowTest::captionTooWideForItsBoxShrinksToFit() {
    QFETCH(double, spacing);
    const QFont saved = QApplication::font();
    QFont wide = saved;
    wide.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    QApplication::setFont(wide);
    WindowHarness h;
    QApplication::setFont(saved);
    auto* label = h.Find<QLabel>("Label2");
    const QString caption = QStringLiteral("Paletas:");
    QFont font = label->font();
    const int size = font.pixelSize();
    const bool fits = QFontMetrics(font).horizontalAdvance(caption) <= label->width();
    QVERIFY(size >= 8 && size <= 11 && (fits || size == 8) && (spacing != 8 || size == 8));
    if (size < 11) { // the largest size that fits
        font.setPixelSize(size + 1);
        QVERIFY(QFontMetrics(font).horizontalAdvance(caption) > label->width());
    }
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
