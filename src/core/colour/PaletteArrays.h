// The sixteen colours of one palette, as swatch colours and as colour words.
#pragma once

#include <array>

#include "colour/Codec.h"

namespace zandrel {

// The same types as the exchange formats' aliases (an alias may be declared again for the same
// type), so values pass between the two without conversion.
using Palette16 = std::array<RgbColor, 16>;
using PaletteWords16 = std::array<ColorWord, 16>;

} // namespace zandrel
