// GIMP palette (.gpl): "GIMP Palette", then colour lines "r g b [name]".
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "palfiles/RgbTriples.h"
#include "platform/Failure.h"

namespace zandrel {

// "GIMP Palette", "Name: <name>", "Columns: 16", "#", then one "rrr ggg bbb<TAB>WORD" line
// per colour (the components right-aligned in three places, the colour word as its name),
// every line ended by LF. Line ends in the name are dropped.
std::string GimpPaletteText(const Palette16& colours, std::string_view name);

// "GIMP Palette", then colour lines "r g b [name]"; "Name:" and "Columns:" lines, comments
// ("#") and empty lines are skipped. The first sixteen colours are read. A leading UTF-8
// byte-order mark is skipped; lines end in CR LF, LF or a bare CR; a text longer than
// kMaxTextPaletteSize is refused.
Failure ReadGimpPalette(std::string_view text, Components16& colours);

// Whether the bytes' first word is "GIMP" in any letter case, after a byte-order mark and
// blanks.
bool StartsAsGimp(std::span<const std::uint8_t> bytes);

} // namespace zandrel
