// The graphics window's places file: any bytes give at most the most places, each in its
// ranges, and the file written from them reads back as the same places.
#include <cstdint>

#include "FuzzSupport.h"
#include "gfx/ViewerSettings.h"

using namespace zandrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RememberedPlaces places = ParseViewerSettings(fuzz::AsText(data, size));
    FUZZ_CHECK(places.size() <= kMostRememberedPlaces);
    for (const auto& [palette, place] : places) {
        FUZZ_CHECK(ParsePaletteLocation(palette).has_value());
        FUZZ_CHECK(place.grid.bitsPerPixel == 4 || place.grid.bitsPerPixel == 8);
        FUZZ_CHECK(place.grid.widthInTiles >= kNarrowestGrid &&
                   place.grid.widthInTiles <= kWidestGrid);
    }
    FUZZ_CHECK(ParseViewerSettings(ViewerSettingsText(places)) == places);
    return 0;
}
