// Finds compressed graphics: the LZ77 blocks of a ROM image that decompress to whole tiles
// (at least 256 bytes, a multiple of 32: 4bpp tiles of 32 bytes, 8bpp ones of 64). The
// viewer's F3 and Shift+F3 step between them; `zandrel-cli scan --graphics` lists them.
//
// Bounded work: only 4-byte aligned headers (0x10, a size that is tiles, no more than the
// GBA's 256 KiB of work RAM takes and no more than the bytes after it can encode, a first
// block that is a literal) are decompressed, and the sizes they declare add up to at most
// four times the file's size plus one largest block; a header whose size would pass that is
// skipped. A block found is not searched for others inside its stream.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "rom/Lz77.h"

namespace zandrel {

inline constexpr std::uint32_t kSmallestGraphicsBlock = 256;
inline constexpr std::uint32_t kLargestGraphicsBlock = 256 * 1024;
inline constexpr std::uint32_t kGraphicsTileBytes = 32; // a 4bpp tile, half an 8bpp one

struct GraphicsBlock {
    std::uint32_t location = 0; // the header's file offset
    std::uint32_t size = 0;     // decompressed bytes
    friend bool operator==(const GraphicsBlock&, const GraphicsBlock&) = default;
};

// What a walk over a file's LZ77 blocks tries: declared sizes from `smallest` to
// kLargestGraphicsBlock, a multiple of `multipleOf`, adding up to at most `budget`.
struct Lz77WalkLimits {
    std::uint32_t smallest = 0;
    std::uint32_t multipleOf = 1;
    std::uint64_t budget = 0;
};

// Decompresses each block a 4-byte aligned header may start (0x10, a size within the limits
// and within what the bytes after it can encode, a first block that is a literal) and hands
// it to `visit` with its header's offset; a block found is not searched for others inside its
// stream.
void ForEachLz77Block(std::span<const std::uint8_t> rom, Lz77WalkLimits limits,
                      const std::function<void(std::uint32_t, const Lz77Block&)>& visit);

// The blocks in file order.
std::vector<GraphicsBlock> FindGraphicsBlocks(std::span<const std::uint8_t> rom);

// The first block after `offset` or, `backward`, the last before it; nothing when there is
// none that way. `blocks` in file order.
std::optional<GraphicsBlock> NextGraphicsBlock(std::span<const GraphicsBlock> blocks,
                                               std::uint32_t offset, bool backward);

} // namespace zandrel
