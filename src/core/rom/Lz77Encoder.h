// Streams of the GBA BIOS LZ77 format (Lz77.h) that the BIOS decompresses to WRAM and VRAM
// alike: no reference has displacement 1 (VRAM is written 16 bits at a time), and none runs
// past the declared size. `data` must be shorter than 16 MiB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zandrel {

// The shortest stream (the parse of fewest bits over the matches FindLz77Matches gives),
// padded with zeros to a multiple of 4 bytes, as GBA tools store it.
std::vector<std::uint8_t> CompressLz77(std::span<const std::uint8_t> data);

struct Lz77Fit {
    // Every byte the decompression consumes, no padding; empty when the shortest stream is
    // longer than the room.
    std::vector<std::uint8_t> stream;
    std::size_t shortest = 0; // the shortest stream's length
};

// A stream of `data` to write over a stream that `room` bytes held (header to the last byte
// its decompression consumed): one that takes exactly `room` bytes, literals traded for
// references as needed, so the room a block has never shrinks. Every parse of the last KiB of
// the data is known, and before it the shortest parse's references are kept, shortened or
// made literals; up to 1 KiB of data that finds every length a stream can have. When none
// found is that long (all literals are shorter, or no parse gives that length, which happens
// within a few bytes of either end), the longest shorter one.
Lz77Fit CompressLz77ToFit(std::span<const std::uint8_t> data, std::size_t room);

} // namespace zandrel
