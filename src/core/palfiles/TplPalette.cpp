#include "palfiles/TplPalette.h"

#include <algorithm>
#include <string>

#include "palfiles/Refusals.h"

namespace zandrel {

std::vector<std::uint8_t> TplPaletteBytes(const Palette16& colours) {
    std::vector<std::uint8_t> bytes(kTplHeader.begin(), kTplHeader.end());
    const auto triples = RgbTripleBytes(colours);
    bytes.insert(bytes.end(), triples.begin(), triples.end());
    return bytes;
}

Failure ReadTplPalette(std::span<const std::uint8_t> bytes, Components16& colours) {
    if (Failure failure =
            CheckSize(bytes.size(), kTplPaletteSize, kMaxTplPaletteSize, "uma paleta TPL");
        !failure.ok())
        return failure;
    if (!StartsAsTpl(bytes))
        return Refused(AtOffset(0) + "o arquivo não começa com \"TPL\"");
    if (bytes[3] != kTplHeader[3])
        return Refused(AtOffset(3) + "tipo " + std::to_string(bytes[3]) +
                       " não suportado (esperado 0, cores RGB de 3 bytes)");
    colours = TriplesAt(bytes, kTplHeader.size());
    return {};
}

bool StartsAsTpl(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 3 &&
           std::equal(kTplHeader.begin(), kTplHeader.begin() + 3, bytes.begin());
}

bool IsTplSize(std::size_t size) {
    return size >= kTplHeader.size() && (size - kTplHeader.size()) % 3 == 0;
}

} // namespace zandrel
