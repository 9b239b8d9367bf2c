// Finds where a palette seen elsewhere (a memory dump's row, colours copied as text) lies in
// a ROM image: at every 2-byte aligned place of the file and of the decompressed data of every
// LZ77 block, bit 15 of every word ignored, each 5-bit component within a tolerance.
//
// Bounded work: the blocks tried are the 4-byte aligned headers (0x10, at least a palette's
// size, at most the 256 KiB of the GBA's work RAM, no more than the bytes after them can
// encode, a first block that is a literal), each decompressed once; their declared sizes add
// up to at most twice the file's size and one largest block, and a block found is not searched
// for others inside its stream, nor past the byte FFFF a location can name. The matches kept
// are the kMostMatches best. The machine's threads share the blocks and the raw places, a MiB
// at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "rom/PaletteLocation.h"
#include "util/ColourTypes.h"

namespace zandrel {

// A component's steps: 0 to 31.
inline constexpr int kLargestTolerance = 31;
inline constexpr std::size_t kMostMatches = 32767; // what a definition file holds

struct FindOptions {
    int tolerance = 0;      // the steps each 5-bit component may differ by
    int colours = 16;       // only the first ones are compared: 1 to 16
    bool skipFirst = false; // colour 0 is left out (it often differs between RAM and ROM)
};

struct PaletteMatch {
    PaletteLocation where;
    int steps = 0;     // the largest difference of a component compared: 0 is exact
    int differing = 0; // the colours compared that are not equal
    friend bool operator==(const PaletteMatch&, const PaletteMatch&) = default;
};

struct FindResult {
    std::vector<PaletteMatch> matches; // best first: fewest steps, fewest colours, file order
    std::size_t found = 0;             // matches before only the best were kept
    std::size_t blocks = 0;            // the LZ77 blocks searched
};

FindResult FindPalette(std::span<const std::uint8_t> rom, const PaletteWords16& wanted,
                       const FindOptions& options = {});

// The name a definition file gets for a match: "exata", or "próxima: 3 cores a até 2 passos".
std::string MatchName(const PaletteMatch& match);

} // namespace zandrel
