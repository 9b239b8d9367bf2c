// Palettes in files: little-endian colour words read and written at a byte offset.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/Codec.h"
#include "platform/Failure.h"

namespace zandrel {

// Reads `length` bytes at the 0-based offset; bytes past the end of the file read as 0.
Failure ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length,
                      std::vector<std::uint8_t>& bytes);

// Reads `count` colour words at `location`, low byte first; bit 15 is dropped.
Failure ReadColourWords(const std::string& path, std::int64_t location, int count,
                        std::vector<ColorWord>& words);

// Writes the bytes into an existing file in place, at the 0-based `offset`: the file must
// exist and hold every byte written, so its length never changes; otherwise nothing is
// written. Flushed to disk before it returns.
Failure WriteBytesInPlace(const std::string& path, std::int64_t offset,
                          std::span<const std::uint8_t> bytes);

// Writes the words at `location` in place, bit 15 written as 0, as WriteBytesInPlace does.
Failure WriteColourWords(const std::string& path, std::int64_t location,
                         std::span<const ColorWord> words);

// Bytes of colour words, low byte first.
std::vector<std::uint8_t> WordsToBytes(std::span<const ColorWord> words);
// Colour words of pairs of bytes, low byte first, bit 15 dropped; a missing byte reads as 0.
std::vector<ColorWord> BytesToWords(std::span<const std::uint8_t> bytes, int count);

} // namespace zandrel
