// Compressed palette candidates: every palette of each LZ77 block of palette size that
// decompresses cleanly to words with bit 15 clear, however low it scores. Internal to the
// scanner.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
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

// What FindCompressedCandidates weighs: `each(header offset, offset in the block, stream
// length, evidence)` for every palette of every clean block, the evidence empty when the
// palette holds too few colours to have any. Returns the bytes decompressed.
std::size_t
EachCompressedPalette(const RomView& rom, const AlignedWords& aligned,
                      const std::function<void(std::size_t, std::size_t, std::size_t,
                                               const std::optional<EvidenceValues>&)>& each);

} // namespace zandrel::scan
