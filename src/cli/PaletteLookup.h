// The palette a command works on: the row PALETTE names in FILE's definition file, where the
// open command finds that file, or the location PALETTE gives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Arguments.h"
#include "platform/DataFolders.h"
#include "platform/Failure.h"
#include "rom/Definitions.h"
#include "rom/Identify.h"
#include "rom/PaletteLocation.h"
#include "util/ColourTypes.h"

namespace zandrel::cli {

// FILE must at least open for reading before anything is decided about it.
Failure CheckReadable(const std::string& path);

// FILE's game as the open command finds it. A file of no known game is refused with the
// window's message and, after it, why (NotIdentifiedDetails).
Failure IdentifyGame(const std::string& path, const DataFolders& folders,
                     Identification& identification);
// Where the definition file of an identification is read from.
std::string DefinitionPath(const Identification& identification, const DataFolders& folders);

// How many colours a command takes from the palette.
enum class ColourNeed {
    ViewerCount, // as many as the byte viewer shows
    OneOrMore,   // as many as the window's swatches take: 1 to 16
    Sixteen,     // all sixteen, as the window's export and import need
};

struct Palette {
    std::string name; // the definition's name, or "@" and the location
    PaletteLocation where;
    std::int64_t count = 0; // the colours the need gives
};

struct Definitions {
    std::string name;
    std::string path;
    PaletteTable table;
};

// The definition file of FILE, loaded whole: one that stops early is refused, not half used.
Failure LoadDefinitions(const std::string& path, const DataFolders& folders,
                        Definitions& definitions);

// The palette PALETTE names in FILE, with the colours `need` gives; a location gives sixteen.
Failure ResolvePalette(const std::string& path, const PaletteArgument& argument,
                       const DataFolders& folders, ColourNeed need, Palette& palette);

// A raw palette that a command reads whole must lie inside FILE: its `colours` words reaching
// past the end are refused as a write there is (PaletteBeyondEnd), never shown as black.
Failure CheckInsideFile(const std::string& path, const PaletteLocation& where,
                        std::int64_t colours);
// The `colours` words of a palette read whole: inside FILE, as CheckInsideFile asks.
Failure ReadWholePalette(const std::string& path, const PaletteLocation& where,
                         std::int64_t colours, std::vector<ColorWord>& words);

} // namespace zandrel::cli
