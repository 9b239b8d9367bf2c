#include "gfx/TileViewer.h"

#include <algorithm>

#include "platform/NewFile.h"
#include "png/Png.h"
#include "util/Text.h"

namespace zandrel {

namespace {

// A plain location's text stops at 7FFFFFFF.
constexpr std::uint64_t kLastPlainStart = 0x7FFFFFFF;

std::size_t ViewTiles(const TileGrid& grid, int rows) {
    return static_cast<std::size_t>(rows) * grid.widthInTiles;
}

} // namespace

Failure TileViewer::Open(const std::string& path, const GraphicsLocation& start) {
    GraphicsSource source;
    if (Failure failure = GraphicsSource::Open(path, start, source); !failure.ok())
        return failure;
    const std::uint64_t offset = source.OffsetOf(start);
    TileImage view;
    if (Failure failure = ReadTiles(source, offset, grid_, ViewTiles(grid_, rows_), view);
        !failure.ok())
        return failure;
    source_ = std::move(source);
    open_ = true;
    Show(offset, std::move(view));
    return {};
}

Failure TileViewer::Open(const std::string& path, std::string_view typed) {
    const std::optional<GraphicsLocation> where = ParseGraphicsLocation(typed);
    if (!where)
        return Failure::Described(
            path, "A localização " + Quoted(typed) +
                      " não é válida (esperado: de 1 a 8 dígitos hex até 7FFFFFFF, como 1A0, ou "
                      "um bloco comprimido, como LZ:3B8A8C ou LZ:3B8A8C+21).");
    return Open(path, *where);
}

GraphicsLocation TileViewer::Start() const {
    return source_.LocationOf(start_);
}

std::uint64_t TileViewer::RowBytes() const {
    return TileBytes(grid_.bitsPerPixel) * static_cast<std::uint64_t>(grid_.widthInTiles);
}

void TileViewer::Show(std::uint64_t start, TileImage view) {
    start_ = start;
    view_ = std::move(view);
    pixels_.assign(view_.indexes.size(), 0);
}

Failure TileViewer::Move(std::uint64_t start) {
    TileImage view;
    if (Failure failure = ReadTiles(source_, start, grid_, ViewTiles(grid_, rows_), view);
        !failure.ok())
        return failure;
    Show(start, std::move(view));
    return {};
}

Failure TileViewer::Reshape(const TileGrid& grid, int rows) {
    if (open_ && (grid != grid_ || rows != rows_)) {
        TileImage view;
        if (Failure failure = ReadTiles(source_, start_, grid, ViewTiles(grid, rows), view);
            !failure.ok())
            return failure;
        Show(start_, std::move(view));
    }
    grid_ = grid;
    rows_ = rows;
    return {};
}

Failure TileViewer::SetGrid(const TileGrid& grid) {
    return Reshape({grid.bitsPerPixel == 8 ? 8 : 4,
                    std::clamp(grid.widthInTiles, kNarrowestGrid, kWidestGrid)},
                   rows_);
}

Failure TileViewer::SetRows(int rows) {
    return Reshape(grid_, std::clamp(rows, 1, kMostViewRows));
}

void TileViewer::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, kSmallestZoom, kLargestZoom);
}

Failure TileViewer::StepStart(std::int64_t bytes) {
    if (!open_)
        return {};
    const std::uint64_t last =
        std::min(source_.size() - 1, source_.compressed() ? source_.size() : kLastPlainStart);
    const std::int64_t moved = static_cast<std::int64_t>(start_) + bytes;
    return Move(static_cast<std::uint64_t>(
        std::clamp<std::int64_t>(moved, 0, static_cast<std::int64_t>(last))));
}

Failure TileViewer::ScrollRows(int rows) {
    if (!open_)
        return {};
    const std::uint64_t row = RowBytes();
    std::uint64_t start = start_;
    if (rows < 0) {
        start -= std::min<std::uint64_t>(-static_cast<std::int64_t>(rows), start / row) * row;
    } else {
        const std::uint64_t inside = (source_.size() - 1 - start) / row; // rows after the first
        start += std::min<std::uint64_t>(static_cast<std::uint64_t>(rows), inside) * row;
    }
    if (!source_.compressed())
        start = std::min(start, kLastPlainStart);
    return Move(start);
}

Failure TileViewer::JumpToBlock(bool backward) {
    if (!open_)
        return {};
    const auto inFile =
        static_cast<std::uint32_t>(source_.compressed() ? Start().location : start_);
    std::optional<GraphicsBlock> next;
    if (Failure failure = jumps_.Next(source_.path(), inFile, backward, next); !failure.ok())
        return failure;
    return next ? Open(source_.path(), GraphicsLocation{next->location, true, 0}) : Failure{};
}

Failure TileViewer::UsePalette(const std::string& path, const PaletteLocation& palette) {
    FollowingWords words{};
    if (Failure failure = ReadFollowingPalettes(path, palette, words); !failure.ok())
        return failure;
    following_ = words;
    return {};
}

void TileViewer::Paint(const Palette16& swatches, bool gbaScreen) {
    const std::vector<RgbColor> colours =
        TileColours(swatches, following_, grid_.bitsPerPixel, gbaScreen);
    PaintIndexes(view_.indexes, PixelColoursOf(colours, transparentZero_), pixels_);
}

std::optional<PointedPixel> TileViewer::At(int x, int y) const {
    const int px = x / zoom_;
    const int py = y / zoom_;
    if (!open_ || x < 0 || y < 0 || px >= view_.width || py >= view_.height)
        return std::nullopt;
    const auto tile =
        static_cast<std::size_t>(py / kTileSide * grid_.widthInTiles + px / kTileSide);
    const std::uint64_t tileStart = start_ + tile * TileBytes(grid_.bitsPerPixel);
    if (tileStart >= source_.size())
        return std::nullopt;
    return PointedPixel{tile, source_.LocationOf(tileStart),
                        view_.indexes[static_cast<std::size_t>(py) * view_.width + px]};
}

Failure TileViewer::SaveImage(const std::string& path, const Palette16& swatches,
                              bool gbaScreen) const {
    const std::vector<RgbColor> colours =
        TileColours(swatches, following_, grid_.bitsPerPixel, gbaScreen);
    std::vector<std::uint8_t> png;
    if (Failure failure = EncodeIndexedPng(
            {view_.width, view_.height, view_.indexes, colours, transparentZero_}, png);
        !failure.ok()) {
        failure.file = path;
        return failure;
    }
    return WriteNewFile(path, png);
}

} // namespace zandrel
