// The byte viewer's text: a palette's raw bytes as upper-case hex pairs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Failure.h"
#include "rom/PaletteLocation.h"
#include "util/Hex.h"

namespace zandrel {

// The largest colour count whose byte count still fits 16 bits.
inline constexpr int kMaxDumpColours = 16383;

// Two hex digits per byte; CR LF after the 16th byte, a blank between the others, nothing
// after the last one.
std::string FormatByteDump(std::span<const std::uint8_t> bytes);

// The byte viewer's colour count of a palette's count text: its leading number rounded to
// the nearest whole number, halves to the even neighbour, and not capped at sixteen. A
// number past the 16-bit range counts as itself when positive (too large to show) and as no
// colours when negative.
std::int64_t ViewerColourCount(std::string_view countText);

// The dump of `count` colours (2 x count bytes) at the 0-based `location` of the file.
// Bytes past the end of the file show as 00; a count of 0 or less gives empty text, though
// the file is still opened. A count above kMaxDumpColours gives CountTooLarge.
Failure BuildByteDump(const std::string& path, std::int32_t location, std::int64_t count,
                      std::string& text);
// The same for a palette wherever it lies: a compressed one shows its decompressed bytes,
// which must hold the count's.
Failure BuildByteDump(const std::string& path, const PaletteLocation& where, std::int64_t count,
                      std::string& text);

} // namespace zandrel
