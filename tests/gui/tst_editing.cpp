// The road of an edit through the real window: open the dump, choose a palette, click a
// swatch, move a slider, save; and the colour dialog from the sample and the keypad.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSlider>

#include "WindowHarness.h"
#include "colour/Codec.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

constexpr int kPaletteRow = 1; // "Fundo 01" at 0x20
constexpr std::size_t kPaletteOffset = 0x20;

// The colour word i of the palette at `offset` in the pattern dump, bit 15 dropped.
ColorWord PatternWord(std::size_t offset, int i) {
    const std::vector<std::uint8_t> bytes = PatternBytes(1024);
    const std::size_t at = offset + 2 * static_cast<std::size_t>(i);
    return static_cast<ColorWord>(((bytes[at + 1] & 0x7F) << 8) | bytes[at]);
}

QColor QColourOf(ColorWord word) {
    const Rgb rgb = SplitColor(WordToColor(word));
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Opens a 1 KiB pattern dump through the ABRIR ROM button; returns its path.
std::string OpenDump(WindowHarness& h) {
    const std::string dump = h.folder.Write("palettes.dmp", PatternBytes(1024));
    h.services.openAnswers.push_back(dump);
    Click(h.Find<QWidget>("Command1"));
    return dump;
}

void ChooseRow(WindowHarness& h, int row) {
    auto* list = h.Find<QListView>("List1");
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT
  private slots:
    void openingTheDumpListsIts32Palettes();
    void choosingARowWithTheMouseShowsThePalette();
    void choosingARowWithTheKeyboardShowsThePalette();
    void tabbingIntoTheListChoosesNoPalette();
    void swatchSliderAndSaveWriteExactlyTheEditedWord();
    void draggingASliderChangesNothingUntilItIsReleased();
    void sampleDoubleClickAndKeypadMultiplyOpenTheColourDialog();
};

void EditingTest::openingTheDumpListsIts32Palettes() {
    WindowHarness h;
    const std::string dump = OpenDump(h);

    QCOMPARE(h.services.dialogs.size(), std::size_t{1});
    QCOMPARE(h.services.dialogs[0].title, std::string("Abrir"));
    auto* list = h.Find<QListView>("List1");
    QCOMPARE(list->model()->rowCount(), 32);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("Fundo 00"));
    QCOMPARE(list->model()->index(31, 0).data().toString(), QStringLiteral("Objetos (sprites) 15"));
    QVERIFY(!list->currentIndex().isValid());
    QCOMPARE(LabelText(h, "lblGame"), QStringLiteral("MEMORY DUMP"));
    QCOMPARE(h.Find<QLineEdit>("txtArquivo")->text(), QString::fromStdString(dump));
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: "));
    QVERIFY(h.Find<QWidget>("cmdRecarrega")->isEnabled());
    for (const char* off : {"Command2", "cmdImp", "cmdExp", "cmdAmostra", "cmdExibir"})
        QVERIFY2(!h.Find<QWidget>(off)->isEnabled(), off);
    QVERIFY(h.services.messages.empty());
}

void EditingTest::choosingARowWithTheMouseShowsThePalette() {
    WindowHarness h;
    OpenDump(h);
    ChooseRow(h, kPaletteRow);

    QCOMPARE(h.model().List1.selected, kPaletteRow);
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: 20"));
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(SwatchAt(h, i)->colour(), QColourOf(PatternWord(kPaletteOffset, i)));
        QVERIFY(SwatchAt(h, i)->isVisible());
        QVERIFY(!SwatchAt(h, i)->isChecked());
    }
    for (const char* on : {"Command2", "cmdImp", "cmdExp", "cmdAmostra", "cmdExibir"})
        QVERIFY2(h.Find<QWidget>(on)->isEnabled(), on);
}

void EditingTest::choosingARowWithTheKeyboardShowsThePalette() {
    WindowHarness h;
    OpenDump(h);
    ChooseRow(h, 0);
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));
    PressKey(h.window.get(), Qt::Key_Down);
    PressKey(h.window.get(), Qt::Key_Down);

    QCOMPARE(h.model().List1.selected, 2);
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: 40"));
    QCOMPARE(SwatchAt(h, 0)->colour(), QColourOf(PatternWord(0x40, 0)));
    QCOMPARE(SwatchAt(h, 15)->colour(), QColourOf(PatternWord(0x40, 15)));
}

void EditingTest::tabbingIntoTheListChoosesNoPalette() {
    WindowHarness h;
    OpenDump(h);
    h.Find<QWidget>("txtArquivo")->setFocus();
    PressKey(h.window.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));

    QCOMPARE(h.model().List1.selected, -1);
    QVERIFY(!h.Find<QWidget>("Command2")->isEnabled());
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: "));
    QCOMPARE(SwatchAt(h, 0)->colour(), QColor(0xF0, 0xF0, 0xF0));

    // Space then chooses the row under the list's cursor.
    PressKey(h.window.get(), Qt::Key_Space);
    QCOMPARE(h.model().List1.selected, 0);
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: 0"));
}

