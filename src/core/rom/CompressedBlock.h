// An LZ77 block read from a file: only the bytes its declared size can reach, never outside
// the file, and why one does not decompress, as the messages say it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/File.h"
#include "rom/Lz77.h"

namespace zandrel {

// The bytes from the block's header as far as its declared size can reach, cut at the end of
// the file; none when the block's location is outside the file.
FileStatus ReadBlockBytes(const File& file, std::uint64_t size, std::uint32_t block,
                          std::vector<std::uint8_t>& bytes);

// Why the block does not decompress (`outsideFile`: its location is not inside the file of
// `size` bytes).
std::string BlockErrorText(Lz77Error error, bool outsideFile, std::uint64_t size);

// ReadBlockBytes from the file at `path`, opened for reading, with the file's size; CannotRead
// when the file cannot be read.
Failure ReadBlockFile(const std::string& path, std::uint32_t block,
                      std::vector<std::uint8_t>& bytes, std::uint64_t& size);

// The block at `block` of the file at `path`, decompressed: CannotRead when the file cannot
// be read, BadBlock with BlockErrorText when the block does not decompress.
Failure DecompressBlockAt(const std::string& path, std::uint32_t block, Lz77Block& decompressed);

} // namespace zandrel
