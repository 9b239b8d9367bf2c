// Palettes inside LZ77 blocks, as pure functions over the file's bytes: read the colour words
// at a byte offset of the decompressed data, or build the block's replacement stream after
// changing them. Nothing here touches a file.
//
// Room: the bytes the original stream takes, from its header to the last byte its
// decompression consumes (padding after it does not count). The replacement takes exactly
// that room whenever a stream of the data can (Lz77Encoder.h), so a block never loses room
// however often it is written, and it is refused only when even the shortest stream is
// longer. The caller writes exactly the replacement at the block's location: the file keeps
// its length and every byte after the room.
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
    DoesNotFit,   // the shortest stream of the changed data is longer than the room
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
    std::size_t shortest = 0;         // the shortest stream's length (also when too long)
    std::size_t room = 0;             // the original stream's length

    bool ok() const { return error == BlockPaletteError::None; }
};

// `count` colour words from byte `offsetInBlock` of the block at `block`.
BlockPaletteRead ReadBlockPalette(std::span<const std::uint8_t> file, std::size_t block,
                                  std::size_t offsetInBlock, std::size_t count);

// The block at `block` recompressed with `words` (stored as given, bit 15 included) from byte
// `offsetInBlock` of its data; DoesNotFit carries both lengths and no stream.
BlockPaletteWrite PatchBlockPalette(std::span<const std::uint8_t> file, std::size_t block,
                                    std::size_t offsetInBlock, std::span<const ColorWord> words);

} // namespace zandrel
