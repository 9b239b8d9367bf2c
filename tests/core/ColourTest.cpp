// The colour codec and the colour work built on it: pasted text, undo.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "colour/Codec.h"
#include "colour/ColourEditor.h"
#include "colour/ColourText.h"
#include "colour/EditHistory.h"
#include "colour/LcdColour.h"

using namespace zandrel;

// Reducing adds 1 before dividing by 8.25: 7 still gives 0, only 255 gives 31.
TEST(Codec, WordsColoursAndComponentsConvertToTheListedValuesAndRoundTrip) {
    for (int w = 0; w <= 0x7FFF; ++w) {
        const auto word = static_cast<ColorWord>(w);
        ASSERT_EQ(ColorToWord(WordToColor(word)), word) << w;
        ASSERT_EQ(HexToNumber(WordHexText(word)), w) << w;
    }
    const std::pair<ColorWord, RgbColor> expanded[] = {
        {0x7FFF, 0xFFFFFF}, {0x001F, 0x0000FF}, {0x4210, 0x848484}, {0x0421, 0x080808}};
    for (const auto& [word, color] : expanded)
        EXPECT_EQ(WordToColor(word), color) << word;
    const std::pair<RgbColor, ColorWord> reduced[] = {
        {0x070707, 0x0000}, {0x080808, 0x0421}, {0xFEFEFE, 0x7BDE}, {0x123456, 0x08CA}};
    for (const auto& [color, word] : reduced)
        EXPECT_EQ(ColorToWord(color), word) << color;
    EXPECT_EQ(SplitColor(0x123456), (Rgb{0x56, 0x34, 0x12})); // blue is the high byte
    EXPECT_EQ(ColorHexText(0xFF), "0000FF");
    // Bit 15 carries no colour: bytes FF FF are the word 7FFF.
    EXPECT_EQ(WordFromBytes(0xFF, 0xFF), 0x7FFF);
}

const ColourTextFailure kNotColour{ColourTextRefusal::ClipboardNotColour};
const ColourTextFailure kAboveFF7F{ColourTextRefusal::WordAboveMaximum, 0xFF7F};

// The copied texts themselves are checked by EditCommandsTest.
TEST(ColourText, PastedTextsGiveOneColourAPaletteOrSayWhyNot) {
    EXPECT_EQ(ColourNotations(WordToColor(0x7C1F)),
              "Palavra GBA: 7C1F\n#FF00FF\nR 31, G 0, B 31 (5 bits)\nBytes na ROM: 1F 7C");
    PaletteWords16 ramp{};
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<ColorWord>(0x0421 * i);
    ramp[15] = 0x7C00;
    std::string spaced = PaletteText(ramp);
    spaced.insert(40, "\r\n");
    spaced.insert(8, " \t ");
    EXPECT_EQ(ParsePastedColours(" " + spaced + "\n"), PastedColours(ramp)); // in ROM order
    // Six digits are RRGGBB, four a word; RRGGBB is reduced as a colour-dialog choice is.
    const std::pair<const char*, ColorWord> colours[] = {
        {"$7fff", 0x7FFF}, {" \t#FF0000\r\n", 0x001F}, {"001F00", 0x0060}};
    for (const auto& [text, word] : colours)
        EXPECT_EQ(ParsePastedColours(text), PastedColours(word)) << text;
    EXPECT_EQ(ParsePastedColours("$FF7F"), PastedColours(kAboveFF7F));
    for (const std::string& text : {std::string("#7FFF"), std::string(63, '0') + "G"})
        EXPECT_EQ(ParsePastedColours(text), PastedColours(kNotColour)) << text;
    EXPECT_EQ(ColourTextMessage(kNotColour),
              "A área de transferência não contém uma cor (#RRGGBB, RRGGBB ou uma palavra GBA "
              "como 7FFF) nem uma paleta de 64 dígitos hex.");
    EXPECT_EQ(ColourTextMessage(kAboveFF7F),
              "A palavra GBA FF7F passa de 7FFF: uma cor do GBA tem 15 bits. Na ROM o byte baixo "
              "vem primeiro: os bytes FF 7F são a palavra 7FFF.");
}

TEST(EditHistory, UndoesRedoesForgetsTheRedoBranchAndKeepsTheNewestSteps) {
    const auto state = [](RgbColor sample) { return PaletteSnapshot{.sample = sample}; };
    EditHistory history;
    history.Commit(state(0), state(0)); // nothing changed: no step
    EXPECT_FALSE(history.CanUndo());
    history.Commit(state(0), state(1));
    history.Commit(state(1), state(2));
    EXPECT_EQ(history.Undo(state(2)), state(1));
    history.Commit(state(1), state(3)); // state 2 can no longer be redone
    EXPECT_FALSE(history.CanRedo());
    for (RgbColor i = 0; i <= EditHistory::kMaxSteps; ++i)
        history.Commit(state(i), state(i + 1));
    std::optional<PaletteSnapshot> oldest;
    for (std::size_t i = 0; i < EditHistory::kMaxSteps; ++i)
        oldest = history.Undo(PaletteSnapshot{});
    EXPECT_EQ(oldest, state(1));
    EXPECT_FALSE(history.CanUndo());
}

// Only the swatches' colours and visibility make a step, and a step begun inside another is
// part of it: undo brings back the state the outermost one began with.
TEST(EditHistory, AStepIsCommittedOnceWhenItsOutermostStepEnds) {
    EditorControls controls;
    const bool fileLoaded = true;
    ColourEditor editor(controls, fileLoaded);
    EditHistory history;
    {
        const auto step = history.Begin(editor);
        editor.SetSliderValue(SliderId::Red, 5); // no swatch selected: only the sample changes
    }
    EXPECT_FALSE(history.CanUndo());
    const PaletteSnapshot start = editor.Snapshot();
    {
        const auto outer = history.Begin(editor);
        {
            const auto inner = history.Begin(editor);
            controls.Opt[1].visible = false; // no colour changes
        }
        EXPECT_FALSE(history.CanUndo());
    }
    EXPECT_EQ(history.Undo(editor.Snapshot()), start);
    EXPECT_FALSE(history.CanUndo());
}

TEST(LcdColour, FollowsThePublishedCorrection) {
    const std::pair<ColorWord, Rgb> cases[] = {{0x0000, {0, 0, 0}},
                                               {0x001F, {232, 53, 111}},
                                               {0x7C00, {0, 88, 217}},
                                               {0x0016, {124, 29, 59}},
                                               {0xFFFF, {252, 238, 242}}};
    for (const auto& [word, shown] : cases)
        EXPECT_EQ(SplitColor(LcdColour(word)), shown) << std::hex << word;
    EXPECT_EQ(ScreenColour(0xFEFEFE, true), LcdColour(0x7BDE));
    EXPECT_EQ(ScreenColour(0xFEFEFE, false), 0xFEFEFEu);
}
