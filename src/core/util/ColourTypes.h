// The colour values every part of the program passes around, and the size of a palette.
#pragma once

#include <array>
#include <cstdint>

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

// The sixteen swatches, the colours of a palette file and of the special mode's palette.
inline constexpr int kPaletteColours = 16;
using Palette16 = std::array<RgbColor, kPaletteColours>;
using PaletteWords16 = std::array<ColorWord, kPaletteColours>;

} // namespace zandrel
