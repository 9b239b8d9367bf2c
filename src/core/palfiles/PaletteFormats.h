// The palette exchange files, built from and read into sixteen colours. Pure functions over
// bytes, so the commands, the tests and command-line tools share them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Codec.h"

namespace zandrel {

// Raw GBA palette: sixteen colour words, low byte first, no header.
inline constexpr std::size_t kGbaPaletteSize = 32;
// Tile Layer Pro palette: "TPL", type byte 0 (3-byte RGB entries), then 16 RGB triples.
inline constexpr std::size_t kTplPaletteSize = 52;
inline constexpr std::array<std::uint8_t, 4> kTplHeader{0x54, 0x50, 0x4C, 0x00};

// The palette exchange files: the window's three and zandrel-cli's two more.
enum class PaletteFormat {
    None,   // a name with no known extension: nothing is written
    GbaRaw, // .GBAPAL
    Tpl,    // .tpl
    Jasc,   // .pal
    Gimp,   // .gpl
    Act,    // .act
};

// The window's export format a file name asks for, by its extension, ignoring case: ".TPL",
// then ".PAL", then ".GBAPAL"; the window writes no other.
PaletteFormat ExportFormatForName(std::string_view name);

// The 32 bytes of a raw GBA palette; each colour goes through ColorToWord, so bit 15 is 0.
std::vector<std::uint8_t> GbaPaletteBytes(const Palette16& colours);
// The 52 bytes of a Tile Layer Pro palette.
std::vector<std::uint8_t> TplPaletteBytes(const Palette16& colours);
// The JASC palette text: "JASC-PAL", "0100", "16", then "r g b" per colour, every line
// ended by CR LF.
std::string JascPaletteText(const Palette16& colours);
// The file bytes of a format; `name` is used by the GIMP palette only. Empty for None.
std::vector<std::uint8_t> PaletteFileBytes(PaletteFormat format, const Palette16& colours,
                                           std::string_view name = {});

// The sixteen colour words of a raw GBA palette file's bytes: bit 15 dropped, missing bytes
// read as 0, bytes after the 32nd ignored.
PaletteWords16 GbaPaletteWords(std::span<const std::uint8_t> bytes);

// The 48 bytes of sixteen red, green, blue triples (a GIF colour table's first 16 entries,
// the body of a Tile Layer Pro palette).
std::array<std::uint8_t, 3 * kPaletteColours> RgbTripleBytes(const Palette16& colours);

} // namespace zandrel
