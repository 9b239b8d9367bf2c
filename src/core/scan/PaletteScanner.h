// Finds the 16-colour palettes of a ROM image nobody described: raw ones (16 little-endian
// words with bit 15 clear, 2-byte aligned) and LZ77 blocks of palettes (4-byte aligned
// header 0x10, 32 to 512 bytes in whole palettes, decompressing cleanly inside the file,
// every word with bit 15 clear). Each candidate gets a score, the chance in percent that a
// palette starts there (scan/PaletteScore.h). Raw windows of one run of clear words never
// overlap: the run keeps the set whose chances add up to the most, likely ones first, so a
// table of palettes keeps its 32-byte grid (scan/RawCandidates.h); where a raw candidate and
// a block overlap, the better stays. A block of several palettes gives one candidate per
// palette of 32 bytes. The work of one scan is bounded by the file's size, whatever it holds;
// the machine's threads share the raw windows a MiB at a time, and the blocks are looked for
// beside them, with the same candidates as one thread finds.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "scan/PaletteCandidate.h"

namespace zandrel {

constexpr int kDefaultMinimumScore = 50;
// The largest GBA ROM (the cartridge's address space): scanning reads no more than this.
constexpr std::uint64_t kLargestRomSize = std::uint64_t{32} << 20;

struct ScanOptions {
    int minimumScore = kDefaultMinimumScore;
    // Which candidates to report; both kinds are always found, so that a raw window inside a
    // compressed stream is still suppressed by the block.
    bool raw = true;
    bool compressed = true;
    // Called now and then with the bytes scanned so far and the file's size, for a display of
    // progress; the last call has them equal.
    std::function<void(std::size_t done, std::size_t total)> progress = nullptr;
};

// Candidates at or above the minimum score, best first (then by location and offset).
std::vector<PaletteCandidate> ScanPalettes(std::span<const std::uint8_t> rom,
                                           const ScanOptions& options = {});

// The whole file, for scanning: CannotRead when it is refused, unread or larger than
// kLargestRomSize (nothing is read then).
Failure ReadRomImage(const std::string& path, std::vector<std::uint8_t>& bytes);

} // namespace zandrel
