// JASC palette (.pal): "JASC-PAL", "0100", the colour count, then "r g b" per colour.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "palfiles/RgbTriples.h"
#include "platform/Failure.h"

namespace zandrel {

// "JASC-PAL", "0100", "16", then "r g b" per colour, every line ended by CR LF.
std::string JascPaletteText(const Palette16& colours);

// "JASC-PAL", "0100", the colour count (16 or more), then "r g b" lines; the first sixteen
// are read. A leading UTF-8 byte-order mark is skipped; lines end in CR LF, LF or a bare CR;
// a text longer than kMaxTextPaletteSize is refused.
Failure ReadJascPalette(std::string_view text, Components16& colours);

// Whether the bytes' first word is "JASC" in any letter case, after a byte-order mark and
// blanks.
bool StartsAsJasc(std::span<const std::uint8_t> bytes);

} // namespace zandrel
