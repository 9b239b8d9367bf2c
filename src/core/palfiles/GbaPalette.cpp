#include "palfiles/GbaPalette.h"

#include <algorithm>

#include "palfiles/Refusals.h"
#include "rom/PaletteIO.h"

namespace zandrel {

std::vector<std::uint8_t> GbaPaletteBytes(const Palette16& colours) {
    PaletteWords16 words{};
    std::transform(colours.begin(), colours.end(), words.begin(), ColorToWord);
    return WordsToBytes(words);
}

PaletteWords16 GbaPaletteWords(std::span<const std::uint8_t> bytes) {
    const std::vector<ColorWord> words =
        BytesToWords(bytes.first(std::min(bytes.size(), kGbaPaletteSize)), kPaletteColours);
    PaletteWords16 result{};
    std::copy(words.begin(), words.end(), result.begin());
    return result;
}

Failure ReadGbaPalette(std::span<const std::uint8_t> bytes, PaletteWords16& words) {
    Failure failure =
        CheckSize(bytes.size(), kGbaPaletteSize, kMaxGbaPaletteFileSize, "uma paleta GBA");
    if (failure.ok())
        words = GbaPaletteWords(bytes);
    return failure;
}

} // namespace zandrel
