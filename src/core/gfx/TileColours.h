// The colours tiles are drawn with. 4 bits per pixel: the palette's sixteen. 8 bits: 256, the
// palette's sixteen and the fifteen 32-byte palettes that follow its location in the file (in
// the decompressed data for a compressed palette), as the GBA's palette memory holds them.
// Each as the screen shows it: the 5-to-8-bit rule, or the LCD correction (colour/LcdColour.h).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/Codec.h"
#include "platform/Failure.h"
#include "rom/PaletteLocation.h"

namespace zandrel {

inline constexpr std::size_t kFollowingPaletteWords = 15 * kPaletteColours;
using FollowingWords = std::array<ColorWord, kFollowingPaletteWords>;

// 16 colours for 4 bits per pixel, 256 for 8. `sixteen` are colours as the swatches hold them.
std::vector<RgbColor> TileColours(const Palette16& sixteen, const FollowingWords& following,
                                  int bitsPerPixel, bool gbaScreen);

// The words of the fifteen palettes after the palette at `where` of the file at `path`, bit
// 15 dropped; those beyond the end of the file or of the block's data are 0 (black). A
// compressed palette's block must decompress (BadBlock otherwise).
Failure ReadFollowingPalettes(const std::string& path, const PaletteLocation& where,
                              FollowingWords& words);

// A pixel as the window's image holds it: 0xAARRGGBB.
using ArgbPixel = std::uint32_t;
using PixelColours = std::array<ArgbPixel, 256>;

// The pixel of each index: its colour, opaque, or fully transparent for index 0 when
// `transparentZero`; indexes beyond `colours` opaque black.
PixelColours PixelColoursOf(std::span<const RgbColor> colours, bool transparentZero);

// `out[i]` becomes the pixel of `indexes[i]`; `out` holds at least as many.
void PaintIndexes(std::span<const std::uint8_t> indexes, const PixelColours& colours,
                  std::span<ArgbPixel> out);

} // namespace zandrel
