// Finds the 16-colour palettes of a ROM image nobody described: raw ones (16 little-endian
// words with bit 15 clear, 2-byte aligned) and LZ77 blocks of palettes (4-byte aligned
// header 0x10, 32 to 512 bytes in whole palettes, decompressing cleanly inside the file,
// every word with bit 15 clear). Each candidate gets a score (rom/PaletteScore.h); where two
// overlap in the file only the better stays. A block of several palettes gives one
// candidate per palette of 32 bytes, each scored on its own.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/File.h"
#include "rom/PaletteLocation.h"

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
};

struct PaletteCandidate {
    PaletteLocation where;
    int score = 0; // 0 to 100
    friend bool operator==(const PaletteCandidate&, const PaletteCandidate&) = default;
};

// Candidates at or above the minimum score, best first (then by location and offset).
std::vector<PaletteCandidate> ScanPalettes(std::span<const std::uint8_t> rom,
                                           const ScanOptions& options = {});

// "Paleta bruta 3B8A8C (pontuação 87)", "Paleta comprimida LZ77 3B8A8C+20 (pontuação 91)".
std::string CandidateName(const PaletteCandidate& candidate);
// A definition-file line without its line end: "16,LZ:3B8A8C+20,Paleta comprimida ...".
std::string DefinitionLine(const PaletteCandidate& candidate);

struct RomImageRead {
    FileStatus io;
    bool tooLarge = false; // larger than kLargestRomSize: nothing was read

    bool ok() const { return io.ok() && !tooLarge; }
};

// The whole file, for scanning: refused, unread, above kLargestRomSize.
RomImageRead ReadRomImage(const std::string& path, std::vector<std::uint8_t>& bytes);
// A failed ReadRomImage as the commands report it: CannotRead, with the limit for a file
// above it.
Failure RomImageFailure(const std::string& path, const RomImageRead& read);

} // namespace zandrel
