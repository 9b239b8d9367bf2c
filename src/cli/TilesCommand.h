// zandrel-cli tiles: a stretch of GBA tiles drawn with a palette into an indexed PNG; and
// scan --graphics, the compressed blocks of graphics a file holds.
#pragma once

#include <string>
#include <string_view>

#include "Arguments.h"
#include "CliCommands.h"

namespace zandrel::cli {

inline constexpr std::string_view kTilesUsage =
    "FILE GRAPHICS PALETTE OUT.png [--bpp 4|8] [--width N] [--tiles N] [--lcd] [--transparent]";
inline constexpr OptionRule kTilesOptions[] = {{"--bpp", true},
                                               {"--width", true},
                                               {"--tiles", true},
                                               {"--lcd", false},
                                               {"--transparent", false}};

// Every check (the words, the palette, the source, OUT.png not FILE) before OUT.png is
// written whole through WriteNewFile, or to standard output for "-".
Failure Tiles(const Invocation& call);

// One line per block: its location, its decompressed bytes and its 4bpp tiles, tab-separated.
Failure ScanGraphics(const Invocation& call);

// What the usage says of GRAPHICS, OUT.png and tiles.
std::string GraphicsNote();
std::string TilesNote();

} // namespace zandrel::cli
