// Palette exchange files read from any bytes. The first byte picks the reader; whatever a
// reader accepts must survive being written again in the same format and read back.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzSupport.h"
#include "colour/Codec.h"
#include "palfiles/PaletteFormats.h"

#if __has_include("palfiles/ExtraFormats.h")
#include "palfiles/ExtraFormats.h"
#define ZANDREL_FUZZ_EXTRA_FORMATS 1
#endif

using namespace zandrel;

namespace {

Palette16 ColoursOfWords(const PaletteWords16& words) {
    Palette16 colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = WordToColor(words[i]);
    return colours;
}

void CheckRawGba(std::span<const std::uint8_t> bytes) {
    const PaletteWords16 words = GbaPaletteWords(bytes);
    for (std::size_t i = 0; i < words.size(); ++i) {
        FUZZ_CHECK(words[i] <= 0x7FFF);
        const std::size_t lo = 2 * i, hi = 2 * i + 1;
        const int expected =
            (hi < bytes.size() ? (bytes[hi] & 0x7F) << 8 : 0) | (lo < bytes.size() ? bytes[lo] : 0);
        FUZZ_CHECK(words[i] == expected);
    }
    const std::vector<std::uint8_t> written = GbaPaletteBytes(ColoursOfWords(words));
    FUZZ_CHECK(written.size() == kGbaPaletteSize);
    FUZZ_CHECK(GbaPaletteWords(written) == words);
}

#ifdef ZANDREL_FUZZ_EXTRA_FORMATS
Palette16 ColoursOfComponents(const Components16& components) {
    Palette16 colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb& c = components[i];
        FUZZ_CHECK(c.red >= 0 && c.red <= 255 && c.green >= 0 && c.green <= 255 && c.blue >= 0 &&
                   c.blue <= 255);
        colours[i] = MakeColor(c.red, c.green, c.blue);
    }
    return colours;
}

ComponentsResult ReadAs(PaletteFormat format, std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    switch (format) {
    case PaletteFormat::Jasc:
        return ReadJascPalette(text);
    case PaletteFormat::Gimp:
        return ReadGimpPalette(text);
    case PaletteFormat::Act:
        return ReadActPalette(bytes);
    case PaletteFormat::Tpl:
        return ReadTplPalette(bytes);
    default:
        break;
    }
    FUZZ_CHECK(false);
    return {};
}

void CheckComponentFormat(PaletteFormat format, std::span<const std::uint8_t> bytes) {
    const ComponentsResult read = ReadAs(format, bytes);
    const WordsResult words = ReadExchangeFile(format, bytes);
    FUZZ_CHECK(read.ok() == words.ok());
    if (!read.ok()) {
        FUZZ_CHECK(!read.failure.reason.empty());
        return;
    }
    FUZZ_CHECK(words.words == WordsFromComponents(read.colours));
    for (const ColorWord w : words.words)
        FUZZ_CHECK(w <= 0x7FFF);

    // The components come back exactly through the writer of the same format.
    const Palette16 colours = ColoursOfComponents(read.colours);
    const std::vector<std::uint8_t> written = PaletteFileBytes(format, colours, "fuzz");
    // What the program writes, the import takes for the same format by its content.
    FUZZ_CHECK(PaletteFormatOfContent(written) == format);
    const ComponentsResult again = ReadAs(format, written);
    FUZZ_CHECK(again.ok());
    for (std::size_t i = 0; i < colours.size(); ++i)
        FUZZ_CHECK(again.colours[i] == read.colours[i]);

    // Colours this program writes from colour words come back as the same words.
    const std::vector<std::uint8_t> fromWords =
        PaletteFileBytes(format, ColoursOfWords(words.words), "fuzz");
    const WordsResult back = ReadExchangeFile(format, fromWords);
    FUZZ_CHECK(back.ok() && back.words == words.words);
}

void CheckGimpName(std::span<const std::uint8_t> bytes) {
    // Any name, line ends included, leaves a palette that reads back.
    const std::string_view name(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    PaletteWords16 words{};
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<ColorWord>((i * 2113 + bytes.size()) & 0x7FFF);
    const std::string text = GimpPaletteText(ColoursOfWords(words), name);
    const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
    const WordsResult back = ReadExchangeFile(PaletteFormat::Gimp, {begin, text.size()});
    FUZZ_CHECK(back.ok() && back.words == words);
}
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    switch (data[0] % 6) {
    case 0:
        CheckRawGba(bytes);
        break;
#ifdef ZANDREL_FUZZ_EXTRA_FORMATS
    case 1:
        CheckComponentFormat(PaletteFormat::Jasc, bytes);
        break;
    case 2:
        CheckComponentFormat(PaletteFormat::Tpl, bytes);
        break;
    case 3:
        CheckComponentFormat(PaletteFormat::Gimp, bytes);
        break;
    case 4:
        CheckComponentFormat(PaletteFormat::Act, bytes);
        break;
    case 5:
        CheckGimpName(bytes);
        break;
#endif
    default:
        break;
    }
    return 0;
}
