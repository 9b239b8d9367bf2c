#include <gtest/gtest.h>

#include <string>

#include "OpenFormFixture.h"

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
    EXPECT_TRUE(model().Opt[3].selected);           // the toggle group still shows the click
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
        RgbColor colour;
        int blue, green, red;
        const char* text;
        RgbColor sample;
    };
    for (const Case& c : {Case{0xFFFFFF, 31, 31, 31, "7FFF", 0xFFFFFF},
                          {0x0000FF, 0, 0, 31, "001F", 0x0000FF},
                          {0x848484, 16, 16, 16, "4210", 0x848484},
                          {0x000000, 0, 0, 0, "0000", 0x000000},
                          // No slider moves: the sample keeps the colour as given.
                          {0x070707, 0, 0, 0, "0000", 0x070707}}) {
        SCOPED_TRACE(c.text);
        model().Opt[7].backColor = c.colour;
        form.Opt_Click(7);
        ExpectEditor(c.blue, c.green, c.red, c.text, c.sample);
        EXPECT_EQ(model().Opt[7].backColor, c.sample);
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

    // Clamped to five bits.
    form.SetSliderValue(SliderId::Red, 40);
    EXPECT_EQ(model().RedScroll, 31);
    EXPECT_EQ(model().lblColor.caption, "7FFF");
    form.SetSliderValue(SliderId::Red, -5);
    EXPECT_EQ(model().RedScroll, 0);
    EXPECT_EQ(model().lblColor.caption, "7FE0");

    // Set to the value it holds, a slider raises no change.
    model().lblBlue.caption = "x";
    model().Picture1 = 0x123456;
    form.SetSliderValue(SliderId::Blue, 31);
    EXPECT_EQ(model().lblBlue.caption, "x");
    EXPECT_EQ(model().Picture1, 0x123456u);
}

TEST_F(ColourEditorTest, SliderMoveWithoutASelectedSwatchChangesNoSwatch) {
    const auto before = Swatches(model());
    form.SetSliderValue(SliderId::Green, 10);
    ExpectEditor(0, 10, 0, "0140", 0x005200);
    EXPECT_EQ(Swatches(model()), before);
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

    // A colour that moves no slider still becomes fifteen-bit.
    model().Opt[1].backColor = 0;
    form.Opt_Click(1);
    services.colorAnswers.push_back(0x070707);
    form.Picture1_DblClick();
    ExpectEditor(0, 0, 0, "0000", 0x000000);
    EXPECT_EQ(model().Opt[1].backColor, 0u);
}

TEST_F(ColourEditorTest, CancelledDialogChangesNothingAndCustomColoursAreSeededEachTime) {
    form.Opt_Click(3);
    services.systemColors.fill(0x010203);
    form.Picture1_DblClick(); // no answer: cancelled
    const FormModel before = model();
    services.systemColors.fill(0x040506);
    services.colorAnswers.push_back(std::nullopt);

    form.Picture1_DblClick();

    ASSERT_EQ(services.colorDialogCustomColors.size(), 2u);
    EXPECT_EQ(services.colorDialogCustomColors[0][15], 0x010203u);
    EXPECT_EQ(services.colorDialogCustomColors[1][0], 0x040506u);
    ExpectEditor(before.BlueScroll, before.GreenScroll, before.RedScroll, before.lblColor.caption,
                 before.Picture1);
    EXPECT_EQ(Swatches(model()), Swatches(before));
}

TEST_F(ColourEditorTest, DialogOpensOnlyWithFileAndSwatchAndKeypadMultiplyOpensIt) {
    form.Picture1_DblClick();           // no swatch selected
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

TEST_F(ColourEditorTest, KeysReachTheSpecialStateOnlyWhenItIsShown) {
    TempDir dir;
    app.RomPath = dir.Write("rom.gba", PatternBytes(0x100));
    form.Form_KeyDown(kKeyAdd, 0);
    EXPECT_EQ(app.CurrentLocation, 0);

    ShowGameLabel(form, "MODO ESPECIAL");
    form.Form_KeyDown(kKeyAdd, 0);
    EXPECT_EQ(app.CurrentLocation, 0x20);
    EXPECT_EQ(model().lblLoc.caption, "20");
}

} // namespace
} // namespace zandrel::testing
