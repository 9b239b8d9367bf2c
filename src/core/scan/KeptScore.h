// A kept raw window judged again with the windows kept around it: the palettes of a table share
// a 32-byte grid, and a window a word or two off that grid reads as a palette as well as the one
// on it, so its row, the windows it beat and the words at its ends say more than its own
// evidence. Weighed by a model fitted as tools/scan_fit/README.md says. Internal to the scanner.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "scan/PaletteTrees.h"
#include "scan/ScanContext.h"

namespace zandrel::scan {

enum KeptEvidence : int {
    kKeptBias,
    kOwnLogit,       // its own log-odds
    kRowLength,      // log2 of the kept windows in a row at a 32-byte step, it among them
    kRowFirst,       // it is the first of its row
    kRowLast,        // the last
    kRowOthers,      // the mean log-odds of the others of its row (0 alone)
    kKeptJustBefore, // another kept window ends less than 32 bytes before it
    kKeptJustAfter,  // another starts less than 32 bytes after it
    kKeptPointed,    // a ROM pointer targets it
    kRowPointed,     // a pointer targets the first of its row, or a 16-bit count right before it
    kRivalLogit,     // the log-odds of the likeliest window it overlaps (-6 for none)
    kRivalAbove,     // that less its own
    kKeptAligned,    // 4-byte aligned
    kKeptAfterCount, // 2 bytes off a 4-byte boundary after a 16-bit count (1 to 511)
    kRowLikely,      // of its row, the windows above even odds
    kZeroFirst,      // colour 0 is black
    kZeroBeforeIt,   // the word before it is zero
    kZeroSlots,      // zero words at its end, of 16
    kZeroLast,       // its last word is zero
    kZeroAfterIt,    // the word after it is zero
    kSameFirst,      // colour 0 repeated 32 bytes before or after
    kSameLast,       // its last word, not zero, repeated 32 bytes before or after
    kRowHeadSmall,   // its row starts with a word of 1 to 511 on a 4-byte boundary (a header)
    kRowEndPointed,  // a ROM pointer targets the word right after its row
    kRowEndNear,     // none does, but one targets a word 2 to 6 bytes after its row
    kCountCrossed,   // it or one before it in its row starts on a 4-byte boundary with a word of
                     // 1 to 16 (a count of palettes, taken for a colour)
    kEndsJoin,       // the nearer of its two ends to the word beyond it: the largest component
                     // difference of colour 0 and the word before, or of its last word and the
                     // word after (kNoJoin when a zero stands at each end)
    kRowEndsJoin,    // of its row, the share of windows whose kEndsJoin is at most kJoins
    kRowHeadPointer, // its row starts on a 4-byte boundary with a ROM pointer into the file
    kRowRivalAbove,  // of its row, the mean of kRivalAbove (a row read a word off its table's
                     // grid has the table's palettes for rivals all along)
    kRowSameFirst,   // of its row, the share of windows side by side with the same colour 0
    kRowSameLast,    // the same for the last word (a row a word or two late ends each window
                     // with the next one's first colours, a bank's shared ones)
    kRowHeadGap,     // the colour words right before its row, up to a zero or a word with bit 15
                     // set (at most 16): a row a word or two off its table's grid leaves a
    kRowTailGap,     // colour or two of it outside at one end, where tables end on padding
    kKeptEvidenceCount
};
using KeptEvidenceValues = std::array<float, kKeptEvidenceCount>;

// A raw window worth keeping: its word index, its chance, and whether it may start a table's
// grid of its own (a pointed place, after a 16-bit count, at the start of its run).
struct ScoredWindow {
    std::size_t w;
    double chance;
    bool anchored;
    bool operator<(const ScoredWindow& other) const { return w < other.w; }
};

// The evidence of each of `kept` (in order, none overlapping another) among `scored` (every
// window worth keeping of the same part of a run, in order, the kept ones among them).
std::vector<KeptEvidenceValues> KeptEvidenceOf(const RomView& rom, const AlignedWords& aligned,
                                               std::span<const ScoredWindow> scored,
                                               std::span<const ScoredWindow> kept);

// Boosted trees over the evidence (fitted by tools/scan_fit/fit.py kept), and the chance they
// give.
using KeptTree = DepthThreeTree<KeptEvidence>;
constexpr std::size_t kKeptTreeCount = 400;
extern const float kKeptTreesBase;
extern const std::array<KeptTree, kKeptTreeCount> kKeptTrees;
double KeptChance(const KeptEvidenceValues& e);

} // namespace zandrel::scan
