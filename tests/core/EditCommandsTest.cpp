// Edit commands: undo steps, copy and paste, typed colours, ramps and drops.
#include "OpenFormFixture.h"
#include "colour/ColourText.h"
#include "util/Messages.h"

namespace zandrel::testing {
namespace {

// Everything undo puts back, as the window shows it.
auto EditorState(const FormModel& m) {
    return std::make_tuple(Swatches(m), m.OptSelected, m.BlueScroll, m.GreenScroll, m.RedScroll,
                           m.Picture1, m.lblBlue.caption, m.lblGreen.caption, m.lblRed.caption,
                           m.lblColor.caption);
}

// Sixteen colours at 0 (words 0A03, 1811, 261F, 342D...) chosen, swatch 2 selected; 12 at 40.
class EditCommandsTest : public OpenFormTest {
  protected:
    void SetUp() override {
        OpenFormTest::SetUp();
        OpenDump(PatternBytes(0x400), "16,0,Cheia\r\n12,40,Curta\r\n");
        ChooseAndSelect(0, 2);
    }
    void ChooseAndSelect(int row, int swatch) {
        Choose(row);
        form.Opt_Click(swatch);
    }
    ColorWord Word(std::size_t i) { return ColorToWord(model().Opt[i].backColor); }
};

TEST_F(EditCommandsTest, EveryChangeOfTheSwatchesIsOneStepThatUndoAndRedoPutBackWhole) {
    const std::string palette = dir.Write("p.gbapal", std::vector<std::uint8_t>(32, 0x21));
    struct Case {
        const char* name;
        std::function<void()> edit;
        std::size_t swatch; // holds `word` after the edit
        ColorWord word;
    };
    const Case cases[] = {
        {"slider", [&] { form.SetSliderValue(SliderId::Red, 0); }, 2, 0x2600},
        {"colour dialog, three slider changes",
         [&] { services.colorAnswers.push_back(0xFEFEFE), form.Picture1_DblClick(); }, 2, 0x7BDE},
        {"typed", [&] { services.inputAnswers.push_back(" #ff0000 "), form.lblColor_DblClick(); },
         2, 0x001F},
        {"pasted colour", [&] { services.clipboard = "$7FFF", form.mnuPaste_Click(); }, 2, 0x7FFF},
        {"pasted palette",
         [&] { services.clipboard = std::string(64, '1'), form.mnuPaste_Click(); }, 15, 0x1111},
        {"swap by drag", [&] { form.Opt_DragDrop(5, 2, false); }, 5, 0x261F},
        {"copy by drag", [&] { form.Opt_DragDrop(9, 2, true); }, 9, 0x261F},
        {"ramp", [&] { model().rampFrom = 2, model().rampTo = 6, form.mnuRamp_Click(); }, 3,
         0x363D},
        {"import", [&] { services.openAnswers.push_back(palette), form.cmdImp_Click(); }, 3,
         0x2121},
        {"file dropped on the swatches", [&] { form.Opt_OLEDragDrop(palette); }, 3, 0x2121},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChooseAndSelect(0, 2);
        const auto before = EditorState(model());
        c.edit();
        EXPECT_EQ(Word(c.swatch), c.word);
        // The working colour is the selected swatch's; with none selected it stays.
        EXPECT_EQ(model().lblColor.caption,
                  model().OptSelected < 0 ? std::get<9>(before) : WordHexText(Word(2)));
        const auto after = EditorState(model());
        form.mnuUndo_Click();
        EXPECT_EQ(EditorState(model()), before);
        EXPECT_FALSE(form.EditMenuState().undo); // exactly one step
        form.mnuRedo_Click();
        EXPECT_EQ(EditorState(model()), after);
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST_F(EditCommandsTest, ChoosingReloadingOrSteppingStartsAFreshHistoryASaveDoesNot) {
    form.Opt_DragDrop(5, 2, false);
    form.Command2_Click();
    form.mnuUndo_Click();
    form.Command2_Click();
    EXPECT_EQ(StoredWord(ReadBytes(dumpPath), 10), 0x5049);

    services.openAnswers.push_back(dumpPath); // for the special mode, last
    services.inputAnswers.push_back("40");
    for (const auto& start : std::vector<std::function<void()>>{
             [&] { Choose(0); }, [&] { form.cmdRecarrega_Click(); },
             [&] { form.cmdSpecial_Click(); }, [&] { form.SpecialAction(kKeyAdd); }}) {
        form.Opt_Click(2);
        form.Opt_DragDrop(5, 2, false);
        form.Opt_ShiftClick(6);
        ASSERT_TRUE(form.EditMenuState().undo);
        start();
        EXPECT_FALSE(form.EditMenuState().undo);
        EXPECT_EQ(model().rampFrom, -1);
    }
}

// A whole palette is copied and pasted only where Exportar works: sixteen colours.
TEST_F(EditCommandsTest, CopiesTheSelectedColourAndTheWholePaletteAsTheRomHoldsIt) {
    form.mnuCopyColour_Click();
    EXPECT_EQ(services.clipboard, "#FF844A"); // 261F
    form.mnuCopyPalette_Click();
    EXPECT_EQ(services.clipboard.substr(0, 12), "030A11181F26");

    Choose(1);
    services.clipboard = "unchanged";
    form.mnuCopyColour_Click(); // no swatch selected
    form.mnuCopyPalette_Click();
    EXPECT_EQ(services.clipboard, "unchanged");
    ExpectOneMessage(services, text::kFewerThan16, kStyleExclamation);
}

TEST_F(EditCommandsTest, ARefusedPasteOrTypedColourChangesNothingAndSaysWhy) {
    const std::string palette(64, '0');
    const auto paste = [&] { form.mnuPaste_Click(); };
    const auto type = [&] { form.lblColor_DblClick(); };
    const std::tuple<std::string, std::function<void()>, std::function<void()>, std::string>
        cases[] = {
            {"hello", [] {}, paste, ColourTextMessage({ColourTextRefusal::ClipboardNotColour})},
            {"7FFF", [&] { Choose(0); }, paste, text::kPasteNeedsSwatch},
            {palette, [&] { form.cmdRecarrega_Click(); }, paste, text::kPasteNeedsPalette},
            {"$FF7F", [] {}, type,
             ColourTextMessage({ColourTextRefusal::WordAboveMaximum, 0xFF7F})},
        };
    for (const auto& [textGiven, setUp, command, message] : cases) {
        SCOPED_TRACE(textGiven);
        ChooseAndSelect(0, 2);
        setUp();
        services.messages.clear();
        services.clipboard = textGiven;
        services.inputAnswers = {textGiven};
        const auto before = EditorState(model());
        command();
        EXPECT_EQ(EditorState(model()), before);
        ExpectOneMessage(services, message, kStyleExclamation);
    }
    services.messages.clear();
    form.lblColor_DblClick(); // cancelled: nothing said
    EXPECT_EQ(services.inputPrompts.back(), text::kTypeColour);
    EXPECT_TRUE(services.messages.empty());
}

// Shift+click only marked a ramp end, so the next slider move edited the swatch selected
// before; a right click selected nothing, so the menu's commands acted on another swatch.
TEST_F(EditCommandsTest, EveryClickSelectsItsSwatchShiftMarksTheRampARightClickKeepsTheMarks) {
    const std::tuple<const char*, void (MainForm::*)(int), int, std::pair<int, int>> cases[] = {
        {"click", &MainForm::Opt_Click, 7, {-1, -1}},
        {"shift+click", &MainForm::Opt_ShiftClick, 7, {2, 7}},
        {"shift+click on the selected", &MainForm::Opt_ShiftClick, 2, {-1, -1}},
        {"right click", &MainForm::Opt_RightClick, 7, {4, 9}},
    };
    for (const auto& [name, click, index, marks] : cases) {
        SCOPED_TRACE(name);
        ChooseAndSelect(0, 2);
        model().rampFrom = 4, model().rampTo = 9;
        (form.*click)(index);
        const auto i = static_cast<std::size_t>(index);
        EXPECT_EQ(std::tuple(model().OptSelected, model().lblColor.caption, model().rampFrom,
                             model().rampTo),
                  std::tuple(index, WordHexText(Word(i)), marks.first, marks.second));
        form.SetSliderValue(SliderId::Red, 0); // reaches the clicked swatch
        EXPECT_EQ(Word(i) & 0x1F, 0);
        EXPECT_TRUE(form.SwatchDraggable(index)); // selected and pressed
        model().Opt[i].selected = false;          // no longer pressed (a special-state step)
        EXPECT_FALSE(form.SwatchDraggable(index));
    }
}

TEST_F(EditCommandsTest, RampEndsAndDropsTakeOnlyShownSwatches) {
    form.Opt_ShiftClick(7);
    // Only the swatches between change: the ends and one outside keep colours no word gives.
    model().Opt[1].backColor = model().Opt[2].backColor = 0x070707;
    form.mnuRamp_Click();
    EXPECT_EQ(model().Opt[1].backColor, 0x070707u);
    EXPECT_EQ(model().Opt[2].backColor, 0x070707u);
    Choose(0); // none selected: nothing to drag, and a pasted palette leaves the working colour
    const std::string shown = model().lblColor.caption;
    form.Opt_DragDrop(5, 2, false);
    EXPECT_EQ(Word(5), 0x5049);
    services.clipboard = std::string(64, '3'), form.mnuPaste_Click();
    EXPECT_EQ(model().lblColor.caption, shown);
    Choose(0);
    form.Opt_ShiftClick(0); // with none selected it selects
    form.Opt_ShiftClick(3); // from the first swatch: 0A03 to 342D
    EXPECT_TRUE(form.EditMenuState().ramp);
    form.mnuRamp_Click();
    EXPECT_EQ(Word(1), 0x1966);

    ChooseAndSelect(1, 2); // twelve colours: 12 to 15 are hidden
    form.Opt_DragDrop(13, 2, false);
    form.Opt_ShiftClick(13);
    EXPECT_FALSE(form.EditMenuState().ramp || form.EditMenuState().undo);
    form.Opt_OLEDragDrop(dumpPath); // Importar's checks, before its reader
    EXPECT_EQ(services.MessageTexts(), std::vector<std::string>{text::kFewerThan16});
}

} // namespace
} // namespace zandrel::testing
