#include "palfiles/GimpPalette.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "palfiles/Refusals.h"
#include "palfiles/TextPalette.h"

namespace zandrel {

namespace {

constexpr std::string_view kGimpHeader = "GIMP Palette";

} // namespace

std::string GimpPaletteText(const Palette16& colours, std::string_view name) {
    std::string oneLine;
    std::copy_if(name.begin(), name.end(), std::back_inserter(oneLine),
                 [](char c) { return c != '\r' && c != '\n'; });
    std::string text = std::string(kGimpHeader) + "\nName: " + oneLine + "\nColumns: 16\n#\n";
    for (const RgbColor colour : colours) {
        const Rgb rgb = SplitColor(colour);
        char line[32];
        std::snprintf(line, sizeof line, "%3d %3d %3d\t", rgb.red, rgb.green, rgb.blue);
        text += line + WordHexText(ColorToWord(colour)) + "\n";
    }
    return text;
}

Failure ReadGimpPalette(std::string_view text, Components16& colours) {
    if (Failure failure = CheckTextSize(text, "GIMP"); !failure.ok())
        return failure;
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || TrimBlanks(lines[0]) != kGimpHeader)
        return Refused(AtLine(1) + "falta o cabeçalho \"GIMP Palette\"");

    Components16 read{};
    std::size_t found = 0;
    for (std::size_t index = 1; index < lines.size() && found < read.size(); ++index) {
        const std::string_view line = TrimBlanks(lines[index]);
        if (line.empty() || line.front() == '#' || line.starts_with("Name:") ||
            line.starts_with("Columns:"))
            continue;
        const std::vector<std::string_view> words = Words(line);
        if (Failure failure = ReadTriple(words, index + 1, read[found]); !failure.ok())
            return failure;
        ++found;
    }
    if (found < read.size())
        return TooFewColours(lines.size() + 1, found);
    colours = read;
    return {};
}

bool StartsAsGimp(std::span<const std::uint8_t> bytes) {
    return StartsWithWordNoCase(TextOf(bytes), "GIMP");
}

} // namespace zandrel
