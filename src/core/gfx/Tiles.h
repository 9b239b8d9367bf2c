// GBA tiles as colour indexes: 8x8 pixels, 4 bits per pixel (32 bytes, each row 4 bytes, the
// low nibble the left pixel of its two) or 8 (64 bytes, one byte a pixel), laid left to right
// in rows of a chosen number of tiles, as a tile viewer shows a stretch of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zandrel {

inline constexpr int kTileSide = 8;
inline constexpr int kNarrowestGrid = 1;
inline constexpr int kWidestGrid = 64;

struct TileGrid {
    int bitsPerPixel = 4; // 4 or 8
    int widthInTiles = 16;
    friend bool operator==(const TileGrid&, const TileGrid&) = default;
};

// 32 for 4 bits per pixel, 64 for 8.
std::size_t TileBytes(int bitsPerPixel);
// The tiles `bytes` bytes take, a part of one counting whole.
std::size_t TilesOf(std::uint64_t bytes, int bitsPerPixel);

// Colour indexes, one byte a pixel, rows top to bottom.
struct TileImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indexes;
};

// `tiles` tiles from the start of `bytes`, grid.widthInTiles to a row. Bytes past the end of
// `bytes` read as 0, and the tiles that fill a last row that is not full are index 0: the
// image is widthInTiles tiles wide and as many rows high as the tiles need.
TileImage DecodeTiles(std::span<const std::uint8_t> bytes, const TileGrid& grid, std::size_t tiles);

} // namespace zandrel
