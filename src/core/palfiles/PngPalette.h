// Indexed PNG images (.png) as palette files: pixel artists keep a palette as an image's PLTE.
// Read only; the program writes no PNG palette file.
#pragma once

#include <cstdint>
#include <span>

#include "palfiles/RgbTriples.h"
#include "platform/Failure.h"

namespace zandrel {

// The first sixteen PLTE entries of an indexed PNG (png/Png.h reads them); a palette of
// fewer is refused.
Failure ReadPngPalette(std::span<const std::uint8_t> bytes, Components16& colours);

} // namespace zandrel
