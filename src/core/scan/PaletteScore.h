// How much 16 colour words at a place look like a palette a game stores, 0 to 100: the
// chance, in percent, that a palette starts there, from a logistic model over the evidence.
//
// Evidence for: several distinct colours (3 are enough), zeros only at the end (unused
// slots), colour 0 black or shared with the palettes 32 bytes around, colours near one
// another, many byte values, a ROM pointer to the place or to a table of palettes leading to
// it, a count of palettes before the table, tiles next to it whose pixels use only the palette's
// used slots, the start of a run of words with bit 15 clear. Evidence against: numbers that climb
// or fall steadily (curves, sines), words a step or two apart with a tilemap's high bits, small
// numbers, text bytes (ASCII or a one-byte character table), 4bpp pixels of low indexes only (in a
// compressed block, every nibble below 8), sound samples, runs of one word, pointers inside, Thumb
// code on both sides, an end whose colours run on into the word beyond it. Dark, pale, vivid and
// unordered palettes are judged on the same evidence as ramps: order counts for little.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "colour/Codec.h"

namespace zandrel {

enum Evidence : int {
    kBias,
    // The words alone.
    kFewColours,   // 3 or 4 distinct words
    kSomeColours,  // 5 to 8
    kManyColours,  // 9 or more
    kUnusedEnd,    // zero words after the last colour, of 16
    kZerosInside,  // zero words between colour 0 and the last colour, of 16
    kBlackFirst,   // colour 0 is black and colour 1 is not
    kKeyFirst,     // colour 0 is a transparent key: magenta (7C1F) or green (03E0)
    kZeroSecond,   // colour 1 is black after a colour 0 that is neither black nor a key
    kByteVariety,  // distinct byte values of the used words, of their bytes
    kNearColours,  // each colour near another: 1 - mean distance to the nearest / 8
    kRampOrder,    // neighbours that are steps of a ramp, of the pairs
    kSteadyNumber, // neighbours that climb (or fall) as numbers but are no ramp step, of the pairs
    kSmallSteps,   // neighbours 1 to 3 apart as numbers, of the pairs
    kSameHighBits, // neighbours with the same top 6 bits (a tilemap's flips and palette)
    kSmallNumber,  // words from 1 to 0x1FF, of 16
    kTextBytes,    // printable ASCII bytes, of 32
    kCharsetBytes, // bytes of a one-byte character table (A1-EE), of 32
    kLowNibbles,   // words whose four nibbles are all below 8 (4bpp pixels 0-7), of 16
    kSoundLike,    // non-zero words whose bytes are close as signed samples, of 16
    kRepeats,      // non-zero words equal to the one before, of 15
    kOneComponent, // fewer than two components move by 3 or more
    kDark,         // every component below 8
    kPale,         // every used colour with all components above 14
    // Where it lies (raw).
    kPointed,           // a ROM pointer targets it, or a 16-bit count (1 to 511) right before it
    kInPointedTable,    // a ROM pointer targets a place whole palettes before it, in its run
    kSharedFirst,       // colour 0 repeated 32 bytes before or after (1 for both)
    kZeroBefore,        // the word before it is zero (the unused end of a palette before)
    kRunStart,          // the word before it has bit 15 set, it starts the file, or it follows a
                        // ROM pointer on a 4-byte boundary
    kOnRunGrid,         // whole palettes from the start of its run of clear words, or from the
                        // latest such pointer up to sixteen palettes back
    kAligned,           // 4-byte aligned
    kTilesBeside,       // 32 bytes before or after are 4bpp pixels within its used slots
    kCountsChance,      // the chance the cheap model gives its counts
    kCode,              // Thumb code on both sides
    kPointersIn,        // ROM pointers among its aligned words, of 8
    kAfterCount,        // 2 bytes off a 4-byte boundary after a 16-bit count (1 to 511)
    kAfterPointedCount, // whole palettes after a pointed 16-bit count
    kCountAsColour,     // whole palettes from a pointed 16-bit count, which it takes for a colour
    kOffGrid,           // on none of the grids pointed places up to 2 palettes back set
    kPointedInside,     // a ROM pointer targets one of its words after the first
    kOffLatestGrid,     // off the grid of the latest pointed place up to 2 palettes back
    kZerosRunOn,        // its unused zero slots run on past its end (it starts too early)
    kSelfTiles,         // up to 8 slots used, and its own bytes are 4bpp pixels within them
    kInCountedTable,    // among the palettes a count (1 to 16) on a 4-byte boundary before it names
    kCountedAsColour,   // whole palettes from such a count, which it takes for a colour
    kEndJoins,          // colour 0 or its last word within kJoins of the word beyond it in its run
    // Compressed.
    kCompressed,    // a palette of a clean LZ77 block
    kBlockPointed,  // a ROM pointer targets the block
    kBlockPalettes, // palettes in the block, of 16
    // Its neighbours, as the first stage judges them alone.
    kPaletteBefore, // the chance of the 16 words before it (in its run or block)
    kPaletteAfter,  // the chance of the 16 words after it
    kTableBefore,   // likely palettes right before it, every 32 bytes, up to 4, of 4
    kTableAfter,    // the same after it
    kAboveRivals,   // its chance alone above the best of the windows overlapping it
    kBelowRivals,   // its chance alone below it
    kGridAhead,     // its grid's chances alone 4 palettes around above the best other grid's, of 4
    kGridBehind,    // below it
    kEvidenceCount
};

using EvidenceValues = std::array<float, kEvidenceCount>;

// No evidence yet: the bias alone.
inline EvidenceValues NewEvidence() {
    EvidenceValues e{};
    e[kBias] = 1;
    return e;
}

// Cheap counts of a window of 16 words, kept as the window slides (scan/RawCandidates.cpp):
// words, bytes or pairs of neighbouring words of each kind.
enum WindowCount : int {
    kNonZeroWords,
    kPrintableBytes,    // ASCII text
    kSoundWords,        // non-zero, bytes close as signed samples
    kSmallWords,        // 1 to 0x1FF
    kLowNibbleWords,    // non-zero, every nibble below 8
    kCharsetByteCount,  // A1 to EE
    kDarkWords,         // non-zero, every component below 8
    kNoCount,           // (a lane left empty)
    kRepeatPairs,       // non-zero, equal
    kSameHighBytePairs, // different words with the same high byte
    kSmallStepPairs,    // 1 to 3 apart as numbers
    kSameHighPairs,     // non-zero, same top 6 bits
    kClimbPairs,        // larger than the one before
    kFallPairs,         // smaller
    kColourAfterZero,   // non-zero after zero
    kZeroAfterColour,   // zero after non-zero
    kWindowCountCount
};
using WindowCountValues = std::array<int, kWindowCountCount>;

// A cheap model over the counts: a window is worth its evidence when it has two non-zero
// words or more and a log-odds at or above a low bar nearly every palette of the tuning ROMs
// clears.
struct CountModel {
    std::array<float, kWindowCountCount> weights;
    float bias;
    float steadier;     // on the larger of kClimbPairs and kFallPairs
    float worthJudging; // the bar
};
const CountModel& CountWeights();
double CountsLogit(const WindowCountValues& counts);

// Fewer distinct words than this is no palette: nothing to paint with.
constexpr int kFewestColours = 3;

// The evidence of the words alone, into `e` (the other values are left as they are). False
// when the words hold fewer than kFewestColours distinct words (then `e` is unchanged).
bool WordsEvidence(const PaletteWords16& words, EvidenceValues& e);

// Windows the first stage's linear model gives at least this chance are judged again by its
// trees (scan/PaletteTrees.h): most windows are ruled out at once, and the trees are dearer.
constexpr double kAloneTreesFloor = 0.01;
// The first stage's chance that the evidence is a palette's: everything but the neighbours.
double AloneChance(const EvidenceValues& e);
// The final log-odds, with the neighbours' chances from AloneChance.
double PaletteLogit(const EvidenceValues& e);
// The trees' log-odds (scan/PaletteTrees.h).
double TreesLogit(const EvidenceValues& e);

// Windows whose chance is below this are not worth keeping.
constexpr double kWorthKeeping = 0.02;
// The chance that the evidence is a palette's: the final model's, judged again by the trees
// when it is worth keeping (the trees are the dearer judge).
double PaletteChance(const EvidenceValues& e);

// 0 to 1.
double ChanceOfLogit(double logit);
// 0 to 100: the chance in percent.
int ScoreOfChance(double chance);

// How near two colours are: the largest difference of their components; kNoJoin when either is
// zero (an unused slot joins nothing). A window a word off a palette's place holds one colour
// of the palette next to it, whose colours run on across the window's end; the palettes of a
// table change colour where one ends.
constexpr int kNoJoin = 32;
constexpr int kJoins = 3;
inline int ColourJoin(ColorWord a, ColorWord b) {
    if (a == 0 || b == 0)
        return kNoJoin;
    int largest = 0;
    for (const int shift : {0, 5, 10}) {
        const int apart = (a >> shift & 31) - (b >> shift & 31);
        largest = std::max(largest, apart < 0 ? -apart : apart);
    }
    return largest;
}

// One shade to the next of a ramp: a different colour whose components all move the same
// way (one step of slack), none by more than 12.
inline bool RampStep(ColorWord from, ColorWord to) {
    constexpr int kLargestStep = 12;
    const int red = (to & 31) - (from & 31);
    const int green = (to >> 5 & 31) - (from >> 5 & 31);
    const int blue = (to >> 10 & 31) - (from >> 10 & 31);
    const int lowest = std::min(std::min(0, red), std::min(green, blue));
    const int highest = std::max(std::max(0, red), std::max(green, blue));
    return from != to && (lowest >= -1 || highest <= 1) && highest <= kLargestStep &&
           lowest >= -kLargestStep;
}

} // namespace zandrel
