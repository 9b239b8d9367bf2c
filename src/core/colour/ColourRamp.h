// An even ramp between two marked swatches.
#pragma once

#include "util/ColourTypes.h"

namespace zandrel {

// The palette with the swatches strictly between `first` and `last` (either order) replaced by
// an even ramp from the lower index's word to the higher index's word. Each 5-bit component
// is interpolated linearly and rounded to the nearest value, halves upwards, so a ramp and its
// reverse hold the same colours mirrored. The two ends stay as they are; indexes outside 0-15,
// equal or neighbouring give the palette unchanged.
PaletteWords16 RampBetween(const PaletteWords16& words, int first, int last);

} // namespace zandrel
