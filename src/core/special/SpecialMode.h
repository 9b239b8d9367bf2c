// The special mode: sixteen colours at any location of any file, stepped through the file
// one palette (32 bytes) at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zandrel {

inline constexpr std::int32_t kStepBytes = 32;

// A typed location: bare hex read by HexToNumber once upper-cased, so lower-case letters
// count as digits, and so do the letters past F by its rule ("ZZ" is 253 hex).
std::int32_t TypedLocation(const std::string& answer);

// Where a key moves the location: the keypad's add key one step forward, its subtract key
// one step back. Nothing for any other key, nor for a step before the first byte of the file
// or past the largest location.
std::optional<std::int32_t> SteppedLocation(std::int32_t location, int keyCode);

// The file offset of the low byte of colour word `index` of the palette at `location`, as
// hex text.
std::string SwatchOffsetText(std::int32_t location, int index);

} // namespace zandrel
