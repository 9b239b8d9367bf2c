// Two versions of a ROM image compared: the colours that changed in each palette listed, then
// the bytes that differ outside every listed palette, as ranges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/Codec.h"
#include "rom/PaletteLocation.h"

namespace zandrel {

struct ListedPalette {
    PaletteLocation where;
    int colours = 16;
    std::string name;
};

struct ColourChange {
    int index = 0;
    ColorWord before = 0; // bit 15 dropped: the colours, as the swatches show them
    ColorWord after = 0;
    friend bool operator==(const ColourChange&, const ColourChange&) = default;
};

// A listed palette whose colours differ, or that one of the files cannot give (a compressed
// block that no longer decompresses, words past a file's end).
struct PaletteDifference {
    std::size_t palette = 0; // its index in the list
    std::vector<ColourChange> changes;
    bool readableBefore = true;
    bool readableAfter = true;
    friend bool operator==(const PaletteDifference&, const PaletteDifference&) = default;
};

struct ByteRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0; // included
    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

struct RomComparison {
    std::vector<PaletteDifference> palettes; // in the order listed
    std::uint64_t bytes = 0;                 // differing bytes outside the listed palettes
    std::uint64_t ranges = 0;                // runs of them
    std::vector<ByteRange> firstRanges;      // the first few, in file order
    bool Same() const { return palettes.empty() && bytes == 0; }
};

// Bytes past the end of the shorter file differ. A palette stands for its words, or for its
// block's stream in either file when it is compressed.
RomComparison CompareRoms(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                          std::span<const ListedPalette> palettes, std::size_t rangesKept = 8);

} // namespace zandrel
