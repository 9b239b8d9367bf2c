// The wiring of the colour work: shortcuts, the swatches' context menu, drops, Shift+click,
// the tooltip and what the GBA's-screen view draws. What each command does to the model is
// checked with the core's tests.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "PreviewWindow.h"
#include "QtColour.h"
#include "WindowHarness.h"
#include "colour/ColourText.h"
#include "colour/LcdColour.h"

using namespace zandrel;
using namespace zandrel::testing;

class ColourActionsTest : public QObject {
    Q_OBJECT
  private slots:
    void shortcutsRunTheCommandsAndATextFieldKeepsItsOwn();
    void contextMenuShowsTheCommandsWithShortcutsAndEscClosesOnlyIt();
    void dropsSwapSwatchesImportOnThemAndOpenElsewhere();
    void shiftClickMarksTooltipAndDoubleClickOnTheWord();
    void gbaScreenDrawsSwatchesSampleAndPreviewAsTheLcd();
};

namespace {

// The palette at 20 chosen and its swatch 3 (word 140D) selected.
void OpenAndSelect(WindowHarness& h) {
    OpenPatternDump(h);
    ClickRow(h, 1);
    Click(SwatchAt(h, 3));
}

// Drags `data` into the window and drops it at the centre of `widget`; true if taken there.
bool DropOn(WindowHarness& h, QWidget* widget, QMimeData& data, Qt::KeyboardModifiers keys = {}) {
    const QPoint at = widget->geometry().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(h.window.get(), &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(h.window.get(), &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(h.window.get(), &leave);
        return false;
    }
    QDropEvent drop(at, actions, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(h.window.get(), &drop);
    QCoreApplication::processEvents(); // the command runs once the drop is over
    return true;
}

} // namespace

void ColourActionsTest::shortcutsRunTheCommandsAndATextFieldKeepsItsOwn() {
    WindowHarness h;
    OpenAndSelect(h);
    QWidget* window = h.window.get();
    PressKey(window, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(h.services.clipboard, SwatchColourText(WordToColor(0x140D)));
    PressKey(window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(h.services.clipboard.size(), std::size_t{64});

    h.services.clipboard = "7FFF";
    PressKey(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x7FFF));
    PressKey(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x140D));
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("140D"));
    for (const auto keys : {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z),
                            QKeyCombination(Qt::ControlModifier, Qt::Key_Y)}) {
        PressKey(window, keys.key(), keys.keyboardModifiers());
        QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x7FFF));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
    }
    // The specified keypad key still reaches the window's key handler.
    PressKey(window, Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{1});

    auto* path = h.Find<QLineEdit>("txtArquivo");
    path->setFocus();
    path->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("typed"));
    PressKey(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(path->text(), QStringLiteral("typed"));
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x140D));
}

