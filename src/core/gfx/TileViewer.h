// What the window "Gráficos" shows, as a plain model the window only draws: a source of
// graphics (a file offset or a compressed block), the grid they are laid out in, the view's
// colour indexes and their pixels.
//
// The view is `Rows()` rows of tiles from the start, read and decoded only when the source,
// the start, the grid or the rows change: a view reads only the bytes it shows. The pixels are
// mapped again from the kept indexes on every Paint, so a redraw after a swatch change costs
// one table lookup a pixel. Coordinates the window passes are its own, at the zoom.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/GraphicsJumps.h"
#include "gfx/GraphicsLocation.h"
#include "gfx/GraphicsSource.h"
#include "gfx/TileColours.h"
#include "gfx/Tiles.h"
#include "platform/Failure.h"

namespace zandrel {

inline constexpr int kSmallestZoom = 1;
inline constexpr int kLargestZoom = 8;
inline constexpr int kMostViewRows = 512;

// What lies under the pointer.
struct PointedPixel {
    std::size_t tile = 0;    // counted from the view's first tile
    GraphicsLocation tileAt; // its first byte
    int index = 0;           // the pixel's colour index
};

class TileViewer {
  public:
    // Shows the graphics at `start` of the file at `path` (GraphicsSource::Open's refusals);
    // the view starts there. On a failure the viewer stays as it was.
    Failure Open(const std::string& path, const GraphicsLocation& start);
    // The same for a location as the user typed it ("1A0", "LZ:3B8A8C+21"); a text that is
    // no location is refused with a message quoting it.
    Failure Open(const std::string& path, std::string_view typed);
    bool IsOpen() const { return open_; }
    // The file the graphics are read from.
    const std::string& Path() const { return source_.path(); }
    // The view's first byte, as a location of the source.
    GraphicsLocation Start() const;

    // Each clamps what it is given to its range (4 or 8 bits per pixel, any other value
    // taken as 4; 1 to 64 tiles wide; 1 to 512 rows; zoom 1 to 8) and reads the view again
    // when it changed.
    Failure SetGrid(const TileGrid& grid);
    Failure SetRows(int rows);
    void SetZoom(int zoom);
    void SetTransparentZero(bool transparent) { transparentZero_ = transparent; }
    const TileGrid& Grid() const { return grid_; }
    int Rows() const { return rows_; }
    int Zoom() const { return zoom_; }
    bool TransparentZero() const { return transparentZero_; }

    // Moves the start by `bytes` (1, 2, a tile, back when negative), staying inside the
    // source: from its first byte to its last.
    Failure StepStart(std::int64_t bytes);
    // Moves the start by whole rows of tiles, down when positive, as far as a row still
    // starts inside the source.
    Failure ScrollRows(int rows);
    // Opens the next compressed block of graphics after the source's place in the file (the
    // start of a plain source, the block of a compressed one) or, `backward`, the one before
    // it; nothing changes when there is none that way.
    Failure JumpToBlock(bool backward);

    // The palette the grid is drawn with, for 8 bits per pixel: the fifteen palettes after
    // it (TileColours.h) are read from the file now; black until this is called.
    Failure UsePalette(const std::string& path, const PaletteLocation& palette);
    // Maps the view's indexes to pixels with the swatches' colours, as the screen shows them;
    // index 0 fully transparent (alpha 0) while TransparentZero(), for the window to draw a
    // checkerboard under.
    void Paint(const Palette16& swatches, bool gbaScreen);
    // The view at zoom 1, ImageWidth() x ImageHeight() pixels as of the last Paint.
    std::span<const ArgbPixel> Pixels() const { return pixels_; }
    int ImageWidth() const { return view_.width; }
    int ImageHeight() const { return view_.height; }
    // The pixel under the window's point (x, y); nothing outside the view or past the end
    // of the source.
    std::optional<PointedPixel> At(int x, int y) const;

    // The view at zoom 1 as an indexed PNG written whole to `path` (WriteNewFile): 16 or 256
    // colours as Paint would draw them, index 0 transparent when it is drawn so.
    Failure SaveImage(const std::string& path, const Palette16& swatches, bool gbaScreen) const;

  private:
    void Show(std::uint64_t start, TileImage view);
    Failure Move(std::uint64_t start);
    Failure Reshape(const TileGrid& grid, int rows);
    std::uint64_t RowBytes() const;

    bool open_ = false;
    GraphicsSource source_;
    std::uint64_t start_ = 0;
    TileGrid grid_;
    int rows_ = 16;
    int zoom_ = kSmallestZoom;
    bool transparentZero_ = false;
    TileImage view_;
    FollowingWords following_{};
    std::vector<ArgbPixel> pixels_;
    GraphicsJumps jumps_;
};

} // namespace zandrel
