// PNG palettes from outside: the PLTE reader refuses or gives 1 to 256 entries, which an
// indexed image written with them gives back; the palette-file reader agrees with it. An odd
// first byte puts the PNG signature in front of the rest, so the chunks behind it are reached.
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "palfiles/PaletteFormats.h"
#include "png/Png.h"

using namespace zandrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::vector<std::uint8_t> bytes;
    if (data[0] % 2 == 1)
        bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bytes.insert(bytes.end(), data + 1, data + size);

    std::vector<Rgb> entries;
    const Failure read = ReadPngPlte(bytes, entries);
    PaletteWords16 words{};
    const bool asFile = ReadInFormat(PaletteFormat::Png, bytes, words).ok();
    FUZZ_CHECK(asFile == (read.ok() && entries.size() >= kPaletteColours));
    if (!read.ok()) {
        FUZZ_CHECK(!read.reason.empty() && entries.empty());
        return 0;
    }
    FUZZ_CHECK(!entries.empty() && entries.size() <= kLargestPngPalette);
    // Written again as the palette of a one-row image using every entry, read back the same.
    std::vector<RgbColor> palette;
    std::vector<std::uint8_t> pixels;
    for (const Rgb& c : entries) {
        pixels.push_back(static_cast<std::uint8_t>(palette.size()));
        palette.push_back(static_cast<RgbColor>(c.blue << 16 | c.green << 8 | c.red));
    }
    std::vector<std::uint8_t> png;
    const IndexedImage image{static_cast<int>(pixels.size()), 1, pixels, palette, true};
    FUZZ_CHECK(EncodeIndexedPng(image, png).ok());
    std::vector<Rgb> back;
    FUZZ_CHECK(ReadPngPlte(png, back).ok() && back == entries);
    return 0;
}
