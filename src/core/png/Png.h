// Indexed PNG images (colour type 3), written and their palette read through libpng. This is
// the one unit of the program that uses libpng: everything else sees colour indexes, colours
// and bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Failure.h"
#include "util/ColourTypes.h"

namespace zandrel {

// The most colours a PNG palette (PLTE) holds.
inline constexpr std::size_t kLargestPngPalette = 256;

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> pixels; // width x height colour indexes, rows top to bottom
    std::span<const RgbColor> palette;    // 1 to 256 entries, written as PLTE
    bool transparentZero = false;         // tRNS: index 0 fully transparent, the rest opaque
};

// The bytes of a PNG file of the image: colour type 3, 8 bits per pixel, not interlaced, a
// PLTE of the palette's entries and, with transparentZero, a tRNS of one entry, 0. An image
// without pixels, with pixels that do not fill width x height, with a palette of no or more
// than 256 entries or with an index outside it is refused (a Failure with no file).
Failure EncodeIndexedPng(const IndexedImage& image, std::vector<std::uint8_t>& png);

// The PLTE entries of an indexed PNG. Only the chunks before the first IDAT are read (no
// pixel is decoded), ancillary chunks are skipped unread, and every chunk's CRC is checked;
// bytes that are no PNG, a damaged or cut file, or a PNG of another colour type is refused
// (a Failure with no file and a reason in the program's language). `entries` changes only
// on success.
Failure ReadPngPlte(std::span<const std::uint8_t> png, std::vector<Rgb>& entries);

// Whether the bytes begin with the PNG signature.
bool StartsAsPng(std::span<const std::uint8_t> bytes);

} // namespace zandrel
