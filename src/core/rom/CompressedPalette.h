// Palettes inside LZ77 blocks, as pure functions over the file's bytes: read the colour words
// at a byte offset of the decompressed data, or build the block's replacement stream after
// changing them. Nothing here touches a file.
//
// Fitting: the replacement is the recompressed block without its padding, and it fits when
// it is no longer than the original stream (header to the last byte the decompression
// consumed, the original's padding not counted). The caller writes exactly those bytes at
// the block's location, nothing after them: whatever followed the new stream inside the
// original's space is never read by the decompression, which stops at the declared size,
// and the file keeps its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "colour/Codec.h"
#include "rom/Lz77.h"

namespace zandrel {

enum class BlockPaletteError {
    None,
    BadBlock,     // the block does not decompress; `blockError` says why
    OutsideBlock, // the words do not lie inside the decompressed data (or the offset is odd)
    DoesNotFit,   // the recompressed block is longer than the original stream
};

struct BlockPaletteRead {
    BlockPaletteError error = BlockPaletteError::None;
    Lz77Error blockError = Lz77Error::None;
    std::vector<ColorWord> words; // as stored, bit 15 included

    bool ok() const { return error == BlockPaletteError::None; }
};

struct BlockPaletteWrite {
    BlockPaletteError error = BlockPaletteError::None;
    Lz77Error blockError = Lz77Error::None;
    std::vector<std::uint8_t> stream; // the bytes to write at the block's location
    std::size_t newLength = 0;        // the recompressed stream's length (also when too long)
    std::size_t originalLength = 0;   // the original stream's length

    bool ok() const { return error == BlockPaletteError::None; }
};

// `count` colour words from byte `offsetInBlock` of the block at `block`.
BlockPaletteRead ReadBlockPalette(std::span<const std::uint8_t> file, std::size_t block,
                                  std::size_t offsetInBlock, std::size_t count);

// The block at `block` recompressed with `words` (bit 15 written as 0) from byte
// `offsetInBlock` of its data; DoesNotFit carries both lengths and no stream.
BlockPaletteWrite PatchBlockPalette(std::span<const std::uint8_t> file, std::size_t block,
                                    std::size_t offsetInBlock, std::span<const ColorWord> words);

} // namespace zandrel
