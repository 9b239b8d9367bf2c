#include "palfiles/PngPalette.h"

#include <algorithm>
#include <string>
#include <vector>

#include "palfiles/Refusals.h"
#include "png/Png.h"

namespace zandrel {

Failure ReadPngPalette(std::span<const std::uint8_t> bytes, Components16& colours) {
    std::vector<Rgb> entries;
    if (Failure failure = ReadPngPlte(bytes, entries); !failure.ok())
        return failure;
    if (entries.size() < kPaletteColours)
        return Refused("a paleta (PLTE) do PNG tem " + std::to_string(entries.size()) +
                       " cores; são necessárias 16");
    std::copy_n(entries.begin(), kPaletteColours, colours.begin());
    return {};
}

} // namespace zandrel
