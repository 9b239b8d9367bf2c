// The road of an edit through the real window: open the dump, choose a palette with the
// mouse or the keyboard, click a swatch, move a slider, save; and the colour dialog from the
// sample and the keypad. What each step does to the model is checked with the core's tests.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSlider>

#include "WindowHarness.h"

using namespace zandrel;
using namespace zandrel::testing;

class EditingTest : public QObject {
    Q_OBJECT
  private slots:
    void openingTheDumpListsIts32Palettes();
    void mouseAndArrowKeysChooseAPalette();
    void tabbingIntoTheListChoosesNoPaletteUntilSpace();
    void clickOrSpaceOnTheChosenRowReadsThePaletteAfresh();
    void swatchSliderKeyAndSaveWriteExactlyTheEditedWord();
    void draggingASliderChangesNothingUntilItIsReleased();
    void sampleDoubleClickAndKeypadMultiplyOpenTheColourDialog();
    void pathTypedOverIsReplacedByTheSamePathOpenedAgain();
};

void EditingTest::openingTheDumpListsIts32Palettes() {
    WindowHarness h;
    OpenPatternDump(h);

    auto* list = h.Find<QListView>("List1");
    QCOMPARE(list->model()->rowCount(), 32);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("Fundo 00"));
    QCOMPARE(list->model()->index(31, 0).data().toString(), QStringLiteral("Objetos (sprites) 15"));
    QVERIFY(!list->currentIndex().isValid());
    QCOMPARE(LabelText(h, "lblGame"), QStringLiteral("MEMORY DUMP"));
    QVERIFY(h.Find<QWidget>("cmdRecarrega")->isEnabled());
    QVERIFY(!h.Find<QWidget>("Command2")->isEnabled());
}

void EditingTest::mouseAndArrowKeysChooseAPalette() {
    WindowHarness h;
    OpenPatternDump(h);
    ClickRow(h, 1);
    QCOMPARE(h.model().List1.selected, 1);
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: 20"));
    for (int i = 0; i < 16; ++i)
        QCOMPARE(SwatchAt(h, i)->colour(), PatternColour(0x20, i));
    QVERIFY(h.Find<QWidget>("Command2")->isEnabled());

    PressKey(h.window.get(), Qt::Key_Down);
    PressKey(h.window.get(), Qt::Key_Down);
    QCOMPARE(h.model().List1.selected, 3);
    QCOMPARE(SwatchAt(h, 15)->colour(), PatternColour(0x60, 15));
}

void EditingTest::tabbingIntoTheListChoosesNoPaletteUntilSpace() {
    WindowHarness h;
    OpenPatternDump(h);
    h.Find<QWidget>("txtArquivo")->setFocus();
    PressKey(h.window.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));
    QCOMPARE(h.model().List1.selected, -1);
    QCOMPARE(SwatchAt(h, 0)->colour(), QColor(0xF0, 0xF0, 0xF0));

    // Space chooses the row under the list's cursor.
    PressKey(h.window.get(), Qt::Key_Space);
    QCOMPARE(h.model().List1.selected, 0);
    QCOMPARE(SwatchAt(h, 0)->colour(), PatternColour(0, 0));
}

// The window raised the list's click only when the selection changed, so a click on the row
// already chosen kept the unsaved edit instead of reading the palette afresh.
void EditingTest::clickOrSpaceOnTheChosenRowReadsThePaletteAfresh() {
    WindowHarness h;
    OpenPatternDump(h);
    ClickRow(h, 1);
    auto* list = h.Find<QWidget>("List1");
    for (const bool space : {false, true}) {
        Click(SwatchAt(h, 3));
        h.Find<QWidget>("RedScroll")->setFocus();
        PressKey(h.window.get(), Qt::Key_Up);
        QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x140E)); // word 3 at 20 was 140D

        if (space) {
            list->setFocus();
            PressKey(h.window.get(), Qt::Key_Space);
        } else {
            ClickRow(h, 1);
        }

        QCOMPARE(h.model().List1.selected, 1);
        QCOMPARE(h.model().OptSelected, -1);
        QVERIFY(!SwatchAt(h, 3)->isChecked());
        QCOMPARE(SwatchAt(h, 3)->colour(), PatternColour(0x20, 3));
    }
}

