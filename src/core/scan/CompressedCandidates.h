// Compressed palette candidates: every palette of each LZ77 block of palette size that
// decompresses cleanly to words with bit 15 clear. Internal to the scanner.
#pragma once

#include <cstddef>
#include <vector>

#include "scan/ScanContext.h"

namespace zandrel::scan {

// The decompressed bytes one scan may spend on blocks: twice the file's size and one block
// more, far more than the palettes a game compresses. Headers past it are not tried, so a
// file of nothing but headers costs what its size does.
inline std::size_t DecompressionBudget(std::size_t romSize) {
    return 2 * romSize + kLargestBlock;
}

// Tries the headers in file order while the budget lasts; returns the bytes decompressed
// (each header tried counts its declared size).
std::size_t FindCompressedCandidates(const RomView& rom, const AlignedWords& aligned,
                                     std::vector<Found>& found);

} // namespace zandrel::scan
