#include "gfx/Tiles.h"

#include <algorithm>

namespace zandrel {

std::size_t TileBytes(int bitsPerPixel) {
    return static_cast<std::size_t>(bitsPerPixel) * kTileSide;
}

std::size_t TilesOf(std::uint64_t bytes, int bitsPerPixel) {
    const std::size_t tile = TileBytes(bitsPerPixel);
    return static_cast<std::size_t>((bytes + tile - 1) / tile);
}

TileImage DecodeTiles(std::span<const std::uint8_t> bytes, const TileGrid& grid,
                      std::size_t tiles) {
    const std::size_t width = grid.widthInTiles;
    const std::size_t rows = (tiles + width - 1) / width;
    TileImage image{static_cast<int>(width * kTileSide), static_cast<int>(rows * kTileSide), {}};
    image.indexes.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    const std::size_t tileBytes = TileBytes(grid.bitsPerPixel);
    const std::size_t shown = std::min(bytes.size(), tiles * tileBytes);
    for (std::size_t first = 0; first < shown; first += tileBytes) {
        const std::size_t tile = first / tileBytes;
        std::uint8_t* corner =
            &image.indexes[(tile / width * kTileSide) * image.width + tile % width * kTileSide];
        const std::size_t end = std::min(shown, first + tileBytes);
        for (std::size_t at = first; at < end; ++at) {
            const std::size_t inTile = (at - first) * 8 / grid.bitsPerPixel; // first pixel
            std::uint8_t* pixel = corner + inTile / kTileSide * image.width + inTile % kTileSide;
            if (grid.bitsPerPixel == 8) {
                pixel[0] = bytes[at];
            } else {
                pixel[0] = bytes[at] & 0x0F;
                pixel[1] = bytes[at] >> 4;
            }
        }
    }
    return image;
}

} // namespace zandrel
