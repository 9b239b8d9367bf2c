// The special state driven through the window's keys and labels, and every way of leaving.
// What each step does to the model is checked with the core's tests.
#include <QAbstractButton>
#include <QListView>

#include "WindowHarness.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

void ExpectSwatchesAt(WindowHarness& h, std::size_t offset) {
    for (int i = 0; i < 16; ++i)
        QCOMPARE(SwatchAt(h, i)->colour(), PatternColour(offset, i));
}

// Starts with the special-mode word and enters the special state at 1F0 of a 4 KiB file.
void EnterSpecialState(WindowHarness& h) {
    h.services.openAnswers.push_back(h.folder.Write("game.gba", PatternBytes(4096)));
    h.services.inputAnswers.push_back("1f0");
    Click(h.Find<QWidget>("cmdSpecial"));
}

} // namespace

class SpecialAndExitTest : public QObject {
    Q_OBJECT
  private slots:
    void specialButtonReadsSixteenColoursAtTheTypedLocation();
    void keypadPlusAndMinusStepWhateverControlHasTheFocus();
    void f3AndShiftF3ReachTheSpecialStateWithTheShiftState();
    void swatchClickShowsItsOffsetAndAStepReleasesIt();
    void locationLabelClickAsksForANewLocation();
    void escAsksTheQuitQuestionOnlyOnceAFileIsInUse();
    void closeBoxAsksLikeTheExitButtonWhichAsksOnlyOnce();
    void aboutButtonShowsTheVersion();
};

void SpecialAndExitTest::specialButtonReadsSixteenColoursAtTheTypedLocation() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);
    QCOMPARE(h.services.inputPrompts, std::vector<std::string>{"Digite a localização HEX"});
    QCOMPARE(LabelText(h, "lblGame"), QStringLiteral("MODO ESPECIAL"));
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("1F0"));
    QVERIFY(h.Find<QWidget>("lblLoc")->isVisible());
    QCOMPARE(h.Find<QListView>("List1")->model()->rowCount(), 0);
    ExpectSwatchesAt(h, 0x1F0);
    QVERIFY(h.Find<QWidget>("cmdExp")->isEnabled());
}

void SpecialAndExitTest::keypadPlusAndMinusStepWhateverControlHasTheFocus() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);

    PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("210"));
    ExpectSwatchesAt(h, 0x210);

    // The window sees the key before the list or slider that has the focus.
    h.Find<QWidget>("List1")->setFocus();
    PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(h.state.CurrentLocation, 0x230);
    h.Find<QWidget>("BlueScroll")->setFocus();
    PressKey(h.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
    PressKey(h.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(h.state.CurrentLocation, 0x1F0);

    // The main keyboard's plus and minus are other keys.
    PressKey(h.window.get(), Qt::Key_Plus);
    PressKey(h.window.get(), Qt::Key_Minus);
    QCOMPARE(h.state.CurrentLocation, 0x1F0);
}

void SpecialAndExitTest::f3AndShiftF3ReachTheSpecialStateWithTheShiftState() {
    WindowHarness h("kaldrex");
    h.services.openAnswers.push_back(
        h.folder.Write("demo.gba", ReadBytes(ZANDREL_DATA_DIR "/../examples/synthetic.gba")));
    h.services.inputAnswers.push_back("0");
    Click(h.Find<QWidget>("cmdSpecial"));
    h.Find<QWidget>("List1")->setFocus();
    PressKey(h.window.get(), Qt::Key_F3);
    const QString first = LabelText(h, "lblLoc");
    PressKey(h.window.get(), Qt::Key_F3);
    QVERIFY(LabelText(h, "lblLoc") != first);
    PressKey(h.window.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(LabelText(h, "lblLoc"), first);
}

void SpecialAndExitTest::swatchClickShowsItsOffsetAndAStepReleasesIt() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);
    Click(SwatchAt(h, 5));
    QCOMPARE(LabelText(h, "lblLocOpt"), QStringLiteral("1FA"));
    QVERIFY(SwatchAt(h, 5)->isChecked());

    PressKey(h.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(!SwatchAt(h, 5)->isChecked());
    QCOMPARE(LabelText(h, "lblLocOpt"), QStringLiteral("1FA"));
}

void SpecialAndExitTest::locationLabelClickAsksForANewLocation() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);
    h.services.inputAnswers.push_back("100");
    Click(h.Find<QWidget>("lblLoc"));
    QCOMPARE(h.services.inputPrompts.back(), std::string("Digite nova localização HEX"));
    QCOMPARE(LabelText(h, "lblLoc"), QStringLiteral("100"));
    ExpectSwatchesAt(h, 0x100);
}

void SpecialAndExitTest::escAsksTheQuitQuestionOnlyOnceAFileIsInUse() {
    WindowHarness fresh;
    PressKey(fresh.window.get(), Qt::Key_Escape);
    QVERIFY(fresh.services.messages.empty());
    QVERIFY(!fresh.window->isVisible());

    WindowHarness h;
    OpenPatternDump(h);
    h.Find<QWidget>("List1")->setFocus();
    h.services.messageAnswers.push_back(kAnswerNo);
    PressKey(h.window.get(), Qt::Key_Escape);
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].style, 292);
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.Find<QListView>("List1")->model()->rowCount(), 32);

    h.services.messageAnswers.push_back(kAnswerYes);
    PressKey(h.window.get(), Qt::Key_Escape);
    QCOMPARE(h.services.messages.size(), std::size_t{2});
    QVERIFY(!h.window->isVisible());
}

void SpecialAndExitTest::closeBoxAsksLikeTheExitButtonWhichAsksOnlyOnce() {
    WindowHarness h("kaldrex");
    EnterSpecialState(h);
    h.services.messageAnswers.push_back(kAnswerNo);
    QVERIFY(!h.window->close());
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].style, 292);
    h.services.messageAnswers.push_back(kAnswerYes);
    QVERIFY(h.window->close());
    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.services.messages.size(), std::size_t{2});

    WindowHarness exit;
    OpenPatternDump(exit);
    exit.services.messageAnswers.push_back(kAnswerYes);
    Click(exit.Find<QWidget>("Command4"));
    QVERIFY(!exit.window->isVisible());
    QCOMPARE(exit.services.messages.size(), std::size_t{1});
}

void SpecialAndExitTest::aboutButtonShowsTheVersion() {
    WindowHarness h;
    Click(h.Find<QWidget>("Command3"));
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QVERIFY(h.services.messages[0].text.starts_with("Zandrel\r\nVersão 1.00.0011\r\n\r\n"));
    QVERIFY(h.window->isVisible());
}

QTEST_MAIN(SpecialAndExitTest)
#include "tst_special_exit.moc"
