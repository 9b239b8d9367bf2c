// Boosted trees that judge again the windows the final model keeps: evidence counts together,
// not only one value at a time (a black colour 0 after a zero word, say, is another thing on a
// table's grid than across it). Fitted by tools/scan_fit/fit.py trees.
#pragma once

#include <array>
#include <cstddef>

#include "scan/PaletteScore.h"

namespace zandrel {

// A tree of depth 3, breadth first: split k sends the evidence below its value to 2k+1, the
// rest to 2k+2; splits 7 on are the leaves.
struct PaletteTree {
    std::array<Evidence, 7> evidence;
    std::array<float, 7> below;
    std::array<float, 8> leaf;
};

constexpr std::size_t kTreeCount = 200;
extern const float kTreesBase;
extern const std::array<PaletteTree, kTreeCount> kPaletteTrees;

} // namespace zandrel
