// Where graphics start: a file offset, or a byte of an LZ77 block's decompressed data. The
// forms are a palette location's ("1A0", "LZ:3B8A8C", "LZ:3B8A8C+20", rom/PaletteLocation.h),
// except that the byte in the block may be odd and has 1 to 6 hex digits (a block holds less
// than 16 MiB), so a start stepped by one byte is still a location.
#pragma once

#include <optional>
#include <string_view>

#include "rom/PaletteLocation.h"

namespace zandrel {

using GraphicsLocation = PaletteLocation;

// The location a text names; nothing for any other text. Its text is PaletteLocationText's.
std::optional<GraphicsLocation> ParseGraphicsLocation(std::string_view text);

} // namespace zandrel
