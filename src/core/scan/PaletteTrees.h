// Boosted trees that judge again the windows the linear models do not rule out: evidence
// counts together, not only one value at a time (a black colour 0 after a zero word, say, is
// another thing on a table's grid than across it). Fitted by tools/scan_fit/fit.py: the first
// stage's (alone, without the neighbours) and the final model's (trees).
#pragma once

#include <array>
#include <cstddef>

#include "scan/PaletteScore.h"

namespace zandrel {

// A tree of depth 3, breadth first: split k sends the evidence below its value to 2k+1, the
// rest to 2k+2; splits 7 on are the leaves.
template <typename Evidence> struct DepthThreeTree {
    std::array<Evidence, 7> evidence;
    std::array<float, 7> below;
    std::array<float, 8> leaf;
};
using PaletteTree = DepthThreeTree<Evidence>;

// `base` and the leaves `values` reach in each of `trees`.
template <typename Tree, std::size_t N, typename Values>
double TreesSum(float base, const std::array<Tree, N>& trees, const Values& values) {
    constexpr int kLevels = 3;
    static_assert(std::tuple_size_v<decltype(Tree::below)> == (1 << kLevels) - 1);
    double logit = base;
    for (const Tree& tree : trees) {
        // Each level adds what a comparison gives, with no branch: which way a window goes is
        // too hard to foretell, and the trees are many.
        std::size_t node = 0;
        for (int level = 0; level < kLevels; ++level)
            node = 2 * node + 1 + std::size_t{!(values[tree.evidence[node]] < tree.below[node])};
        logit += tree.leaf[node - tree.below.size()];
    }
    return logit;
}

constexpr std::size_t kAloneTreeCount = 60;
extern const float kAloneTreesBase;
extern const std::array<PaletteTree, kAloneTreeCount> kAloneTrees;

constexpr std::size_t kTreeCount = 200;
extern const float kTreesBase;
extern const std::array<PaletteTree, kTreeCount> kPaletteTrees;

} // namespace zandrel
