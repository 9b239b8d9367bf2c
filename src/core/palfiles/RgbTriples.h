// Sixteen colours as 8-bit red, green and blue triples, as palette files and GIF colour
// tables hold them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "colour/Codec.h"

namespace zandrel {

// Sixteen colours with 8-bit components, as a file holds them.
using Components16 = std::array<Rgb, kPaletteColours>;

// The 48 bytes of sixteen red, green, blue triples (a GIF colour table's first 16 entries,
// the body of a Tile Layer Pro palette).
std::array<std::uint8_t, 3 * kPaletteColours> RgbTripleBytes(const Palette16& colours);
// The sixteen triples from `offset` on; the bytes must hold them.
Components16 TriplesAt(std::span<const std::uint8_t> bytes, std::size_t offset);

// 8-bit components to colour words. ReduceComponent, unless every component is a multiple
// of 8: many tools write a 5-bit component c as c x 8 (31 as 248, which ReduceComponent would
// make 30), so such colours are divided by 8 instead. Colours this program wrote come back
// as the same words either way.
PaletteWords16 WordsFromComponents(const Components16& colours);

} // namespace zandrel
