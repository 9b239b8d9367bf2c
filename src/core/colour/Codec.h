// The one colour codec: GBA colour words, platform colour values and their hex text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "util/ColourTypes.h"
#include "util/Hex.h"

namespace zandrel {

// Exactly 4 hex digits.
std::string WordHexText(ColorWord word);
// Exactly 6 hex digits, blue pair first.
std::string ColorHexText(RgbColor color);

// Inline: a palette read turns every pair of bytes it reads into a word.
inline ColorWord WordFromBytes(int high, int low) {
    return static_cast<ColorWord>(((high & 0x7F) << 8) | (low & 0xFF));
}
RgbColor WordToColor(ColorWord word);
// The first sixteen words as colours; black for any missing.
Palette16 WordsToColours(std::span<const ColorWord> words);
ColorWord ColorToWord(RgbColor color);
Rgb SplitColor(RgbColor color);
RgbColor MakeColor(int red, int green, int blue);
// 5-bit to 8-bit: integer part of c * 8.25.
int ExpandComponent(int component5);
// 8-bit to 5-bit: integer part of (v + 1) / 8.25.
int ReduceComponent(int component8);

} // namespace zandrel
