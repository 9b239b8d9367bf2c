// The GBA BIOS LZ77 format (type 0x10), as games store compressed graphics and palettes.
//
// Layout: byte 0 is 0x10; bytes 1-3 are the decompressed size, little-endian. Then groups of
// one flag byte and eight blocks, the flag's most significant bit for the first block. A 0
// bit is one literal byte; a 1 bit is two bytes: the high nibble of the first is length - 3
// (3 to 18 bytes), its low nibble and the second byte are displacement - 1 (1 to 4096 bytes
// back in the output). Decompression stops as soon as the declared size is produced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zandrel {

enum class Lz77Error {
    None,
    NotLz77,     // no 0x10 header byte at the offset (or the offset is outside the file)
    Truncated,   // the file ends before the declared size is produced
    BeforeStart, // a back-reference reaches before the first decompressed byte
};

struct Lz77Block {
    Lz77Error error = Lz77Error::None;
    std::vector<std::uint8_t> data; // the decompressed bytes, exactly the declared size
    // Bytes from the header to the last byte the decompression consumed, padding excluded:
    // the space the stream occupies in the file.
    std::size_t streamLength = 0;

    bool ok() const { return error == Lz77Error::None; }
};

constexpr std::uint8_t kLz77Header = 0x10;
constexpr std::size_t kLz77HeaderBytes = 4;
constexpr std::size_t kLz77MinMatch = 3;
constexpr std::size_t kLz77MaxMatch = 18;
constexpr std::size_t kLz77Window = 4096; // the largest displacement

// Decompresses the stream at `offset` of `file`. Never reads outside `file` and never
// produces more than the declared size (a last reference running past it is cut there);
// memory grows with the bytes actually decompressed, not with the declared size.
Lz77Block DecompressLz77(std::span<const std::uint8_t> file, std::size_t offset);

// The declared size of the stream at `offset`, or -1 when no header fits there.
std::int64_t Lz77DeclaredSize(std::span<const std::uint8_t> file, std::size_t offset);

} // namespace zandrel
