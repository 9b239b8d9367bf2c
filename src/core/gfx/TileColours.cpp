#include "gfx/TileColours.h"

#include <algorithm>

#include "colour/LcdColour.h"
#include "rom/CompressedBlock.h"
#include "rom/PaletteIO.h"

namespace zandrel {

namespace {

constexpr std::size_t kPaletteBytes = 2 * kPaletteColours;
constexpr ArgbPixel kOpaque = 0xFF000000;

} // namespace

std::vector<RgbColor> TileColours(const Palette16& sixteen, const FollowingWords& following,
                                  int bitsPerPixel, bool gbaScreen) {
    std::vector<RgbColor> colours;
    colours.reserve(kPaletteColours + kFollowingPaletteWords);
    for (const RgbColor colour : sixteen)
        colours.push_back(ScreenColour(colour, gbaScreen));
    if (bitsPerPixel == 8)
        for (const ColorWord word : following)
            colours.push_back(ScreenColour(WordToColor(word), gbaScreen));
    return colours;
}

Failure ReadFollowingPalettes(const std::string& path, const PaletteLocation& where,
                              FollowingWords& words) {
    std::vector<std::uint8_t> bytes;
    if (!where.compressed) {
        if (Failure failure = ReadFileBytes(path, std::int64_t{where.location} + kPaletteBytes,
                                            2 * kFollowingPaletteWords, bytes);
            !failure.ok())
            return failure;
    } else {
        Lz77Block block;
        if (Failure failure = DecompressBlockAt(path, where.location, block); !failure.ok())
            return failure;
        const std::size_t first = std::min<std::size_t>(
            block.data.size(), std::size_t{where.offsetInBlock} + kPaletteBytes);
        const std::size_t end = std::min(block.data.size(), first + 2 * kFollowingPaletteWords);
        bytes.assign(block.data.begin() + first, block.data.begin() + end);
    }
    const std::vector<ColorWord> read = BytesToWords(bytes, kFollowingPaletteWords);
    std::copy(read.begin(), read.end(), words.begin());
    return {};
}

PixelColours PixelColoursOf(std::span<const RgbColor> colours, bool transparentZero) {
    PixelColours pixels;
    pixels.fill(kOpaque);
    for (std::size_t i = 0; i < std::min(colours.size(), pixels.size()); ++i) {
        const RgbColor c = colours[i]; // 0x00BBGGRR
        pixels[i] = kOpaque | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    }
    if (transparentZero)
        pixels[0] = 0;
    return pixels;
}

void PaintIndexes(std::span<const std::uint8_t> indexes, const PixelColours& colours,
                  std::span<ArgbPixel> out) {
    std::transform(indexes.begin(), indexes.end(), out.begin(),
                   [&colours](std::uint8_t index) { return colours[index]; });
}

} // namespace zandrel
