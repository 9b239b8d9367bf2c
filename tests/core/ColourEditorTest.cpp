#include <gtest/gtest.h>

#include <string>

#include "FakeServices.h"
#include "OpenFormFixture.h"
#include "TempDir.h"
#include "app/MainForm.h"

namespace zandrel::testing {
namespace {

// A window with a file open (RomLoaded) and swatches holding known colours.
class ColourEditorTest : public ::testing::Test {
  protected:
    FakeServices services;
    AppState app;
    MainForm form{app, services};

    void SetUp() override {
        form.Form_Load();
        app.RomLoaded = true;
        for (std::size_t i = 0; i < 16; ++i)
            model().Opt[i].backColor = WordToColor(static_cast<ColorWord>(i * 0x0421));
    }
    FormModel& model() { return form.model(); }

    void ExpectEditor(int blue, int green, int red, const std::string& word, RgbColor sample) {
        EXPECT_EQ(model().BlueScroll, blue);
        EXPECT_EQ(model().GreenScroll, green);
        EXPECT_EQ(model().RedScroll, red);
        EXPECT_EQ(model().lblBlue.caption, std::to_string(blue));
        EXPECT_EQ(model().lblGreen.caption, std::to_string(green));
        EXPECT_EQ(model().lblRed.caption, std::to_string(red));
        EXPECT_EQ(model().lblColor.caption, word);
        EXPECT_EQ(model().StrColor, word);
        EXPECT_EQ(model().Picture1, sample);
    }
};

TEST_F(ColourEditorTest, SwatchClickBeforeAnyFileSelectsNothing) {
    app.RomLoaded = false;
    form.Opt_Click(3);

    EXPECT_EQ(model().OptSelected, -1);
    EXPECT_EQ(model().BlueScroll, 0);
    EXPECT_EQ(model().lblBlue.caption, "00");
    EXPECT_EQ(model().lblColor.caption, "0000");
    EXPECT_EQ(model().Picture1, kDefaultSwatchColor);
    EXPECT_EQ(model().lblLocOpt.caption, "000000"); // not in the special mode
    // The toggle group still shows the click.
    EXPECT_TRUE(model().Opt[3].selected);
}

TEST_F(ColourEditorTest, SwatchClickInSpecialModeShowsTheWordOffset) {
    app.SpecialMode = true;
    app.CurrentLocation = 0x100;
    form.Opt_Click(5);
    EXPECT_EQ(model().lblLocOpt.caption, "10A");

    app.RomLoaded = false; // shown even when the click selects nothing
    form.Opt_Click(15);
    EXPECT_EQ(model().lblLocOpt.caption, "11E");
    EXPECT_EQ(model().OptSelected, -1);
}

TEST_F(ColourEditorTest, SwatchClickMakesItsColourTheWorkingColour) {
    struct Case {
        ColorWord word;
        int blue, green, red;
        const char* text;
        RgbColor sample;
    };
    for (const Case& c :
         {Case{0x7FFF, 31, 31, 31, "7FFF", 0xFFFFFF}, Case{0x001F, 0, 0, 31, "001F", 0x0000FF},
          Case{0x4210, 16, 16, 16, "4210", 0x848484}, Case{0x0000, 0, 0, 0, "0000", 0x000000}}) {
        model().Opt[7].backColor = WordToColor(c.word);
        form.Opt_Click(7);
        ExpectEditor(c.blue, c.green, c.red, c.text, c.sample);
        EXPECT_EQ(model().Opt[7].backColor, c.sample) << c.text;
        EXPECT_EQ(model().OptSelected, 7);
    }
    form.Opt_Click(2);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(model().Opt[i].selected, i == 2) << i;
}

TEST_F(ColourEditorTest, SliderSetToANewValueRunsItsChangeAtOnce) {
    model().Opt[4].backColor = 0;
    form.Opt_Click(4); // sliders 0, 0, 0
    // Each setting passes its mixed colour to the swatch before the next one is made.
    form.SetSliderValue(SliderId::Blue, 31);
    EXPECT_EQ(model().Opt[4].backColor, 0xFF0000u);
    EXPECT_EQ(model().lblColor.caption, "7C00");
    form.SetSliderValue(SliderId::Green, 31);
    EXPECT_EQ(model().Opt[4].backColor, 0xFFFF00u);
    EXPECT_EQ(model().lblGreen.caption, "31");
    form.SetSliderValue(SliderId::Red, 4);
    EXPECT_EQ(model().Opt[4].backColor, 0xFFFF21u);
    ExpectEditor(31, 31, 4, "7FE4", 0xFFFF21);
}

TEST_F(ColourEditorTest, SliderSetToItsOwnValueRaisesNothing) {
    form.SetSliderValue(SliderId::Blue, 9);
    model().lblBlue.caption = "x";
    model().Picture1 = 0x123456;
    form.SetSliderValue(SliderId::Blue, 9);
    EXPECT_EQ(model().lblBlue.caption, "x");
    EXPECT_EQ(model().Picture1, 0x123456u);
}

TEST_F(ColourEditorTest, SliderValuesAreClampedToFiveBits) {
    form.SetSliderValue(SliderId::Red, 40);
    EXPECT_EQ(model().RedScroll, 31);
    EXPECT_EQ(model().lblColor.caption, "001F");
    form.SetSliderValue(SliderId::Red, -5);
    EXPECT_EQ(model().RedScroll, 0);
    EXPECT_EQ(model().lblColor.caption, "0000");
}

TEST_F(ColourEditorTest, SliderMoveWithoutASelectedSwatchChangesNoSwatch) {
    const std::array<Swatch, 16> before = model().Opt;
    form.SetSliderValue(SliderId::Green, 10);
    ExpectEditor(0, 10, 0, "0140", 0x005200);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(model().Opt[i].backColor, before[i].backColor) << i;
}

TEST_F(ColourEditorTest, SliderMoveKeepsLabelWordAndSwatchInStep) {
    form.Opt_Click(9);
    form.SetSliderValue(SliderId::Green, 3);
    form.RedScroll_Change(); // a user's move raises the same change
    const ColorWord word = ColorToWord(model().Opt[9].backColor);
    EXPECT_EQ(WordHexText(word), model().lblColor.caption);
    EXPECT_EQ(model().StrColor, model().lblColor.caption);
    EXPECT_EQ(word, 9 * 0x0400 + 3 * 0x20 + 9);
}

TEST_F(ColourEditorTest, WorkingColourWithNoSliderMoveKeepsTheGivenSample) {
    model().Opt[0].backColor = 0x070707; // reduces to the sliders' 0, 0, 0
    form.Opt_Click(0);
    ExpectEditor(0, 0, 0, "0000", 0x070707);
    EXPECT_EQ(model().Opt[0].backColor, 0x070707u); // no change event reached it
}

TEST_F(ColourEditorTest, DialogColourIsReducedToTheFifteenBitSet) {
    services.systemColors = {0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF,
                             0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC,
                             0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0};
    form.Opt_Click(6);
    services.colorAnswers.push_back(0xFEFEFE);

    form.Picture1_DblClick();

    ASSERT_EQ(services.colorDialogStarts.size(), 1u);
    EXPECT_EQ(services.colorDialogStarts[0], WordToColor(6 * 0x0421));
    EXPECT_EQ(services.colorDialogCustomColors[0], services.systemColors);
    ExpectEditor(30, 30, 30, "7BDE", 0xF7F7F7);
    EXPECT_EQ(model().Opt[6].backColor, 0xF7F7F7u);
}

TEST_F(ColourEditorTest, DialogColourMatchingTheSlidersStillBecomesFifteenBit) {
    model().Opt[1].backColor = 0;
    form.Opt_Click(1);
    services.colorAnswers.push_back(0x070707); // reduces to 0, 0, 0: no slider moves
    form.Picture1_DblClick();
    ExpectEditor(0, 0, 0, "0000", 0x000000);
    EXPECT_EQ(model().Opt[1].backColor, 0u);
}

TEST_F(ColourEditorTest, CancelledDialogChangesNothing) {
    form.Opt_Click(3);
    const FormModel before = model();
    services.colorAnswers.push_back(std::nullopt);

    form.Picture1_DblClick();

    EXPECT_EQ(services.colorDialogStarts.size(), 1u);
    ExpectEditor(before.BlueScroll, before.GreenScroll, before.RedScroll, before.lblColor.caption,
                 before.Picture1);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(model().Opt[i].backColor, before.Opt[i].backColor) << i;
}

TEST_F(ColourEditorTest, CustomColoursAreSeededAgainAtEveryOpening) {
    form.Opt_Click(3);
    services.systemColors.fill(0x010203);
    form.Picture1_DblClick();
    services.systemColors.fill(0x040506);
    form.Picture1_DblClick();
    ASSERT_EQ(services.colorDialogCustomColors.size(), 2u);
    EXPECT_EQ(services.colorDialogCustomColors[0][15], 0x010203u);
    EXPECT_EQ(services.colorDialogCustomColors[1][0], 0x040506u);
}

TEST_F(ColourEditorTest, KeypadMultiplyOpensTheDialogOnlyWithFileAndSwatch) {
    form.Form_KeyDown(kKeyMultiply, 0); // no swatch selected
    app.RomLoaded = false;
    model().OptSelected = 3;
    form.Form_KeyDown(kKeyMultiply, 0); // no file
    app.RomLoaded = true;
    form.Form_KeyDown(kKeyAdd, 0); // another key
    EXPECT_TRUE(services.colorDialogStarts.empty());

    services.colorAnswers.push_back(0xFF0000);
    form.Form_KeyDown(kKeyMultiply, 1); // the shift state is not read
    ASSERT_EQ(services.colorDialogStarts.size(), 1u);
    EXPECT_EQ(model().Opt[3].backColor, 0xFF0000u);
    EXPECT_EQ(model().lblColor.caption, "7C00");
}

TEST_F(ColourEditorTest, DoubleClickWithoutASelectedSwatchDoesNothing) {
    form.Picture1_DblClick();
    EXPECT_TRUE(services.colorDialogStarts.empty());
}

TEST_F(ColourEditorTest, KeysReachTheSpecialStateOnlyWhenItIsShown) {
    TempDir dir;
    app.RomPath = dir.Write("rom.gba", PatternBytes(0x100));
    form.Form_KeyDown(kKeyAdd, 0);
    EXPECT_EQ(app.CurrentLocation, 0);

    model().lblGame.caption = "MODO ESPECIAL";
    form.Form_KeyDown(kKeyAdd, 0);
    EXPECT_EQ(app.CurrentLocation, 0x20);
    EXPECT_EQ(model().lblLoc.caption, "20");
}

// Choosing a palette, clicking a swatch and using the dialog, end to end.
using ColourEditorFlowTest = OpenFormTest;

TEST_F(ColourEditorFlowTest, DialogEditIsSavedAsItsWord) {
    const std::vector<std::uint8_t> before = PatternBytes(0x40);
    OpenDump(before, "16,0,Paleta\r\n");
    Choose(0);
    form.Opt_Click(2);
    services.colorAnswers.push_back(0xFEFEFE);
    form.Picture1_DblClick();
    form.Command2_Click();

    std::vector<std::uint8_t> expected = before;
    for (std::size_t k = 1; k < 0x20; k += 2)
        expected[k] &= 0x7F;
    expected[4] = 0xDE;
    expected[5] = 0x7B;
    EXPECT_EQ(ReadBytes(dumpPath), expected);
}

} // namespace
} // namespace zandrel::testing
