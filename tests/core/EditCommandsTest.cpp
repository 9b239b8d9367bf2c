#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

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

PaletteWords16 Ramp0421() {
    PaletteWords16 words{};
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<ColorWord>(0x0421 * i);
    return words;
}

// The words as a raw GBA palette file holds them.
std::vector<std::uint8_t> PaletteFileBytes(const PaletteWords16& words) {
    std::vector<std::uint8_t> bytes;
    for (const ColorWord word : words)
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)});
    return bytes;
}

// The memory dump with a sixteen-colour palette at 0 and a twelve-colour one at 40, the first
// chosen and its swatch 2 selected.
class EditCommandsTest : public OpenFormTest {
  protected:
    const std::vector<std::uint8_t> bytes = PatternBytes(0x400);

    void SetUp() override {
        OpenFormTest::SetUp();
        OpenDump(bytes, "16,0,Cheia\r\n12,40,Curta\r\n");
        ChooseAndSelect(0, 2);
    }
    void ChooseAndSelect(int row, int swatch) {
        Choose(row);
        form.Opt_Click(swatch);
    }
    RgbColor Stored(std::size_t i) const { return WordToColor(StoredWord(bytes, 2 * i)); }
};

TEST_F(EditCommandsTest, EveryChangeOfTheSwatchesIsOneStepThatUndoAndRedoPutBackWhole) {
    const std::string palette = dir.Write("ramp.gbapal", PaletteFileBytes(Ramp0421()));
    struct Case {
        const char* name;
        std::function<void()> edit;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"slider", [&] { form.SetSliderValue(SliderId::Red, (model().RedScroll + 1) % 32); },
         [] {}},
        {"colour dialog, three slider changes",
         [&] {
             services.colorAnswers.push_back(0xFEFEFE);
             form.Picture1_DblClick();
         },
         [&] { EXPECT_EQ(model().Opt[2].backColor, 0xF7F7F7u); }},
        {"typed colour",
         [&] {
             services.inputAnswers.push_back(" #ff0000 ");
             form.lblColor_DblClick();
         },
         [&] { EXPECT_EQ(model().lblColor.caption, "001F"); }},
        {"pasted colour",
         [&] {
             services.clipboard = "$7FFF";
             form.mnuPaste_Click();
         },
         [&] { EXPECT_EQ(model().Opt[2].backColor, 0xFFFFFFu); }},
        {"pasted palette",
         [&] {
             services.clipboard = PaletteText(Ramp0421());
             form.mnuPaste_Click();
         },
         [&] {
             EXPECT_EQ(model().Opt[15].backColor, WordToColor(0x3DEF));
             EXPECT_EQ(model().lblColor.caption, "0842"); // the selected swatch's new colour
         }},
        {"swap by drag", [&] { form.Opt_DragDrop(5, 2, false); },
         [&] {
             EXPECT_EQ(model().Opt[5].backColor, Stored(2));
             EXPECT_EQ(model().Opt[2].backColor, Stored(5));
         }},
        {"copy by drag with Ctrl", [&] { form.Opt_DragDrop(5, 2, true); },
         [&] { EXPECT_EQ(model().Opt[5].backColor, Stored(2)); }},
        {"ramp",
         [&] {
             form.Opt_ShiftClick(6);
             form.mnuRamp_Click();
         },
         [&] {
             EXPECT_EQ(model().Opt[1].backColor, Stored(1));
             EXPECT_NE(model().Opt[3].backColor, Stored(3));
             EXPECT_EQ(model().Opt[7].backColor, Stored(7));
         }},
        {"import",
         [&] {
             services.openAnswers.push_back(palette);
             form.cmdImp_Click();
         },
         [&] { EXPECT_EQ(model().OptSelected, -1); }},
        {"palette file dropped on the swatches", [&] { form.Opt_OLEDragDrop(palette); },
         [&] { EXPECT_EQ(model().Opt[3].backColor, WordToColor(0x0C63)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChooseAndSelect(0, 2);
        const auto before = EditorState(model());
        c.edit();
        c.check();
        const auto after = EditorState(model());
        EXPECT_NE(after, before);
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
    std::vector<std::uint8_t> expected = bytes;
    for (std::size_t i = 0; i < 16; ++i)
        expected[2 * i + 1] &= 0x7F; // written back as read, bit 15 clear
    EXPECT_EQ(ReadBytes(dumpPath), expected);

    const auto enterSpecialState = [&] {
        services.openAnswers.push_back(dumpPath);
        services.inputAnswers.push_back("40");
        form.cmdSpecial_Click();
    };
    struct Case {
        const char* name;
        std::function<void()> before;
        std::function<void()> start;
    };
    const Case cases[] = {
        {"choice", [] {}, [&] { Choose(0); }},
        {"reload", [] {}, [&] { form.cmdRecarrega_Click(); }},
        {"special-mode step", enterSpecialState, [&] { form.SpecialAction(kKeyAdd); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        form.Opt_Click(2);
        form.Opt_ShiftClick(6);
        form.mnuRamp_Click();
        ASSERT_TRUE(form.EditMenuState().undo);
        c.start();
        EXPECT_FALSE(form.EditMenuState().undo);
        EXPECT_EQ(model().rampFrom, -1);
    }
}

// A whole palette is copied and pasted only where Exportar works: sixteen colours.
TEST_F(EditCommandsTest, CopiesTheSelectedColourAndTheWholePalette) {
    form.mnuCopyColour_Click();
    EXPECT_EQ(services.clipboard, SwatchColourText(Stored(2)));
    form.mnuCopyPalette_Click();
    PaletteWords16 words{};
    for (std::size_t i = 0; i < 16; ++i)
        words[i] = StoredWord(bytes, 2 * i);
    EXPECT_EQ(services.clipboard, PaletteText(words));

    Choose(1);
    services.clipboard = "unchanged";
    form.mnuCopyColour_Click(); // no swatch selected: nothing to copy
    form.mnuCopyPalette_Click();
    EXPECT_EQ(services.clipboard, "unchanged");
    ExpectOneMessage(services, text::kFewerThan16, kStyleExclamation);
}

TEST_F(EditCommandsTest, ARefusedPasteOrTypedColourChangesNothingAndSaysWhy) {
    const std::string sixteen = PaletteText(Ramp0421());
    struct Case {
        const char* text;
        std::function<void()> setUp;
        std::function<void()> command;
        std::string message;
    };
    const auto paste = [&] { form.mnuPaste_Click(); };
    const auto type = [&] { form.lblColor_DblClick(); };
    const Case cases[] = {
        {"hello", [] {}, paste, ColourTextMessage({ColourTextRefusal::ClipboardNotColour})},
        {"$FF7F", [] {}, paste, ColourTextMessage({ColourTextRefusal::WordAboveMaximum, 0xFF7F})},
        {"7FFF", [&] { Choose(0); }, paste, text::kPasteNeedsSwatch},
        {sixteen.c_str(), [&] { form.cmdRecarrega_Click(); }, paste, text::kPasteNeedsPalette},
        {sixteen.c_str(), [&] { ChooseAndSelect(1, 2); }, paste, text::kFewerThan16},
        {"7F FF", [] {}, type, ColourTextMessage({ColourTextRefusal::TypedNotColour})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ChooseAndSelect(0, 2);
        c.setUp();
        services.messages.clear();
        services.clipboard = c.text;
        services.inputAnswers.push_back(c.text);
        const auto before = EditorState(model());
        c.command();
        EXPECT_EQ(EditorState(model()), before);
        ExpectOneMessage(services, c.message, kStyleExclamation);
        services.inputAnswers.clear();
    }
    // A cancelled input box says nothing.
    services.messages.clear();
    form.lblColor_DblClick();
    EXPECT_EQ(services.inputPrompts.back(), text::kTypeColour);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(EditCommandsTest, RampEndsAreTheSelectedSwatchAndAShownOneShiftClicked) {
    form.Opt_ShiftClick(2); // the selected swatch itself
    EXPECT_EQ(model().rampFrom, -1);
    form.Opt_ShiftClick(7);
    EXPECT_EQ(std::pair(model().rampFrom, model().rampTo), std::pair(2, 7));
    form.Opt_Click(4); // a plain click starts afresh
    EXPECT_EQ(model().rampFrom, -1);

    ChooseAndSelect(1, 2); // twelve colours: 12 to 15 are hidden
    form.Opt_ShiftClick(13);
    EXPECT_FALSE(form.EditMenuState().ramp);
    form.Opt_DragDrop(13, 2, false);
    EXPECT_FALSE(form.EditMenuState().undo);
    // Importar's checks hold for a file dropped on the swatches.
    form.Opt_OLEDragDrop(dumpPath);
    ExpectOneMessage(services, text::kFewerThan16, kStyleExclamation);
}

TEST_F(EditCommandsTest, TooltipsShowEveryNotationOnceAPaletteIsOnShow) {
    EXPECT_EQ(form.SwatchToolTip(2), ColourNotations(Stored(2)));
    form.cmdRecarrega_Click();
    EXPECT_EQ(form.SwatchToolTip(2), "");
}

} // namespace
} // namespace zandrel::testing
