// The earlier copies an LZ77 encoder may refer to: for every position of the data, the
// longest copy the BIOS format can encode there (Lz77.h) and VRAM can take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zandrel {

struct Lz77Matches {
    std::vector<std::uint8_t> length;        // 0 when no copy of at least 3 bytes is there
    std::vector<std::uint16_t> displacement; // how far back the copy starts, 2 to 4096
};

// Copies of 3 to 18 bytes, 2 to 4096 bytes back (1 would read a byte of the halfword VRAM is
// being written), never past the end of `data`. Up to 1 KiB of data every earlier place is
// compared, so each length is the longest; beyond that each position compares a bounded
// number of the nearest places that share its first bytes (besides the copy it continues and
// the nearest 18-byte one), so the cost grows with the data's length and nothing else.
// A copy of k >= 4 bytes at i always gives one of at least k - 1 bytes at i + 1 (the same copy
// a byte on), so every later part of a copy, 3 bytes or longer, is a copy there too.
Lz77Matches FindLz77Matches(std::span<const std::uint8_t> data);

} // namespace zandrel
