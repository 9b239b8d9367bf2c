// Palettes in files: little-endian colour words read and written at a byte offset.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "colour/Codec.h"
#include "platform/Failure.h"
#include "platform/File.h"

namespace zandrel {

// Reads `length` bytes at the 0-based offset; bytes past the end of the file read as 0.
Failure ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length,
                      std::vector<std::uint8_t>& bytes);

// Reads `count` colour words at `location`, low byte first; bit 15 is dropped.
Failure ReadColourWords(const std::string& path, std::int64_t location, int count,
                        std::vector<ColorWord>& words);

// The writers in place. The file must exist and hold every byte written, so its length never
// changes; otherwise nothing is written. The file's exclusive lock is held from before the
// check to after the flush, so no other writer's bytes are lost in between, and the bytes are
// on the disk before success is returned.

// Rewrites `length` bytes at the 0-based `offset`: they are read, edited by `change` and
// written back.
Failure ChangeBytesInPlace(const std::string& path, std::int64_t offset, std::size_t length,
                           const std::function<void(std::vector<std::uint8_t>&)>& change);

// Rewrites bytes at the 0-based `offset` whose extent only the file's bytes tell (an LZ77
// block): `rewrite` reads what it needs from the open, locked file of `size` bytes and gives
// the bytes to write at `offset`, or a Failure to write nothing.
using Rewrite = std::function<Failure(const File& file, std::uint64_t size,
                                      std::vector<std::uint8_t>& replacement)>;
Failure RewriteInPlace(const std::string& path, std::int64_t offset, const Rewrite& rewrite);

// Writes the words at `location`, bit 15 written as 0.
Failure WriteColourWords(const std::string& path, std::int64_t location,
                         std::span<const ColorWord> words);

// Bytes of colour words, low byte first.
std::vector<std::uint8_t> WordsToBytes(std::span<const ColorWord> words);
// Colour words of pairs of bytes, low byte first, bit 15 dropped; a missing byte reads as 0.
std::vector<ColorWord> BytesToWords(std::span<const std::uint8_t> bytes, int count);

} // namespace zandrel
