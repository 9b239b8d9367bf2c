// The exchange files beyond the window's three: GIMP palettes and Adobe colour tables, and
// readers for every format. Pure functions over bytes and text, so the command-line tool, the
// tests and fuzzers share them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Codec.h"
#include "palfiles/PaletteFormats.h"
#include "platform/Failure.h"

namespace zandrel {

// Adobe colour table: 256 RGB triples; some tools add a big-endian colour count and a
// transparent index after them.
inline constexpr std::size_t kActPaletteSize = 768;
inline constexpr std::size_t kActPaletteSizeWithCount = 772;
// The largest files of each format read: a raw GBA palette holds at most the GBA's whole
// palette memory (512 colours), a Tile Layer Pro palette 256 RGB entries, and a text palette
// room for thousands of colours and their names.
inline constexpr std::size_t kMaxGbaPaletteFileSize = 1024;
inline constexpr std::size_t kMaxTplPaletteSize = 4 + 3 * 256;
inline constexpr std::size_t kMaxTextPaletteSize = 64 * 1024;

// Any format a file name asks for by its extension, ignoring case: the window's three as
// ExportFormatForName finds them, then ".GPL" and ".ACT".
PaletteFormat ExchangeFormatForName(std::string_view name);

// "GIMP Palette", "Name: <name>", "Columns: 16", "#", then one "rrr ggg bbb<TAB>WORD" line
// per colour (the components right-aligned in three places, the colour word as its name),
// every line ended by LF. Line ends in the name are dropped.
std::string GimpPaletteText(const Palette16& colours, std::string_view name);
// 768 bytes: the sixteen RGB triples, then zeros for the other 240 entries.
std::vector<std::uint8_t> ActPaletteBytes(const Palette16& colours);

// Sixteen colours with 8-bit components, as a file holds them.
using Components16 = std::array<Rgb, kPaletteColours>;

// What a reader makes of a file's bytes. A refusal is BadPaletteFile, its reason naming the
// line or offset at fault; the readers know no file name, so the caller names the file.
struct ComponentsResult {
    Components16 colours{};
    Failure failure;
    bool ok() const { return failure.ok(); }
};

// The text palettes skip a leading UTF-8 byte-order mark; their lines end in CR LF, LF or a
// bare CR; a text longer than kMaxTextPaletteSize is refused.
// JASC-PAL: "JASC-PAL", "0100", the colour count (16 or more), then "r g b" lines; the first
// sixteen are read.
ComponentsResult ReadJascPalette(std::string_view text);
// GIMP palette: "GIMP Palette", then colour lines "r g b [name]"; "Name:" and "Columns:"
// lines, comments ("#") and empty lines are skipped. The first sixteen colours are read.
ComponentsResult ReadGimpPalette(std::string_view text);
// Adobe colour table of 768 or 772 bytes; the first sixteen entries are read. A 772-byte
// table must not declare fewer than 16 colours.
ComponentsResult ReadActPalette(std::span<const std::uint8_t> bytes);
// Tile Layer Pro palette: 52 to kMaxTplPaletteSize bytes, "TPL" and type 0 (3-byte RGB
// entries).
ComponentsResult ReadTplPalette(std::span<const std::uint8_t> bytes);

// 8-bit components to colour words. ReduceComponent, unless every component is a multiple
// of 8: many tools write a 5-bit component c as c x 8 (31 as 248, which ReduceComponent would
// make 30), so such colours are divided by 8 instead. Colours this program wrote come back
// as the same words either way.
PaletteWords16 WordsFromComponents(const Components16& colours);

struct WordsResult {
    PaletteWords16 words{};
    Failure failure; // as ComponentsResult's
    bool ok() const { return failure.ok(); }
};

// The sixteen colour words of an exchange file's bytes. A raw GBA palette must hold its 32
// bytes and at most kMaxGbaPaletteFileSize (bytes after the 32nd are ignored, bit 15 is
// dropped); the others go through their reader and WordsFromComponents.
WordsResult ReadExchangeFile(PaletteFormat format, std::span<const std::uint8_t> bytes);

// The format a file's bytes are in, whatever its name: JASC or GIMP by their header's first
// word (any letter case, after a byte-order mark and blanks), Tile Layer Pro by "TPL", an
// ACT table by its size, and a raw GBA palette otherwise.
PaletteFormat PaletteFormatOfContent(std::span<const std::uint8_t> bytes);
// ReadExchangeFile in the format of the content.
WordsResult ReadPaletteOfContent(std::span<const std::uint8_t> bytes);

} // namespace zandrel