void EditingTest::swatchSliderKeyAndSaveWriteExactlyTheEditedWord() {
    WindowHarness h;
    const std::string dump = OpenPatternDump(h);
    ClickRow(h, 1);

    // Word 3 of the palette at 20 is 140D: blue 5, green 0, red 13.
    Click(SwatchAt(h, 3));
    QVERIFY(SwatchAt(h, 3)->isChecked());
    QCOMPARE(h.model().OptSelected, 3);
    QCOMPARE(h.Find<QSlider>("RedScroll")->value(), 13);

    // One step up on the red slider, by keyboard as a user would.
    auto* red = h.Find<QSlider>("RedScroll");
    red->setFocus();
    PressKey(h.window.get(), Qt::Key_Up);
    QCOMPARE(h.model().RedScroll, 14);
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x140E));

    std::vector<std::uint8_t> expected = ReadBytes(dump);
    Click(h.Find<QWidget>("Command2"));

    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].text, std::string("Paleta salva."));
    for (std::size_t k = 0x21; k < 0x40; k += 2)
        expected[k] &= 0x7F; // bit 15 is written as 0
    expected[0x26] = 0x0E;
    expected[0x27] = 0x14;
    QVERIFY(ReadBytes(dump) == expected);
}

void EditingTest::draggingASliderChangesNothingUntilItIsReleased() {
    WindowHarness h;
    OpenPatternDump(h);
    ClickRow(h, 1);
    Click(SwatchAt(h, 3));

    auto* blue = h.Find<QSlider>("BlueScroll");
    blue->setSliderDown(true);
    blue->setSliderPosition(20);
    QCOMPARE(h.model().BlueScroll, 5);
    QCOMPARE(LabelText(h, "lblBlue"), QStringLiteral("5"));

    blue->setSliderDown(false);
    QCOMPARE(h.model().BlueScroll, 20);
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("500D"));
    QCOMPARE(SwatchAt(h, 3)->colour(), WordColour(0x500D));
}

void EditingTest::sampleDoubleClickAndKeypadMultiplyOpenTheColourDialog() {
    WindowHarness h;
    // Keypad multiply does nothing before a file is open.
    PressKey(h.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    QVERIFY(h.services.colorDialogStarts.empty());

    OpenPatternDump(h);
    ClickRow(h, 1);
    Click(SwatchAt(h, 3));

    h.services.colorAnswers.push_back(RgbColor{0xFEFEFE});
    QTest::mouseDClick(h.Find<QWidget>("Picture1"), Qt::LeftButton);
    QCOMPARE(h.services.colorDialogStarts, std::vector<RgbColor>{WordToColor(0x140D)});
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("7BDE"));

    // Keypad multiply opens it again; the main keyboard's * does not.
    PressKey(h.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{2});
    QCOMPARE(h.services.colorDialogStarts[1], RgbColor{0xF7F7F7});
    PressKey(h.window.get(), Qt::Key_Asterisk);
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{2});
}

// The window showed the path only when it differed from the one shown before, so opening the
// same file again, or entering the special state on it again, left the user's typing there.
void EditingTest::pathTypedOverIsReplacedByTheSamePathOpenedAgain() {
    WindowHarness h("kaldrex");
    auto* path = h.Find<QLineEdit>("txtArquivo");
    const QString dump = QString::fromStdString(OpenPatternDump(h));
    QTest::keyClicks(path, "typed");
    QVERIFY(path->text() != dump);
    OpenPatternDump(h);
    QCOMPARE(path->text(), dump);

    // Entering the special state twice on one file: the second entry sets the same path.
    const std::string rom = h.folder.Write("game.gba", PatternBytes(64));
    for (int entry = 0; entry < 2; ++entry) {
        QTest::keyClicks(path, "typed");
        h.services.openAnswers.push_back(rom);
        h.services.inputAnswers.push_back("0");
        Click(h.Find<QWidget>("cmdSpecial"));
        QCOMPARE(path->text(), QString::fromStdString(rom));
    }
}

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
