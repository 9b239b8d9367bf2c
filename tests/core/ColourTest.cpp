// The colour codec and the colour work built on it: pasted text, ramps, the LCD view, undo.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "colour/Codec.h"
#include "colour/ColourRamp.h"
#include "colour/ColourText.h"
#include "colour/EditHistory.h"
#include "colour/LcdColour.h"

using namespace zandrel;

TEST(Codec, EveryWordSurvivesColourAndHexRoundTrips) {
    for (int w = 0; w <= 0x7FFF; ++w) {
        const auto word = static_cast<ColorWord>(w);
        ASSERT_EQ(ColorToWord(WordToColor(word)), word) << w;
        ASSERT_EQ(HexToNumber(WordHexText(word)), w) << w;
    }
}

TEST(Codec, WordsColoursAndComponentsConvertToTheListedValues) {
    for (const auto& [word, color] : {std::pair<ColorWord, RgbColor>{0x0000, 0x000000},
                                      {0x7FFF, 0xFFFFFF},
                                      {0x001F, 0x0000FF},
                                      {0x03E0, 0x00FF00},
                                      {0x7C00, 0xFF0000},
                                      {0x4210, 0x848484},
                                      {0x0421, 0x080808}})
        EXPECT_EQ(WordToColor(word), color) << word;
    // Reducing adds 1 before dividing by 8.25: 7 still gives 0, only 255 gives 31.
    for (const auto& [color, word] : {std::pair<RgbColor, ColorWord>{0x070707, 0x0000},
                                      {0x080808, 0x0421},
                                      {0xFEFEFE, 0x7BDE},
                                      {0x123456, 0x08CA}})
        EXPECT_EQ(ColorToWord(color), word) << color;
    EXPECT_EQ(ExpandComponent(4), 33);
    EXPECT_EQ(ReduceComponent(254), 30);
    EXPECT_EQ(SplitColor(0x123456), (Rgb{0x56, 0x34, 0x12})); // blue is the high byte
    EXPECT_EQ(MakeColor(0x56, 0x34, 0x12), 0x123456u);
    EXPECT_EQ(WordHexText(31), "001F");
    EXPECT_EQ(ColorHexText(0xFF), "0000FF");
}

// Bit 15 carries no colour: a word read from bytes 0xFF 0xFF is 7FFF everywhere it is read.
TEST(Codec, WordFromBytesTakesTheHighByteFirstAndDropsBit15) {
    EXPECT_EQ(WordFromBytes(0x12, 0x34), 0x1234);
    EXPECT_EQ(WordFromBytes(0xFF, 0xFF), 0x7FFF);
    EXPECT_EQ(WordFromBytes(0x80, 0x01), 0x0001);
}

TEST(HexToNumber, ValuesEveryCharacterAsTheClassicConversionDoes) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"", 0},
        {"1F", 31},
        {"7FFFFFFF", 2147483647},
        {"0007FFFFFFF", 2147483647}, // leading zeros never overflow
        {"80000000", 0},
        {"100000000", 0},
        {"ff", 799}, // lower case is not read as hex: f counts 47
        {"@", 9},    // the characters 58-64 count 3-9
        {"0x1F", 16671},
        {" 1F", 0},
        {"1F ", 0},
        {"-1", 0},
        {"\xC3\xA9", 233 - 55},     // é has the 8-bit code 233
        {"\xE2\x82\xAC", 128 - 55}, // the euro sign is 128 in the 8-bit set
        {"\xE2\x98\x83", 63 - 55},  // a character outside the 8-bit set counts as "?"
        {std::string(32766, '0') + "1", 1},
        {std::string(32767, '0') + "1", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(HexToNumber(text), value) << '"' << text.substr(0, 12) << '"';
}

const ColourTextFailure kNotColour{ColourTextRefusal::ClipboardNotColour};
const ColourTextFailure kAboveFF7F{ColourTextRefusal::WordAboveMaximum, 0xFF7F};

