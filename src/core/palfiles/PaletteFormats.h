// The palette exchange files by format: the format a file name or a file's bytes ask for,
// the bytes of a format, and the colour words read from them. Each format is a unit of its
// own (GbaPalette, TplPalette, JascPalette, GimpPalette, ActPalette, PngPalette) and one row of the
// table in PaletteFormats.cpp. Pure functions over bytes, so the commands, the tests and the
// fuzzers share them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Codec.h"
#include "platform/Failure.h"

namespace zandrel {

enum class PaletteFormat {
    None,   // a name with no known extension: nothing is written
    GbaRaw, // .GBAPAL
    Tpl,    // .tpl
    Jasc,   // .pal
    Gimp,   // .gpl
    Act,    // .act
    Png,    // .png, read only: its PLTE
};

// The formats each dialog lists and each writer offers: Importar's dialog one (the import
// reads every format by its content), Exportar three; zandrel-cli and the context menu's
// palette-file commands every one they can write, or read.
inline constexpr std::array kWindowImportFormats{PaletteFormat::GbaRaw};
inline constexpr std::array kWindowExportFormats{PaletteFormat::GbaRaw, PaletteFormat::Tpl,
                                                 PaletteFormat::Jasc};
inline constexpr std::array kEveryPaletteFormat{PaletteFormat::GbaRaw, PaletteFormat::Tpl,
                                                PaletteFormat::Jasc, PaletteFormat::Gimp,
                                                PaletteFormat::Act};
inline constexpr std::array kEveryReadableFormat{PaletteFormat::GbaRaw, PaletteFormat::Tpl,
                                                 PaletteFormat::Jasc,   PaletteFormat::Gimp,
                                                 PaletteFormat::Act,    PaletteFormat::Png};

// The format among `offered` whose extension ends the name, ignoring case; None when none
// does.
PaletteFormat FormatForName(std::string_view name, std::span<const PaletteFormat> offered);

// A file dialog's filter text for the formats: "description|pattern" for each, joined by "|"
// ("GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer Pro|*.tpl").
std::string PaletteDialogFilter(std::span<const PaletteFormat> formats);
// Their patterns joined by ";", one filter entry for them all ("*.GBAPAL;*.tpl").
std::string PalettePatterns(std::span<const PaletteFormat> formats);

// The file bytes of a format; `name` is used by the GIMP palette only. Empty for None and for
// a format read only (PNG).
std::vector<std::uint8_t> PaletteFileBytes(PaletteFormat format, const Palette16& colours,
                                           std::string_view name = {});

// The sixteen colour words of a file's bytes in `format`, as its reader takes them (8-bit
// components through WordsFromComponents). A refusal is FileRefused with no file name, its
// reason naming the line or offset at fault. `words` changes only on success.
Failure ReadInFormat(PaletteFormat format, std::span<const std::uint8_t> bytes,
                     PaletteWords16& words);

// The format a file's bytes are in, whatever its name: a format with a header (JASC, GIMP,
// Tile Layer Pro, the PNG signature) when the bytes begin with it, else an ACT table by its size,
// else a raw GBA palette, which has no header and is what remains. An ACT table holds any bytes, so
// its first colours may spell a header: at an ACT table's sizes a text header decides only when its
// reader takes the bytes, and "TPL" only where a Tile Layer Pro file can have that size (772 bytes,
// not 768).
PaletteFormat PaletteFormatOfContent(std::span<const std::uint8_t> bytes);
// ReadInFormat in the format of the content.
Failure ReadPaletteOfContent(std::span<const std::uint8_t> bytes, PaletteWords16& words);

} // namespace zandrel
