// A palette the scanner found: where it lies and how much it looks like one.
#pragma once

#include <string>

#include "rom/PaletteLocation.h"

namespace zandrel {

struct PaletteCandidate {
    PaletteLocation where;
    int score = 0; // 0 to 100
    friend bool operator==(const PaletteCandidate&, const PaletteCandidate&) = default;
};

// "Paleta bruta 3B8A8C (pontuação 87)", "Paleta comprimida LZ77 3B8A8C+20 (pontuação 91)".
std::string CandidateName(const PaletteCandidate& candidate);

} // namespace zandrel
