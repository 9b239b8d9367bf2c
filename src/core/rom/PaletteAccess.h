// A palette wherever its location says: colour words at a file offset, or inside an LZ77 block.
// A block is read only as far as its declared size can reach, never outside the file; a
// write recompresses it and puts exactly the new stream in place when it fits.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "colour/Codec.h"
#include "platform/Failure.h"
#include "rom/PaletteLocation.h"

namespace zandrel {

// `count` colour words of the palette, bit 15 dropped. Raw: bytes past the end of the file
// read as 0. Compressed: the block must decompress inside the file and hold every word.
Failure ReadPalette(const std::string& path, const PaletteLocation& where, int count,
                    std::vector<ColorWord>& words);

// The bytes of `count` colour words as the byte viewer shows them, bit 15 included: the
// file's (0 past its end), or the decompressed data's, which must hold them.
Failure ReadPaletteBytes(const std::string& path, const PaletteLocation& where, int count,
                         std::vector<std::uint8_t>& bytes);

// Writes the words, bit 15 as 0, in place. A compressed palette's block is read,
// recompressed and written under the file's lock, from the read to the flush: a new stream
// that takes the block's room (CompressedPalette.h), or nothing (DoesNotFit, with the
// shortest stream's length and the room) when even the shortest is longer.
Failure WritePalette(const std::string& path, const PaletteLocation& where,
                     std::span<const ColorWord> words);

// As WritePalette for a compressed palette, with its `count` words as stored handed to
// `change` under the lock, so a change of a few words loses no other writer's. The words
// `change` alters are written with bit 15 as 0; every other byte of the block's data keeps
// its value, bit 15 included, and a change that alters nothing writes nothing.
Failure ChangeCompressedPalette(const std::string& path, const PaletteLocation& where, int count,
                                const std::function<void(std::vector<ColorWord>&)>& change);

} // namespace zandrel
