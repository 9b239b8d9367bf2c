// The one colour codec: GBA colour words, platform colour values and hex text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zandrel {

// 15-bit GBA colour: red in bits 0-4, green 5-9, blue 10-14; bit 15 carries no colour.
using ColorWord = std::uint16_t;
// Platform colour value: red in bits 0-7, green 8-15, blue 16-23, top byte zero.
using RgbColor = std::uint32_t;

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Hex text to a number, digits valued from the right; 0 on any failure (never throws).
std::int32_t HexToNumber(std::string_view text);
// Upper-case hex without leading zeros; 0 gives "0".
std::string HexText(std::int64_t n);
// Exactly 4 hex digits.
std::string WordHexText(ColorWord word);
// Exactly 6 hex digits, blue pair first.
std::string ColorHexText(RgbColor color);

ColorWord WordFromBytes(int high, int low);
RgbColor WordToColor(ColorWord word);
ColorWord ColorToWord(RgbColor color);
Rgb SplitColor(RgbColor color);
RgbColor MakeColor(int red, int green, int blue);
// 5-bit to 8-bit: integer part of c * 8.25.
int ExpandComponent(int component5);
// 8-bit to 5-bit: integer part of (v + 1) / 8.25.
int ReduceComponent(int component8);

} // namespace zandrel
