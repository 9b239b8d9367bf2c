#include "palfiles/JascPalette.h"

#include <optional>
#include <vector>

#include "palfiles/Refusals.h"
#include "palfiles/TextPalette.h"
#include "util/NumberText.h"

namespace zandrel {

namespace {

constexpr std::string_view kJascHeader = "JASC-PAL";
constexpr std::string_view kJascVersion = "0100";

} // namespace

std::string JascPaletteText(const Palette16& colours) {
    std::string text = "JASC-PAL\r\n0100\r\n16\r\n";
    for (const RgbColor colour : colours) {
        const Rgb rgb = SplitColor(colour);
        text += std::to_string(rgb.red) + ' ' + std::to_string(rgb.green) + ' ' +
                std::to_string(rgb.blue) + "\r\n";
    }
    return text;
}

Failure ReadJascPalette(std::string_view text, Components16& colours) {
    if (Failure failure = CheckTextSize(text, "JASC"); !failure.ok())
        return failure;
    const std::vector<std::string_view> lines = SplitLines(text);
    const auto line = [&](std::size_t number) {
        return number <= lines.size() ? TrimBlanks(lines[number - 1]) : std::string_view{};
    };
    if (lines.empty() || line(1) != kJascHeader)
        return Refused(AtLine(1) + "falta o cabeçalho \"JASC-PAL\"");
    if (line(2) != kJascVersion)
        return Refused(AtLine(2) + "esperada a versão \"0100\"");
    const std::optional<std::int64_t> declared = ParseSignedDecimal(line(3));
    if (!declared || *declared < 0)
        return Refused(AtLine(3) + "esperado o número de cores");
    if (*declared < kPaletteColours)
        return Refused(AtLine(3) + DeclaresTooFew(*declared));

    Components16 read{};
    constexpr std::size_t kFirstEntryLine = 4;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const std::size_t number = kFirstEntryLine + i;
        if (number > lines.size())
            return TooFewColours(number, i);
        const std::vector<std::string_view> words = Words(lines[number - 1]);
        if (words.size() > 3)
            return NotThreeNumbers(number);
        if (Failure failure = ReadTriple(words, number, read[i]); !failure.ok())
            return failure;
    }
    colours = read;
    return {};
}

bool StartsAsJasc(std::span<const std::uint8_t> bytes) {
    return StartsWithWordNoCase(TextOf(bytes), "JASC");
}

} // namespace zandrel
