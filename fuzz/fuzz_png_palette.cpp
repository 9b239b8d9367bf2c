// PNG palettes from outside: the PLTE reader refuses or gives 1 to 256 entries, which an
// indexed image written with them gives back; the palette-file reader agrees with it. An odd
// first byte puts the PNG signature in front of the rest, so the chunks behind it are reached.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "palfiles/PaletteFormats.h"
#include "png/Png.h"

using namespace zandrel;

namespace {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void CheckPalette(std::span<const std::uint8_t> bytes) {
    std::vector<Rgb> entries;
    const Failure read = ReadPngPlte(bytes, entries);
    PaletteWords16 words{};
    const Failure asFile = ReadInFormat(PaletteFormat::Png, bytes, words);
    if (!read.ok()) {
        FUZZ_CHECK(!read.reason.empty() && entries.empty());
        FUZZ_CHECK(!asFile.ok());
        return;
    }
    FUZZ_CHECK(!entries.empty() && entries.size() <= kLargestPngPalette);
    FUZZ_CHECK(asFile.ok() == (entries.size() >= kPaletteColours));

    // Written again as the palette of a one-row image using every entry, read back the same.
    std::vector<RgbColor> palette;
    std::vector<std::uint8_t> pixels;
    for (const Rgb& c : entries) {
        FUZZ_CHECK(c.red >= 0 && c.red <= 255 && c.green >= 0 && c.green <= 255 && c.blue >= 0 &&
                   c.blue <= 255);
        pixels.push_back(static_cast<std::uint8_t>(palette.size()));
        palette.push_back(static_cast<RgbColor>(c.blue << 16 | c.green << 8 | c.red));
    }
    std::vector<std::uint8_t> png;
    FUZZ_CHECK(
        EncodeIndexedPng({static_cast<int>(pixels.size()), 1, pixels, palette, true}, png).ok());
    std::vector<Rgb> back;
    FUZZ_CHECK(ReadPngPlte(png, back).ok() && back == entries);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::vector<std::uint8_t> bytes;
    if (data[0] % 2 == 1)
        bytes.assign(std::begin(kSignature), std::end(kSignature));
    bytes.insert(bytes.end(), data + 1, data + size);
    CheckPalette(bytes);
    return 0;
}
