// The colour work's wiring: shortcuts, the swatches' menu, the GBA's-screen drawing, drops,
// Shift+click and the tooltip. What the commands do to the model is in the core's tests.
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
    void keysReachTheMenuCommandsAndLeaveTheSpecifiedOnes();
    void mouseDropsShiftClickAndDoubleClick();
    void previewOnTheGbaScreenDrawsTheLcdColours();
};

namespace {

// The palette at 20 chosen and its swatch 3 (word 140D) selected.
void OpenAndSelect(WindowHarness& h) {
    OpenPatternDump(h);
    ClickRow(h, 1);
    Click(SwatchAt(h, 3));
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

void ColourActionsTest::keysReachTheMenuCommandsAndLeaveTheSpecifiedOnes() {
    WindowHarness h;
    OpenAndSelect(h);
    QWidget* window = h.window.get();
    h.services.clipboard = "7FFF";
    for (const auto& [key, colour] :
         {std::pair{Qt::Key_V, 0x7FFF}, {Qt::Key_Z, 0x140D}, {Qt::Key_Y, 0x7FFF}}) {
        PressKey(window, key, Qt::ControlModifier);
        QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(static_cast<ColorWord>(colour)));
    }
    PressKey(window, Qt::Key_Asterisk, Qt::KeypadModifier); // still the window's key
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{1});

    // The menu lists every command with its shortcut; a right click selects nothing.
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              SwatchAt(h, 5)->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(SwatchAt(h, 5), &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    QStringList items;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text() + " " + action->shortcut().toString() +
                         (action->isEnabled() ? "" : " off");
    QCOMPARE(items,
             QStringList({"Desfazer Ctrl+Z", "Refazer Ctrl+Shift+Z off", "Copiar cor Ctrl+C",
                          "Copiar paleta Ctrl+Shift+C", "Colar Ctrl+V", "Digitar cor… Ctrl+D",
                          "Gradiente Ctrl+G off", "Tela do GBA Ctrl+L"}));
    QCOMPARE(h.model().OptSelected, 3);
    QTest::keyClick(menu, Qt::Key_Escape);
    QVERIFY(!menu->isVisible() && h.window->isVisible());
    QVERIFY(h.services.messages.empty()); // Esc closed the menu, not the window

    PressKey(window, Qt::Key_L, Qt::ControlModifier); // drawn as the GBA's screen shows it
    auto* sample = h.Find<ColourSample>("Picture1");
    QVERIFY(sample->gbaScreen() && sample->colour() == ToQColor(LcdColour(0x7FFF)));
    QCOMPARE(SwatchAt(h, 3)->colour(), ToQColor(LcdColour(0x7FFF)));
    PressKey(window, Qt::Key_L, Qt::ControlModifier);

    // The path field keeps its own Ctrl+V.
    auto* path = h.Find<QLineEdit>("txtArquivo");
    path->setFocus();
    path->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("typed"));
    h.services.clipboard = "001F";
    PressKey(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(path->text(), QStringLiteral("typed"));
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x7FFF)); // Colar would have made it 001F
}

void ColourActionsTest::mouseDropsShiftClickAndDoubleClick() {
    WindowHarness h;
    OpenAndSelect(h);
    QCOMPARE(SwatchAt(h, 3)->toolTip().toStdString(), ColourNotations(WordToColor(0x140D)));
    QTest::mouseClick(SwatchAt(h, 7), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(SwatchAt(h, 3)->marked() && SwatchAt(h, 7)->marked() && !SwatchAt(h, 5)->marked());
    h.services.inputAnswers.push_back("#FF0000");
    QTest::mouseDClick(h.Find<QWidget>("lblColor"), Qt::LeftButton);
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x001F));

    QMimeData swatch3;
    swatch3.setData("application/x-zandrel-swatch", "3");
    QVERIFY(DropOn(h, SwatchAt(h, 5), swatch3));
    QCOMPARE(SwatchAt(h, 5)->colour(), WordColour(0x001F));
    QVERIFY(DropOn(h, SwatchAt(h, 6), swatch3, Qt::ControlModifier));
    QCOMPARE(SwatchAt(h, 6)->colour(), SwatchAt(h, 3)->colour()); // copied, not swapped

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(
        h.folder.Write("white.gbapal", std::vector<std::uint8_t>(32, 0xFF))))});
    QVERIFY(DropOn(h, SwatchAt(h, 9), file));
    QCOMPARE(SwatchAt(h, 0)->colour(), WordColour(0x7FFF));
    // Elsewhere a file is opened; then Importar is not offered and the swatches refuse it.
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(h.folder.File("palettes.dmp")))});
    QVERIFY(DropOn(h, h.Find<QWidget>("List1"), file));
    QCOMPARE(h.model().List1.selected, -1);
    QVERIFY(!DropOn(h, SwatchAt(h, 9), file));
}

void ColourActionsTest::previewOnTheGbaScreenDrawsTheLcdColours() {
    const TempDir folder;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QString image = QString::fromStdString(folder.File("white.png"));
    QVERIFY(picture.save(image, "PNG"));
    const PreviewWindow preview(image, true, nullptr);
    const QImage shown = preview.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().toImage();
    QCOMPARE(shown.pixelColor(0, 0), ToQColor(LcdColour(0x7FFF)));
}

QTEST_MAIN(ColourActionsTest)
#include "tst_colour_actions.moc"
