// Where a palette lies: a plain file offset, or a place inside an LZ77-compressed block.
//
// Text forms, as definition files and command arguments give them:
//   1A0           plain: hex digits (either case), value at most 7FFFFFFF
//   LZ:3B8A8C     the first colours of the block whose header is at 3B8A8C
//   LZ:3B8A8C+20  colours from byte 20 (hex, even) of that block's decompressed data
// The compressed form is exact: "LZ:", upper-case hex digits (at most 7FFFFFFF), then
// optionally "+" and upper-case hex digits (at most FFFF). Every number may have leading
// zeros, any number of them. Whether the offset lies inside the block is known only once the
// block is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zandrel {

struct PaletteLocation {
    std::uint32_t location = 0;      // file offset of the palette, or of the block's header
    bool compressed = false;         // the palette lies inside an LZ77 block
    std::uint32_t offsetInBlock = 0; // byte offset into the decompressed data (compressed only)
    friend bool operator==(const PaletteLocation&, const PaletteLocation&) = default;
};

// The location a text names; nothing for any other text.
std::optional<PaletteLocation> ParsePaletteLocation(std::string_view text);

// The canonical text: "1A0", "LZ:3B8A8C", "LZ:3B8A8C+20" (an offset of 0 is left out).
std::string PaletteLocationText(const PaletteLocation& location);

} // namespace zandrel
