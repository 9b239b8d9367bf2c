// The special state driven through the window's keys and labels, and every way of leaving.
#include <QAbstractButton>
#include <QListView>

#include "WindowHarness.h"
#include "colour/Codec.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

QColor ColourAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, int i) {
    const std::size_t at = offset + 2 * static_cast<std::size_t>(i);
    const auto word = static_cast<ColorWord>(((bytes[at + 1] & 0x7F) << 8) | bytes[at]);
    const Rgb rgb = SplitColor(WordToColor(word));
    return QColor(rgb.red, rgb.green, rgb.blue);
}

void ExpectSwatchesAt(WindowHarness& h, const std::vector<std::uint8_t>& bytes,
                      std::size_t offset) {
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(SwatchAt(h, i)->colour(), ColourAt(bytes, offset, i));
        QVERIFY(SwatchAt(h, i)->isVisible());
    }
}

// Starts with the special-mode word and enters the special state at 1F0 of a 4 KiB file.
std::vector<std::uint8_t> EnterSpecialState(WindowHarness& h) {
    const std::vector<std::uint8_t> bytes = PatternBytes(4096);
    h.services.openAnswers.push_back(h.folder.Write("game.gba", bytes));
    h.services.inputAnswers.push_back("1f0");
    Click(h.Find<QWidget>("cmdSpecial"));
    return bytes;
}

void OpenDump(WindowHarness& h) {
    h.services.openAnswers.push_back(h.folder.Write("palettes.dmp", PatternBytes(1024)));
    Click(h.Find<QWidget>("Command1"));
}

} // namespace

class SpecialAndExitTest : public QObject {
    Q_OBJECT
  private slots:
    void specialButtonReadsSixteenColoursAtTheTypedLocation();
    void keypadPlusAndMinusStepWhateverControlHasTheFocus();
    void swatchClickShowsItsOffsetAndAStepReleasesIt();
    void locationLabelClickAsksForANewLocation();
    void escAsksTheQuitQuestionOnceAFileIsInUse();
    void escClosesAtOnceBeforeAnyFileIsIdentified();
    void closeBoxAsksLikeTheExitButton();
    void exitButtonAsksOnlyOnce();
    void aboutButtonShowsTheVersion();
};

void SpecialAndExitTest::specialButtonReadsSixteenColoursAtTheTypedLocation() {
    WindowHarness h("kaldrex");
    const std::vector<std::uint8_t> bytes = EnterSpecialState(h);

    QCOMPARE(h.services.dialogs.size(), std::size_t{1});
    QCOMPARE(h.services.dialogs[0].title, std::string("Abrir"));
    QCOMPARE(h.services.dialogs[0].filter, std::string("ROMs de GBA (*.gba)|*.gba"));
    QCOMPARE(h.services.inputPrompts, std::vector<std::string>{"Digite a localização HEX"});
    QCOMPARE(LabelText(h, "lblGame"), QStringLiteral("MODO ESPECIAL"));
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("1F0"));
    QVERIFY(h.Find<QWidget>("lblLoc")->isVisible());
    QVERIFY(h.Find<QWidget>("lblLocOpt")->isVisible());
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: "));
    QCOMPARE(h.Find<QListView>("List1")->model()->rowCount(), 0);
    ExpectSwatchesAt(h, bytes, 0x1F0);
    for (const char* off : {"Command2", "cmdRecarrega", "cmdExibir", "cmdAmostra", "cmdImp"})
        QVERIFY2(!h.Find<QWidget>(off)->isEnabled(), off);
    QVERIFY(h.Find<QWidget>("cmdExp")->isEnabled());
}

void SpecialAndExitTest::keypadPlusAndMinusStepWhateverControlHasTheFocus() {
    WindowHarness h("kaldrex");
    const std::vector<std::uint8_t> bytes = EnterSpecialState(h);

    PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("210"));
    ExpectSwatchesAt(h, bytes, 0x210);

    // The window sees the key before the list that has the focus.
    h.Find<QWidget>("List1")->setFocus();
    PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("230"));
    h.Find<QWidget>("BlueScroll")->setFocus();
    PressKey(h.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
    PressKey(h.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("1F0"));
    ExpectSwatchesAt(h, bytes, 0x1F0);

    // The main keyboard's plus and minus are other keys.
    PressKey(h.window.get(), Qt::Key_Plus);
    PressKey(h.window.get(), Qt::Key_Minus);
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("1F0"));
    QVERIFY(h.services.messages.empty());
}

