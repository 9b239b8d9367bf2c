#include "palfiles/PaletteFormats.h"

#include <algorithm>
#include <cctype>

#include "palfiles/ExtraFormats.h"
#include "rom/PaletteIO.h"
#include "util/Text.h"

namespace zandrel {

PaletteFormat ExportFormatForName(std::string_view name) {
    if (EndsWithNoCase(name, ".TPL"))
        return PaletteFormat::Tpl;
    if (EndsWithNoCase(name, ".PAL"))
        return PaletteFormat::Jasc;
    if (EndsWithNoCase(name, ".GBAPAL"))
        return PaletteFormat::GbaRaw;
    return PaletteFormat::None;
}

std::array<std::uint8_t, 3 * kPaletteColours> RgbTripleBytes(const Palette16& colours) {
    std::array<std::uint8_t, 3 * kPaletteColours> bytes{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb rgb = SplitColor(colours[i]);
        bytes[3 * i] = static_cast<std::uint8_t>(rgb.red);
        bytes[3 * i + 1] = static_cast<std::uint8_t>(rgb.green);
        bytes[3 * i + 2] = static_cast<std::uint8_t>(rgb.blue);
    }
    return bytes;
}

std::vector<std::uint8_t> GbaPaletteBytes(const Palette16& colours) {
    PaletteWords16 words{};
    std::transform(colours.begin(), colours.end(), words.begin(), ColorToWord);
    return WordsToBytes(words);
}

std::vector<std::uint8_t> TplPaletteBytes(const Palette16& colours) {
    std::vector<std::uint8_t> bytes(kTplHeader.begin(), kTplHeader.end());
    const auto triples = RgbTripleBytes(colours);
    bytes.insert(bytes.end(), triples.begin(), triples.end());
    return bytes;
}

std::string JascPaletteText(const Palette16& colours) {
    std::string text = "JASC-PAL\r\n0100\r\n16\r\n";
    for (const RgbColor colour : colours) {
        const Rgb rgb = SplitColor(colour);
        text += std::to_string(rgb.red) + ' ' + std::to_string(rgb.green) + ' ' +
                std::to_string(rgb.blue) + "\r\n";
    }
    return text;
}

std::vector<std::uint8_t> PaletteFileBytes(PaletteFormat format, const Palette16& colours,
                                           std::string_view name) {
    switch (format) {
    case PaletteFormat::None:
        return {};
    case PaletteFormat::GbaRaw:
        return GbaPaletteBytes(colours);
    case PaletteFormat::Tpl:
        return TplPaletteBytes(colours);
    case PaletteFormat::Jasc: {
        const std::string text = JascPaletteText(colours);
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }
    case PaletteFormat::Gimp: {
        const std::string text = GimpPaletteText(colours, name);
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }
    case PaletteFormat::Act:
        return ActPaletteBytes(colours);
    }
    return {};
}

PaletteWords16 GbaPaletteWords(std::span<const std::uint8_t> bytes) {
    const std::vector<ColorWord> words =
        BytesToWords(bytes.first(std::min(bytes.size(), kGbaPaletteSize)), kPaletteColours);
    PaletteWords16 result{};
    std::copy(words.begin(), words.end(), result.begin());
    return result;
}

} // namespace zandrel
