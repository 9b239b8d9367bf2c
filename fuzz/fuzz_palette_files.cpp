// Palette exchange files read from any bytes. The first byte picks the reader; whatever a
// reader accepts must survive being written again in the same format and read back.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzSupport.h"
#include "colour/Codec.h"
#include "palfiles/GbaPalette.h"
#include "palfiles/PaletteFormats.h"

using namespace zandrel;

namespace {

void CheckRawGba(std::span<const std::uint8_t> bytes) {
    const PaletteWords16 words = GbaPaletteWords(bytes);
    for (std::size_t i = 0; i < words.size(); ++i) {
        FUZZ_CHECK(words[i] <= 0x7FFF);
        const std::size_t lo = 2 * i, hi = 2 * i + 1;
        const int expected =
            (hi < bytes.size() ? (bytes[hi] & 0x7F) << 8 : 0) | (lo < bytes.size() ? bytes[lo] : 0);
        FUZZ_CHECK(words[i] == expected);
    }
    const std::vector<std::uint8_t> written = GbaPaletteBytes(WordsToColours(words));
    FUZZ_CHECK(written.size() == kGbaPaletteSize);
    FUZZ_CHECK(GbaPaletteWords(written) == words);
}

void CheckComponentFormat(PaletteFormat format, std::span<const std::uint8_t> bytes) {
    PaletteWords16 words{};
    if (const Failure failure = ReadInFormat(format, bytes, words); !failure.ok()) {
        FUZZ_CHECK(!failure.reason.empty());
        return;
    }
    for (const ColorWord w : words)
        FUZZ_CHECK(w <= 0x7FFF);
    // What the program writes, the import takes for the same format by its content, and the
    // colours come back as the same words.
    const std::vector<std::uint8_t> written =
        PaletteFileBytes(format, WordsToColours(words), "fuzz");
    FUZZ_CHECK(PaletteFormatOfContent(written) == format);
    PaletteWords16 back{};
    FUZZ_CHECK(ReadInFormat(format, written, back).ok() && back == words);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    constexpr PaletteFormat kComponentFormats[] = {PaletteFormat::Jasc, PaletteFormat::Tpl,
                                                   PaletteFormat::Gimp, PaletteFormat::Act};
    const int which = data[0] % 5;
    if (which == 0)
        CheckRawGba(bytes);
    else
        CheckComponentFormat(kComponentFormats[which - 1], bytes);
    return 0;
}
