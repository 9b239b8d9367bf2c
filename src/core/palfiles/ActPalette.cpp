#include "palfiles/ActPalette.h"

#include <algorithm>
#include <string>

#include "palfiles/Refusals.h"

namespace zandrel {

std::vector<std::uint8_t> ActPaletteBytes(const Palette16& colours) {
    std::vector<std::uint8_t> bytes(kActPaletteSize, 0);
    const auto triples = RgbTripleBytes(colours);
    std::copy(triples.begin(), triples.end(), bytes.begin());
    return bytes;
}

Failure ReadActPalette(std::span<const std::uint8_t> bytes, Components16& colours) {
    if (bytes.size() < kActPaletteSize)
        return EndsBefore(bytes.size(), kActPaletteSize, "uma tabela de cores ACT");
    if (!IsActSize(bytes.size()))
        return Refused(AtOffset(kActPaletteSize) + "o arquivo tem " + std::to_string(bytes.size()) +
                       " bytes; uma tabela de cores ACT tem 768 ou 772");
    if (bytes.size() == kActPaletteSizeWithCount) {
        const int declared = bytes[kActPaletteSize] << 8 | bytes[kActPaletteSize + 1];
        // 0 states no count at all; 1 to 15 leave part of the sixteen colours undefined.
        if (declared > 0 && declared < kPaletteColours)
            return Refused(AtOffset(kActPaletteSize) + DeclaresTooFew(declared));
    }
    colours = TriplesAt(bytes, 0);
    return {};
}

bool IsActSize(std::size_t size) {
    return size == kActPaletteSize || size == kActPaletteSizeWithCount;
}

} // namespace zandrel
