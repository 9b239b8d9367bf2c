// How much sixteen colour words look like a palette a game stores, 0 to 100.
//
// The words alone (0-55): colour variety, byte variety, smoothness (each colour near
// another) and order (neighbours in the list are steps of a ramp); trailing zeros of a
// palette that uses only its first colours are left out. Less penalties for what else holds
// 16 words with bit 15 clear: text, low-index 4bpp tiles, 8-bit sound, small numbers, tables
// that move one component, runs of one word. The surroundings then add, in proportion to how
// palette-like the words are: a pointer to it (or whole palettes from a pointed place up to
// it), a palette beside it, a black colour 0, the same colour 0 every 32 bytes around it, a
// clean LZ77 block, 4-byte alignment; and take away pointer tables and Thumb code around it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "colour/Codec.h"

namespace zandrel {

// Consecutive 8-bit sound samples differ by about this much; a word whose two bytes are this
// close looks like two samples.
constexpr int kSoundStep = 12;

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

// Below this the words are not worth the surroundings' checks.
constexpr int kWorthCheckingScore = 25;
// A neighbour at or above this counts as a palette beside the candidate.
constexpr int kNeighbourScore = 30;

// 0 to 55 from the words alone (penalties may take it below 0); every word must have bit 15
// clear.
int WordsScore(const PaletteWords16& words);

struct PaletteSurroundings {
    bool pointed = false;       // a ROM pointer targets it (or its block)
    bool inPointedRun = false;  // whole palette-like steps of 32 bytes from a pointed place
    bool paletteBeside = false; // a palette-like 16 words 32 bytes before or after
    int sharedBackdrops = 0;    // palettes in steps of 32 bytes before and after with its colour 0
    bool compressed = false;    // decompressed from a clean LZ77 block of palette size
    bool wordAligned = false;   // raw and 4-byte aligned
    int pointersInside = 0;     // 08xxxxxx words inside it, as pointer tables hold
    int codeMarkers = 0;        // Thumb push/pop/bl/bx lr around it
};

// 0 to 100.
int PaletteScore(int wordsScore, const PaletteWords16& words, const PaletteSurroundings& around);

} // namespace zandrel
