// Colours and palettes as text: what the user copies to other tools, pastes back or types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "colour/Codec.h"
#include "util/ColourTypes.h"

namespace zandrel {

// "#RRGGBB": red, green and blue as the swatch shows them.
std::string SwatchColourText(RgbColor color);
// Every notation of a swatch colour, one a line, for its tooltip: the GBA word, "#RRGGBB",
// the 5-bit components and the word's two bytes as they sit in the ROM.
std::string ColourNotations(RgbColor color);
// 64 upper-case hex digits: the palette's 32 bytes as they sit in the ROM, low byte first.
std::string PaletteText(const PaletteWords16& words);

enum class ColourTextRefusal {
    ClipboardNotColour, // the clipboard holds neither a colour nor a palette
    TypedNotColour,     // the typed text is not a colour
    WordAboveMaximum,   // a 4-digit word above 7FFF
};

struct ColourTextFailure {
    ColourTextRefusal refusal = ColourTextRefusal::ClipboardNotColour;
    std::uint16_t word = 0; // WordAboveMaximum: the word as written
    friend bool operator==(const ColourTextFailure&, const ColourTextFailure&) = default;
};

// The text of the exclamation box that says why nothing changed.
std::string ColourTextMessage(const ColourTextFailure& failure);

// One colour for the selected swatch, a whole palette from swatch 0, or why neither.
using PastedColours = std::variant<ColourTextFailure, ColorWord, PaletteWords16>;
using TypedColour = std::variant<ColourTextFailure, ColorWord>;

// A colour as written, ignoring case and blanks around it: "#RRGGBB" or "RRGGBB" (reduced to
// 15 bits as a colour-dialog choice is), or exactly 4 digits "7FFF", "$7FFF", "0x7FFF" for a
// colour word. A word above 7FFF is refused, not cut to 15 bits: it is most likely two bytes
// copied in ROM order (FF7F is the word 7FFF), and a silently different colour would hide that.
TypedColour ParseTypedColour(std::string_view text);
// What the clipboard holds: 64 hex digits with blanks anywhere are a palette, read as the ROM
// reader reads its bytes (low byte first, bit 15 of each word dropped); otherwise one colour
// as ParseTypedColour reads it.
PastedColours ParsePastedColours(std::string_view text);

} // namespace zandrel
