// Tile Layer Pro palette (.tpl): "TPL", a type byte (0: 3-byte RGB entries), then the
// entries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "palfiles/RgbTriples.h"
#include "platform/Failure.h"

namespace zandrel {

inline constexpr std::array<std::uint8_t, 4> kTplHeader{0x54, 0x50, 0x4C, 0x00};
// What the program writes: the header and 16 RGB triples.
inline constexpr std::size_t kTplPaletteSize = 52;
// The largest read: 256 RGB entries.
inline constexpr std::size_t kMaxTplPaletteSize = 4 + 3 * 256;

// The 52 bytes.
std::vector<std::uint8_t> TplPaletteBytes(const Palette16& colours);

// 52 to kMaxTplPaletteSize bytes, "TPL" and type 0; the first sixteen entries are read.
Failure ReadTplPalette(std::span<const std::uint8_t> bytes, Components16& colours);

// Whether the bytes begin with "TPL".
bool StartsAsTpl(std::span<const std::uint8_t> bytes);
// Whether a file of 3-byte entries can have this size: the header and whole entries.
bool IsTplSize(std::size_t size);

} // namespace zandrel
