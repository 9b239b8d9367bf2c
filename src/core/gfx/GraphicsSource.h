// The bytes graphics are read from: the file itself for a plain location, read a view at a
// time, or an LZ77 block's decompressed data, decompressed once when the source is opened
// (only the bytes the block's declared size can reach are read).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/GraphicsLocation.h"
#include "gfx/Tiles.h"
#include "platform/Failure.h"

namespace zandrel {

class GraphicsSource {
  public:
    // The source `where` lies in: refused when the file cannot be read, when a plain location
    // lies past the end of the file, when the block does not decompress, or when the byte in
    // the block lies past the end of its data. `source` changes only on success.
    static Failure Open(const std::string& path, const GraphicsLocation& where,
                        GraphicsSource& source);

    const std::string& path() const { return path_; }
    bool compressed() const { return compressed_; }
    // The bytes it holds: the file's length when opened, or the block's decompressed bytes.
    std::uint64_t size() const { return size_; }
    // `length` bytes from `offset` of the file or the data; bytes past the end read as 0.
    Failure Read(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>& bytes) const;
    // The location of a byte of the source.
    GraphicsLocation LocationOf(std::uint64_t offset) const;
    // The byte of the source a location of it names.
    std::uint64_t OffsetOf(const GraphicsLocation& where) const;

  private:
    std::string path_;
    bool compressed_ = false;
    std::uint32_t block_ = 0;
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> data_; // compressed only
};

// `tiles` tiles of `grid` from byte `start` of the source, decoded: only their bytes are read,
// and those past the end of the source are index 0.
Failure ReadTiles(const GraphicsSource& source, std::uint64_t start, const TileGrid& grid,
                  std::size_t tiles, TileImage& image);

} // namespace zandrel
