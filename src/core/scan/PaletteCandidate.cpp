#include "scan/PaletteCandidate.h"

#include "util/Hex.h"

namespace zandrel {

std::string CandidateName(const PaletteCandidate& candidate) {
    std::string place = HexText(candidate.where.location);
    if (candidate.where.compressed && candidate.where.offsetInBlock != 0)
        place += '+' + HexText(candidate.where.offsetInBlock);
    const std::string kind =
        candidate.where.compressed ? "Paleta comprimida LZ77 " : "Paleta bruta ";
    return kind + place + " (pontuação " + std::to_string(candidate.score) + ")";
}

} // namespace zandrel
