// The colour editor: swatch click, the three sliders and the colour dialog.
#include "OpenFormFixture.h"

namespace zandrel::testing {
namespace {

// A window with a file open and swatch i holding word i * 0421.
class ColourEditorTest : public ::testing::Test {
  protected:
    FakeServices services;
    AppState app;
    MainForm form{app, services};
    FormModel& m = form.model();

    void SetUp() override {
        form.Form_Load({});
        app.RomLoaded = true;
        for (std::size_t i = 0; i < 16; ++i)
            m.Opt[i].backColor = WordToColor(static_cast<ColorWord>(i * 0x0421));
    }
    void ExpectEditor(int blue, int green, int red, const std::string& word, RgbColor sample) {
        EXPECT_EQ(std::tuple(m.BlueScroll, m.GreenScroll, m.RedScroll),
                  std::tuple(blue, green, red));
        EXPECT_EQ(std::tuple(m.lblBlue.caption, m.lblGreen.caption, m.lblRed.caption),
                  std::tuple(std::to_string(blue), std::to_string(green), std::to_string(red)));
        EXPECT_EQ(m.lblColor.caption, word);
        EXPECT_EQ(m.StrColor, word);
        EXPECT_EQ(m.Picture1, sample);
    }
};

// Before any file a click only presses; the special mode shows the offset either way.
TEST_F(ColourEditorTest, SwatchClickMakesItsColourTheWorkingColour) {
    app.RomLoaded = false;
    form.Opt_Click(3);
    EXPECT_EQ(std::tie(m.OptSelected, m.lblColor.caption), std::tuple(-1, "0000"));
    EXPECT_TRUE(m.Opt[3].selected);
    app.SpecialMode = true;
    app.CurrentLocation = 0x100;
    form.Opt_Click(15);
    EXPECT_EQ(m.lblLocOpt.caption, "11E");
    app.RomLoaded = true;
    app.SpecialMode = false;

    struct Case {
        RgbColor colour;
        int blue, green, red;
        const char* text;
    };
    // First no slider moves: the sample keeps the colour as given.
    for (const Case& c : {Case{0x070707, 0, 0, 0, "0000"},
                          {0xFFFFFF, 31, 31, 31, "7FFF"},
                          {0x0000FF, 0, 0, 31, "001F"}}) {
        SCOPED_TRACE(c.text);
        m.Opt[7].backColor = c.colour;
        form.Opt_Click(7);
        ExpectEditor(c.blue, c.green, c.red, c.text, c.colour);
        EXPECT_EQ(m.OptSelected, 7);
    }
    form.Opt_Click(2);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(m.Opt[i].selected, i == 2) << i;
}

// Set (clamped to five bits) or dragged, a slider mixes the selected swatch, if any, at once.
TEST_F(ColourEditorTest, EachSliderMixesTheSelectedSwatchAtOnce) {
    const auto before = Swatches(m);
    form.SetSliderValue(SliderId::Green, 10);
    ExpectEditor(0, 10, 0, "0140", 0x005200);
    EXPECT_EQ(Swatches(m), before);

    m.Opt[4].backColor = 0;
    form.Opt_Click(4);
    form.SetSliderValue(SliderId::Blue, 31);
    EXPECT_EQ(m.Opt[4].backColor, 0xFF0000u);
    form.SetSliderValue(SliderId::Green, 31);
    EXPECT_EQ(m.Opt[4].backColor, 0xFFFF00u);
    form.SetSliderValue(SliderId::Red, 4);
    ExpectEditor(31, 31, 4, "7FE4", 0xFFFF21);
    EXPECT_EQ(m.Opt[4].backColor, 0xFFFF21u);
    form.SetSliderValue(SliderId::Red, -5); // clamped to five bits
    EXPECT_EQ(m.lblColor.caption, "7FE0");
    m.lblBlue.caption = "x"; // the value it holds raises no change
    form.SetSliderValue(SliderId::Blue, 31);
    EXPECT_EQ(m.lblBlue.caption, "x");

    m.BlueScroll = 1;
    form.BlueScroll_Change();
    EXPECT_EQ(m.lblColor.caption, "07E0");
    m.GreenScroll = 2;
    form.GreenScroll_Change();
    EXPECT_EQ(m.lblColor.caption, "0440");
    m.RedScroll = 3;
    form.RedScroll_Change();
    EXPECT_EQ(m.Opt[4].backColor, WordToColor(0x0443));
}

// The dialog starts at the swatch, custom colours fresh each time; its answer goes 15-bit.
TEST_F(ColourEditorTest, DialogColourIsReducedToTheFifteenBitSet) {
    services.systemColors.fill(0x010203);
    form.Opt_Click(6);
    services.colorAnswers = {0xFEFEFE, std::nullopt, 0x070707};
    form.Picture1_DblClick();
    ExpectEditor(30, 30, 30, "7BDE", 0xF7F7F7);
    EXPECT_EQ(m.Opt[6].backColor, 0xF7F7F7u);

    services.systemColors.fill(0x040506);
    form.Form_KeyDown(kKeyMultiply, 1); // cancelled; the shift state is not read
    EXPECT_EQ(m.Opt[6].backColor, 0xF7F7F7u);
    EXPECT_EQ(services.colorDialogStarts,
              (std::vector<RgbColor>{WordToColor(6 * 0x0421), 0xF7F7F7}));
    EXPECT_EQ(services.colorDialogCustomColors[0][15], 0x010203u);
    EXPECT_EQ(services.colorDialogCustomColors[1][0], 0x040506u);

    m.Opt[1].backColor = 0;
    form.Opt_Click(1);
    form.Picture1_DblClick(); // moves no slider, still fifteen-bit
    ExpectEditor(0, 0, 0, "0000", 0x000000);
    EXPECT_EQ(m.Opt[1].backColor, 0u);
}

} // namespace
} // namespace zandrel::testing
