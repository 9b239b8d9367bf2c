#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "colour/ColourRamp.h"
#include "colour/ColourText.h"
#include "colour/EditHistory.h"
#include "colour/LcdColour.h"

using namespace zandrel;

const ColourTextFailure kNotColour{ColourTextRefusal::ClipboardNotColour};
const ColourTextFailure kAboveFF7F{ColourTextRefusal::WordAboveMaximum, 0xFF7F};

TEST(ColourText, CopiesRedGreenBlueAndThePalettesRomBytes) {
    EXPECT_EQ(SwatchColourText(WordToColor(0x0C41)), "#081018");
    PaletteWords16 words{};
    words[0] = 0x7FFF;
    words[1] = 0x001F;
    words[15] = 0x7C00;
    EXPECT_EQ(PaletteText(words), "FF7F1F00" + std::string(52, '0') + "007C");
}

TEST(ColourText, ATooltipShowsEveryNotation) {
    EXPECT_EQ(ColourNotations(WordToColor(0x7C1F)),
              "Palavra GBA: 7C1F\n#FF00FF\nR 31, G 0, B 31 (5 bits)\nBytes na ROM: 1F 7C");
}

TEST(ColourText, PastedTextGivesOneColourOrSaysWhyNot) {
    struct Case {
        const char* text;
        PastedColours result;
    };
    const Case cases[] = {
        {"7FFF", ColorWord{0x7FFF}},
        {"$7fff", ColorWord{0x7FFF}},
        {"0X001f", ColorWord{0x001F}},
        {" \t#FF0000\r\n", ColorWord{0x001F}},
        // Six digits are RRGGBB, four a word: 001F00 is green, 001F red.
        {"001F00", ColorWord{0x0060}},
        // Reduced to 15 bits as a colour-dialog choice is.
        {"#fefefe", ColorWord{0x7BDE}},
        {"$FF7F", kAboveFF7F},
        {"#7FFF", kNotColour},
        {"0x1F", kNotColour},
        {"7FF", kNotColour},
        {"7F FF", kNotColour},
        {"#GG0000", kNotColour},
        {"", kNotColour},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePastedColours(c.text), c.result) << '"' << c.text << '"';
}

TEST(ColourText, SixtyFourDigitsWithBlanksAreAPaletteInRomOrder) {
    PaletteWords16 words{};
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<ColorWord>(0x0421 * i);
    std::string text = PaletteText(words);
    text.insert(40, "\r\n");
    text.insert(8, " \t ");
    EXPECT_EQ(ParsePastedColours(" " + text + "\n"), PastedColours(words));
    // Bit 15 is dropped as the ROM reader drops it.
    EXPECT_EQ(std::get<PaletteWords16>(ParsePastedColours(std::string(64, 'f')))[15], 0x7FFF);
    for (const std::string& wrong :
         {std::string(63, '0'), std::string(65, '0'), std::string(63, '0') + "G"})
        EXPECT_EQ(ParsePastedColours(wrong), PastedColours(kNotColour)) << wrong;
    // A typed colour is never a palette.
    EXPECT_EQ(ParseTypedColour(std::string(64, '0')),
              TypedColour(ColourTextFailure{ColourTextRefusal::TypedNotColour}));
}

TEST(ColourText, EveryRefusalHasItsMessage) {
    EXPECT_EQ(ColourTextMessage(kNotColour),
              "A área de transferência não contém uma cor (#RRGGBB, RRGGBB ou uma palavra GBA "
              "como 7FFF) nem uma paleta de 64 dígitos hex.");
    EXPECT_EQ(ColourTextMessage({ColourTextRefusal::TypedNotColour}),
              "O texto digitado não é uma cor (#RRGGBB, RRGGBB ou uma palavra GBA como 7FFF).");
    EXPECT_EQ(ColourTextMessage(kAboveFF7F),
              "A palavra GBA FF7F passa de 7FFF: uma cor do GBA tem 15 bits. Na ROM o byte baixo "
              "vem primeiro: os bytes FF 7F são a palavra 7FFF.");
}

TEST(ColourRamp, FillsOnlyTheSwatchesBetweenWithRoundedSteps) {
    PaletteWords16 words{};
    words.fill(0x1234);
    words[3] = 0x001F; // red 31
    words[6] = 0x7C00; // blue 31
    PaletteWords16 expected = words;
    // Thirds of 31: 20.67 and 10.33.
    expected[4] = 10 << 10 | 21;
    expected[5] = 21 << 10 | 10;
    EXPECT_EQ(RampBetween(words, 3, 6), expected);
    EXPECT_EQ(RampBetween(words, 6, 3), expected);
    EXPECT_EQ(RampBetween(words, -1, 5), words);
    EXPECT_EQ(RampBetween(words, 2, 16), words);
    // A half rounds upwards whichever end is higher.
    EXPECT_EQ(RampBetween(PaletteWords16{0x0000, 0, 0x0421}, 0, 2)[1], 0x0421);
    EXPECT_EQ(RampBetween(PaletteWords16{0x0421, 0, 0x0000}, 0, 2)[1], 0x0421);
}

TEST(LcdColour, FollowsThePublishedCorrection) {
    // Worked from the formula by hand: white's red is (305/255)^(1/2.2) x 255 x 255/280 = 251.9.
    struct Case {
        ColorWord word;
        Rgb shown;
    };
    for (const Case c : {Case{0x0000, {0, 0, 0}},
                         {0x7FFF, {252, 238, 242}},
                         {0x001F, {232, 53, 111}},
                         {0x03E0, {111, 222, 53}},
                         {0x7C00, {0, 88, 217}},
                         {0x4210, {76, 72, 73}},
                         {0xFFFF, {252, 238, 242}}})
        EXPECT_EQ(SplitColor(LcdColour(c.word)), c.shown) << std::hex << c.word;
    // What is drawn for a swatch colour: its 15-bit word on the LCD, or the colour itself.
    EXPECT_EQ(ScreenColour(0xFEFEFE, true), LcdColour(0x7BDE));
    EXPECT_EQ(ScreenColour(0xFEFEFE, false), 0xFEFEFEu);
}

TEST(EditHistory, UndoesRedoesAndForgetsTheRedoBranch) {
    const auto state = [](RgbColor sample) { return PaletteSnapshot{.sample = sample}; };
    EditHistory history;
    EXPECT_EQ(history.Undo(state(0)), std::nullopt);
    history.Commit(state(0), state(0)); // nothing changed: no step
    EXPECT_FALSE(history.CanUndo());

    history.Commit(state(0), state(1));
    history.Commit(state(1), state(2));
    EXPECT_EQ(history.Undo(state(2)), state(1));
    EXPECT_EQ(history.Undo(state(1)), state(0));
    EXPECT_EQ(history.Redo(state(0)), state(1));
    // A new step after an undo: state 2 can no longer be redone.
    history.Commit(state(1), state(3));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(state(3)), state(1));

    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, KeepsOnlyTheNewestSteps) {
    EditHistory history;
    for (RgbColor i = 0; i <= EditHistory::kMaxSteps; ++i)
        history.Commit(PaletteSnapshot{.sample = i}, PaletteSnapshot{.sample = i + 1});
    std::optional<PaletteSnapshot> oldest;
    for (std::size_t i = 0; i < EditHistory::kMaxSteps; ++i)
        oldest = history.Undo(PaletteSnapshot{});
    EXPECT_EQ(oldest, PaletteSnapshot{.sample = 1});
    EXPECT_FALSE(history.CanUndo());
}
