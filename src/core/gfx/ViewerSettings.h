// Where the viewer showed graphics with each palette of a game, remembered between runs in a
// small text file of the user's data folder, one per game, that a user may edit and share:
//
//   # Zandrel: gráficos mostrados com cada paleta (paleta, gráficos, bits por pixel, largura)
//   C980 LZ:30200 4 16
//
// Lines starting with "#" and blank lines are notes; a line that is not four fields of those
// forms is skipped, so a damaged file loses only its damaged lines.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "gfx/GraphicsLocation.h"
#include "gfx/Tiles.h"
#include "platform/Failure.h"
#include "rom/PaletteLocation.h"

namespace zandrel {

// The graphics shown with one palette.
struct ViewerPlace {
    GraphicsLocation start;
    TileGrid grid;
    friend bool operator==(const ViewerPlace&, const ViewerPlace&) = default;
};

// Keyed by the palette's location text (PaletteLocationText).
using RememberedPlaces = std::map<std::string, ViewerPlace>;

// A file holds at most this many palettes; the lines after them are skipped.
inline constexpr std::size_t kMostRememberedPlaces = 32767;

RememberedPlaces ParseViewerSettings(std::string_view text);
std::string ViewerSettingsText(const RememberedPlaces& places);

// The file for the game whose palettes come from `definitionFile` (by its name without the
// extension: the game code, or the definition file of a described game or of memory dumps)
// in `userData`; empty, and so never read or written, when either is unknown.
std::string ViewerSettingsPath(const std::string& userData, const std::string& definitionFile);

// The places the file holds; none when it is missing, unreadable or larger than 1 MiB.
RememberedPlaces ReadViewerSettings(const std::string& path);
// Writes the file whole beside itself and renames it into place (never through a link),
// creating the user's data folder when needed.
Failure WriteViewerSettings(const std::string& path, const RememberedPlaces& places);

} // namespace zandrel
