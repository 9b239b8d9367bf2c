// Adobe colour table (.act): 256 RGB triples; some tools add a big-endian colour count and a
// transparent index after them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "palfiles/RgbTriples.h"
#include "platform/Failure.h"

namespace zandrel {

inline constexpr std::size_t kActPaletteSize = 768;
inline constexpr std::size_t kActPaletteSizeWithCount = 772;

// 768 bytes: the sixteen RGB triples, then zeros for the other 240 entries.
std::vector<std::uint8_t> ActPaletteBytes(const Palette16& colours);

// 768 or 772 bytes; the first sixteen entries are read. A 772-byte table must not declare
// fewer than 16 colours.
Failure ReadActPalette(std::span<const std::uint8_t> bytes, Components16& colours);

// Whether a file of this size can be an ACT table: 768 or 772 bytes.
bool IsActSize(std::size_t size);

} // namespace zandrel