void SpecialAndExitTest::swatchClickShowsItsOffsetAndAStepReleasesIt() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);
    Click(SwatchAt(h, 5));
    QCOMPARE(LabelText(h, "lblLocOpt"), QStringLiteral("1FA"));
    QVERIFY(SwatchAt(h, 5)->isChecked());

    PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    for (int i = 0; i < 16; ++i)
        QVERIFY(!SwatchAt(h, i)->isChecked());
    QCOMPARE(LabelText(h, "lblLocOpt"), QStringLiteral("1FA"));
}

void SpecialAndExitTest::locationLabelClickAsksForANewLocation() {
    WindowHarness h("kaldrex");
    const std::vector<std::uint8_t> bytes = EnterSpecialState(h);
    h.services.inputAnswers.push_back("100");
    Click(h.Find<QWidget>("lblLoc"));
    QCOMPARE(h.services.inputPrompts.back(), std::string("Digite nova localização HEX"));
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("100"));
    ExpectSwatchesAt(h, bytes, 0x100);

    // A cancelled box changes nothing.
    Click(h.Find<QWidget>("lblLoc"));
    QCOMPARE(h.services.inputPrompts.size(), std::size_t{3});
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("100"));
}

void SpecialAndExitTest::escAsksTheQuitQuestionOnceAFileIsInUse() {
    WindowHarness h;
    OpenDump(h);
    h.Find<QWidget>("List1")->setFocus();

    h.services.messageAnswers.push_back(7); // No
    PressKey(h.window.get(), Qt::Key_Escape);
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].text, std::string("Deseja realmente sair?"));
    QCOMPARE(h.services.messages[0].style, 292);
    QCOMPARE(h.services.messages[0].title, std::string("Sair"));
    QVERIFY(h.window->isVisible());
    QVERIFY(!h.model().closed);
    QCOMPARE(h.Find<QListView>("List1")->model()->rowCount(), 32);

    h.services.messageAnswers.push_back(6); // Yes
    PressKey(h.window.get(), Qt::Key_Escape);
    QCOMPARE(h.services.messages.size(), std::size_t{2});
    QVERIFY(h.model().closed);
    QVERIFY(!h.window->isVisible());
}

void SpecialAndExitTest::escClosesAtOnceBeforeAnyFileIsIdentified() {
    WindowHarness h;
    PressKey(h.window.get(), Qt::Key_Escape);
    QVERIFY(h.services.messages.empty());
    QVERIFY(h.model().closed);
    QVERIFY(!h.window->isVisible());
}

void SpecialAndExitTest::closeBoxAsksLikeTheExitButton() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);
    h.services.messageAnswers.push_back(7);
    QVERIFY(!h.window->close());
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].style, 292);

    h.services.messageAnswers.push_back(6);
    QVERIFY(h.window->close());
    QVERIFY(!h.window->isVisible());
    QVERIFY(h.model().closed);
    QCOMPARE(h.services.messages.size(), std::size_t{2});
}

void SpecialAndExitTest::exitButtonAsksOnlyOnce() {
    WindowHarness h;
    OpenDump(h);
    h.services.messageAnswers.push_back(6);
    Click(h.Find<QWidget>("Command4"));
    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.services.messages.size(), std::size_t{1});
}

void SpecialAndExitTest::aboutButtonShowsTheVersion() {
    WindowHarness h;
    Click(h.Find<QWidget>("Command3"));
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].style, 0);
    QCOMPARE(h.services.messages[0].title, std::string("Zandrel"));
    QVERIFY(h.services.messages[0].text.starts_with("Zandrel\r\nVersão 1.00.0011\r\n\r\n"));
    QVERIFY(h.window->isVisible());
}

QTEST_MAIN(SpecialAndExitTest)
#include "tst_special_exit.moc"