TEST(ColourText, CopiedTextsAreRgbTheRomBytesAndEveryNotation) {
    EXPECT_EQ(SwatchColourText(WordToColor(0x0C41)), "#081018");
    PaletteWords16 words{};
    words[0] = 0x7FFF;
    words[1] = 0x001F;
    words[15] = 0x7C00;
    EXPECT_EQ(PaletteText(words), "FF7F1F00" + std::string(52, '0') + "007C");
    EXPECT_EQ(ColourNotations(WordToColor(0x7C1F)),
              "Palavra GBA: 7C1F\n#FF00FF\nR 31, G 0, B 31 (5 bits)\nBytes na ROM: 1F 7C");
}

TEST(ColourText, PastedTextGivesOneColourAPaletteOrSaysWhyNot) {
    PaletteWords16 ramp{};
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<ColorWord>(0x0421 * i);
    std::string spaced = PaletteText(ramp);
    spaced.insert(40, "\r\n");
    spaced.insert(8, " \t ");
    const std::pair<std::string, PastedColours> cases[] = {
        {"$7fff", ColorWord{0x7FFF}},
        {"0X001f", ColorWord{0x001F}},
        {" \t#FF0000\r\n", ColorWord{0x001F}},
        {"001F00", ColorWord{0x0060}},  // six digits are RRGGBB, four a word
        {"#fefefe", ColorWord{0x7BDE}}, // reduced as a colour-dialog choice is
        {"$FF7F", kAboveFF7F},
        {"#7FFF", kNotColour},
        {"0x1F", kNotColour},
        {"7F FF", kNotColour},
        {"", kNotColour},
        {" " + spaced + "\n", ramp}, // 64 digits with blanks: a palette in ROM order
        {std::string(63, '0'), kNotColour},
        {std::string(65, '0'), kNotColour},
        {std::string(63, '0') + "G", kNotColour},
    };
    for (const auto& [text, result] : cases)
        EXPECT_EQ(ParsePastedColours(text), result) << '"' << text << '"';
    EXPECT_EQ(ParseTypedColour(std::string(64, '0')), // a typed colour is never a palette
              TypedColour(ColourTextFailure{ColourTextRefusal::TypedNotColour}));
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
    expected[4] = 10 << 10 | 21; // thirds of 31: 20.67 and 10.33
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
    // Worked by hand: white's red is (305/255)^(1/2.2) x 255 x 255/280 = 251.9.
    for (const auto& [word, shown] : {std::pair<ColorWord, Rgb>{0x0000, {0, 0, 0}},
                                      {0x7FFF, {252, 238, 242}},
                                      {0x001F, {232, 53, 111}},
                                      {0x03E0, {111, 222, 53}},
                                      {0x7C00, {0, 88, 217}},
                                      {0x4210, {76, 72, 73}},
                                      {0xFFFF, {252, 238, 242}}})
        EXPECT_EQ(SplitColor(LcdColour(word)), shown) << std::hex << word;
    EXPECT_EQ(ScreenColour(0xFEFEFE, true), LcdColour(0x7BDE));
    EXPECT_EQ(ScreenColour(0xFEFEFE, false), 0xFEFEFEu);
}

TEST(EditHistory, UndoesRedoesForgetsTheRedoBranchAndKeepsTheNewestSteps) {
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
    history.Commit(state(1), state(3)); // state 2 can no longer be redone
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(state(3)), state(1));
    history.Clear();
    EXPECT_FALSE(history.CanUndo() || history.CanRedo());

    for (RgbColor i = 0; i <= EditHistory::kMaxSteps; ++i)
        history.Commit(state(i), state(i + 1));
    std::optional<PaletteSnapshot> oldest;
    for (std::size_t i = 0; i < EditHistory::kMaxSteps; ++i)
        oldest = history.Undo(PaletteSnapshot{});
    EXPECT_EQ(oldest, state(1));
    EXPECT_FALSE(history.CanUndo());
}