void EditingTest::swatchSliderAndSaveWriteExactlyTheEditedWord() {
    WindowHarness h;
    const std::string dump = OpenDump(h);
    ChooseRow(h, kPaletteRow);

    // Word 3 of the palette is 0x140D: blue 5, green 0, red 13.
    const ColorWord word = PatternWord(kPaletteOffset, 3);
    QCOMPARE(word, ColorWord{0x140D});
    Click(SwatchAt(h, 3));
    for (int i = 0; i < 16; ++i)
        QCOMPARE(SwatchAt(h, i)->isChecked(), i == 3);
    QCOMPARE(h.Find<QSlider>("BlueScroll")->value(), 5);
    QCOMPARE(h.Find<QSlider>("GreenScroll")->value(), 0);
    QCOMPARE(h.Find<QSlider>("RedScroll")->value(), 13);
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("140D"));
    QCOMPARE(LabelText(h, "lblRed"), QStringLiteral("13"));
    QCOMPARE(h.Find<ColourSample>("Picture1")->colour(), QColourOf(word));

    // One step up on the red slider, by keyboard as a user would.
    auto* red = h.Find<QSlider>("RedScroll");
    red->setFocus();
    PressKey(h.window.get(), Qt::Key_Up);
    QCOMPARE(red->value(), 14);
    QCOMPARE(LabelText(h, "lblRed"), QStringLiteral("14"));
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("140E"));
    QCOMPARE(SwatchAt(h, 3)->colour(), QColourOf(0x140E));
    QCOMPARE(h.Find<ColourSample>("Picture1")->colour(), QColourOf(0x140E));

    const std::vector<std::uint8_t> before = ReadBytes(dump);
    Click(h.Find<QWidget>("Command2"));

    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].text, std::string("Paleta salva."));
    QCOMPARE(h.services.messages[0].style, 64);
    QCOMPARE(h.services.messages[0].title, std::string("Zandrel"));
    std::vector<std::uint8_t> expected = before;
    // The pattern's other words keep their bytes, bit 15 of any high byte included.
    for (int i = 0; i < 16; ++i) {
        const ColorWord w = i == 3 ? ColorWord{0x140E} : PatternWord(kPaletteOffset, i);
        expected[kPaletteOffset + 2 * i] = static_cast<std::uint8_t>(w & 0xFF);
        expected[kPaletteOffset + 2 * i + 1] = static_cast<std::uint8_t>(w >> 8);
    }
    const std::vector<std::uint8_t> after = ReadBytes(dump);
    QCOMPARE(after.size(), std::size_t{1024});
    QCOMPARE(after[kPaletteOffset + 6], std::uint8_t{0x0E});
    QCOMPARE(after[kPaletteOffset + 7], std::uint8_t{0x14});
    QVERIFY(after == expected);
    for (std::size_t k = 0; k < after.size(); ++k)
        if (k < kPaletteOffset || k >= kPaletteOffset + 32)
            QCOMPARE(after[k], before[k]);
}

void EditingTest::draggingASliderChangesNothingUntilItIsReleased() {
    WindowHarness h;
    OpenDump(h);
    ChooseRow(h, kPaletteRow);
    Click(SwatchAt(h, 3));

    auto* blue = h.Find<QSlider>("BlueScroll");
    blue->setSliderDown(true);
    blue->setSliderPosition(20);
    QCOMPARE(h.model().BlueScroll, 5);
    QCOMPARE(LabelText(h, "lblBlue"), QStringLiteral("5"));
    QCOMPARE(SwatchAt(h, 3)->colour(), QColourOf(0x140D));

    blue->setSliderDown(false);
    QCOMPARE(h.model().BlueScroll, 20);
    QCOMPARE(LabelText(h, "lblBlue"), QStringLiteral("20"));
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("500D"));
    QCOMPARE(SwatchAt(h, 3)->colour(), QColourOf(0x500D));
}

void EditingTest::sampleDoubleClickAndKeypadMultiplyOpenTheColourDialog() {
    WindowHarness h;
    h.services.systemColors[0] = 0x123456;
    h.services.systemColors[15] = 0xF0F0F0;
    // Keypad multiply does nothing before a file is open.
    PressKey(h.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    QVERIFY(h.services.colorDialogStarts.empty());

    OpenDump(h);
    ChooseRow(h, kPaletteRow);
    Click(SwatchAt(h, 3));

    h.services.colorAnswers.push_back(RgbColor{0xFEFEFE});
    QTest::mouseDClick(h.Find<QWidget>("Picture1"), Qt::LeftButton);
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{1});
    QCOMPARE(h.services.colorDialogStarts[0], WordToColor(0x140D));
    QCOMPARE(h.services.colorDialogCustomColors[0], h.services.systemColors);
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("7BDE"));
    QCOMPARE(SwatchAt(h, 3)->colour(), QColor(0xF7, 0xF7, 0xF7));
    QCOMPARE(h.Find<ColourSample>("Picture1")->colour(), QColor(0xF7, 0xF7, 0xF7));
    for (const char* name : {"BlueScroll", "GreenScroll", "RedScroll"})
        QCOMPARE(h.Find<QSlider>(name)->value(), 30);

    // Keypad multiply opens it again, a cancel changes nothing; the main keyboard's * does not.
    PressKey(h.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{2});
    QCOMPARE(h.services.colorDialogStarts[1], RgbColor{0xF7F7F7});
    QCOMPARE(LabelText(h, "lblColor"), QStringLiteral("7BDE"));
    PressKey(h.window.get(), Qt::Key_Asterisk);
    QCOMPARE(h.services.colorDialogStarts.size(), std::size_t{2});
}

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