void ColourActionsTest::contextMenuShowsTheCommandsWithShortcutsAndEscClosesOnlyIt() {
    WindowHarness h;
    OpenAndSelect(h);
    QWidget* swatch = SwatchAt(h, 5);
    QContextMenuEvent request(QContextMenuEvent::Mouse, swatch->rect().center(),
                              swatch->mapToGlobal(swatch->rect().center()));
    QApplication::sendEvent(swatch, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    QStringList items;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text() + " " + action->shortcut().toString() + " " +
                         (action->isEnabled() ? "on" : "off");
    QCOMPARE(items, QStringList({"Desfazer Ctrl+Z off", "Refazer Ctrl+Shift+Z off",
                                 "Copiar cor Ctrl+C on", "Copiar paleta Ctrl+Shift+C on",
                                 "Colar Ctrl+V on", "Digitar cor… Ctrl+D on",
                                 "Gradiente Ctrl+G off", "Tela do GBA Ctrl+L on"}));
    QCOMPARE(h.model().OptSelected, 3); // the right click selected nothing

    QTest::keyClick(menu, Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    QVERIFY(h.window->isVisible());
    QVERIFY(h.services.messages.empty()); // Esc did not reach SA&IR
}

void ColourActionsTest::dropsSwapSwatchesImportOnThemAndOpenElsewhere() {
    WindowHarness h;
    OpenAndSelect(h);
    QMimeData swatch3;
    swatch3.setData("application/x-zandrel-swatch", "3");
    QVERIFY(!DropOn(h, SwatchAt(h, 3), swatch3)); // onto itself
    QVERIFY(DropOn(h, SwatchAt(h, 5), swatch3));
    QCOMPARE(SwatchAt(h, 5)->colour(), WordColour(0x140D));
    QCOMPARE(SwatchAt(h, 3)->colour(), PatternColour(0x20, 5));
    QVERIFY(DropOn(h, SwatchAt(h, 6), swatch3, Qt::ControlModifier));
    QCOMPARE(SwatchAt(h, 6)->colour(), PatternColour(0x20, 5));
    QCOMPARE(SwatchAt(h, 3)->colour(), PatternColour(0x20, 5));

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(
        h.folder.Write("white.gbapal", std::vector<std::uint8_t>(32, 0xFF))))});
    QVERIFY(DropOn(h, SwatchAt(h, 9), file));
    QCOMPARE(SwatchAt(h, 0)->colour(), WordColour(0x7FFF));
    QCOMPARE(h.model().OptSelected, -1);

    // Elsewhere a file is opened: the list is read afresh and Importar is no longer offered.
    QVERIFY(DropOn(h, h.Find<QWidget>("List1"), file));
    QCOMPARE(h.model().strFileHandler, h.folder.File("white.gbapal"));
    QCOMPARE(h.services.MessageTexts(),
             std::vector<std::string>{
                 "O arquivo escolhido não foi identificado como um dos jogos suportados."});
    QMimeData dump;
    dump.setUrls({QUrl::fromLocalFile(QString::fromStdString(h.folder.File("palettes.dmp")))});
    QVERIFY(DropOn(h, h.Find<QWidget>("List1"), dump));
    QVERIFY(!h.Find<QWidget>("cmdImp")->isEnabled());
    QVERIFY(!DropOn(h, SwatchAt(h, 9), file));
}

void ColourActionsTest::shiftClickMarksTooltipAndDoubleClickOnTheWord() {
    WindowHarness h;
    OpenAndSelect(h);
    QCOMPARE(SwatchAt(h, 3)->toolTip().toStdString(), ColourNotations(WordToColor(0x140D)));
    QTest::mouseClick(SwatchAt(h, 7), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(h.model().OptSelected, 3);
    QVERIFY(SwatchAt(h, 3)->marked() && SwatchAt(h, 7)->marked() && !SwatchAt(h, 5)->marked());

    h.services.inputAnswers.push_back("#FF0000");
    QTest::mouseDClick(h.Find<QWidget>("lblColor"), Qt::LeftButton);
    QCOMPARE(h.services.inputPrompts.back(),
             std::string("Digite a cor: uma palavra GBA (7FFF) ou #RRGGBB"));
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x001F));
}

void ColourActionsTest::gbaScreenDrawsSwatchesSampleAndPreviewAsTheLcd() {
    WindowHarness h;
    OpenAndSelect(h);
    auto* sample = h.Find<ColourSample>("Picture1");
    PressKey(h.window.get(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(h.model().gbaScreen && sample->gbaScreen());
    QCOMPARE(SwatchAt(h, 3)->colour(), ToQColor(LcdColour(0x140D)));
    QCOMPARE(sample->colour(), ToQColor(LcdColour(0x140D)));
    QCOMPARE(h.model().Opt[3].backColor, WordToColor(0x140D)); // drawn only

    PressKey(h.window.get(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(!sample->gbaScreen());
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x140D));

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(WordColour(0x7FFF));
    const QString image = QString::fromStdString(h.folder.File("white.png"));
    QVERIFY(picture.save(image, "PNG"));
    PreviewWindow preview(image, true, nullptr);
    const QImage shown = preview.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().toImage();
    QCOMPARE(shown.pixelColor(0, 0), ToQColor(LcdColour(0x7FFF)));
}

QTEST_MAIN(ColourActionsTest)
#include "tst_colour_actions.moc"
