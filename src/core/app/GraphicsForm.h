// The window "Gráficos" as a plain model: the viewer (gfx/TileViewer.h) and the texts the
// window shows, with one handler per event. It draws with the palette the main window has on
// show, and remembers where it showed graphics with each palette (gfx/ViewerSettings.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gfx/TileViewer.h"
#include "gfx/ViewerSettings.h"
#include "platform/Services.h"
#include "rom/PaletteLocation.h"
#include "util/ColourTypes.h"

namespace zandrel {

struct GraphicsControls {
    // The source field, as the program last set it; raised each time it sets it, so the
    // window shows it again over what the user typed.
    std::string txtLocation;
    std::uint64_t txtLocationRevision = 0;
    std::string lblStart;   // "Início: LZ:30200+40"
    std::string lblPointer; // the tile under the pointer, its offset and the colour index
};

// What the viewer draws with: the file open in the main window, the palette on show there
// (none while no palette is), and the file the places of this game's palettes are kept in
// (empty: none kept).
struct GraphicsContext {
    std::string romPath;
    std::optional<PaletteLocation> palette;
    std::string settingsPath;
    friend bool operator==(const GraphicsContext&, const GraphicsContext&) = default;
};

class GraphicsForm {
  public:
    // Tiles start at twice their size, which a screen shows without squinting.
    explicit GraphicsForm(Services& services) : services_(services) { viewer_.SetZoom(2); }

    const GraphicsControls& model() const { return model_; }
    const TileViewer& viewer() const { return viewer_; }

    // The main window's file or palette, when they changed: the viewer opens where it last
    // showed graphics with this palette; without a place kept for it, it stays where it is
    // in the same file and starts at the first byte of another one. Shows no box: a source
    // that no longer opens is said in the pointer's text, and the view stays as it was.
    void Follow(const GraphicsContext& context);
    // The window closed: the places are written to the game's file.
    void Closed();

    // The source field's Enter: "1A0", "LZ:3B8A8C", "LZ:3B8A8C+21".
    void txtLocation_Enter(const std::string& typed);
    // 4 or 8 bits per pixel, 1 to 64 tiles wide, zoom 1 to 8: values beyond are clamped.
    void SetBitsPerPixel(int bits);
    void SetWidth(int tiles);
    void SetZoom(int zoom);
    void SetTransparentZero(bool transparent);
    // The rows of tiles the window has room for.
    void SetRows(int rows);
    void ScrollRows(int rows);
    void StepStart(std::int64_t bytes);
    // F3 (forward) and Shift+F3 (backward).
    void JumpToBlock(bool backward);
    // The pointer at the window's point (x, y) of the view; outside it, the text is empty.
    void PointAt(int x, int y);
    // The colour index a click at (x, y) picks: 0 to 15, never one of the fifteen palettes
    // that follow in 8 bits per pixel; nothing outside the view.
    std::optional<int> PickedIndex(int x, int y) const;
    void SaveImage_Click(const Palette16& swatches, bool gbaScreen);

    // Maps the view to pixels with the swatches' colours when they, the view or the way it
    // is drawn changed since the last Paint; true when it did.
    bool Paint(const Palette16& swatches, bool gbaScreen);

  private:
    // The view moved or changed shape: the texts follow and the place is kept for the palette.
    void Moved();
    void ShowTexts();
    void Report(const Failure& failure);
    void WritePlaces();

    struct Painted {
        Palette16 swatches;
        bool gbaScreen;
        bool transparentZero;
        std::uint64_t view;
        friend bool operator==(const Painted&, const Painted&) = default;
    };

    Services& services_;
    GraphicsControls model_;
    TileViewer viewer_;
    std::optional<GraphicsContext> context_; // none until followed, and after Closed
    RememberedPlaces places_;
    bool placesChanged_ = false;
    std::uint64_t viewRevision_ = 0;
    std::optional<Painted> painted_;
};

} // namespace zandrel
