#include "scan/PaletteScanner.h"

#include <algorithm>
#include <map>

#include "colour/Codec.h"
#include "platform/File.h"
#include "scan/CompressedCandidates.h"
#include "scan/RawCandidates.h"
#include "scan/ScanContext.h"

namespace zandrel {

namespace {

using namespace scan;

bool Better(const Found& a, const Found& b) {
    if (a.candidate.score != b.candidate.score)
        return a.candidate.score > b.candidate.score;
    if (a.candidate.where.location != b.candidate.where.location)
        return a.candidate.where.location < b.candidate.where.location;
    return a.candidate.where.offsetInBlock < b.candidate.where.offsetInBlock;
}

// Best first; a candidate whose bytes overlap a better one's is dropped, except the other
// palettes of the same block.
std::vector<Found> KeepBestOfOverlaps(std::vector<Found> found) {
    std::sort(found.begin(), found.end(), Better);
    struct Claim {
        std::uint32_t end;
        bool block;
    };
    std::map<std::uint32_t, Claim> claimed; // start -> claim, never overlapping each other
    std::vector<Found> kept;
    for (const Found& f : found) {
        auto next = claimed.lower_bound(f.claimEnd);
        if (next != claimed.begin()) {
            const auto& [start, claim] = *std::prev(next);
            const bool sameBlock =
                claim.block && f.candidate.where.compressed && start == f.claimStart;
            if (claim.end > f.claimStart && !sameBlock)
                continue;
            if (sameBlock) {
                kept.push_back(f);
                continue;
            }
        }
        claimed.emplace(f.claimStart, Claim{f.claimEnd, f.candidate.where.compressed});
        kept.push_back(f);
    }
    return kept;
}

} // namespace

std::vector<PaletteCandidate> ScanPalettes(std::span<const std::uint8_t> rom,
                                           const ScanOptions& options) {
    const RomView view(rom);
    const AlignedWords aligned(rom);
    // Blocks always compete for their bytes (a raw-only scan still leaves out the raw windows a
    // better block holds), raw windows only when asked for: one left out must not drop a
    // block's palettes.
    std::vector<Found> found;
    if (options.raw)
        FindRawCandidates(view, aligned, found, options.progress);
    FindCompressedCandidates(view, aligned, found);
    if (options.progress)
        options.progress(rom.size(), rom.size());
    std::vector<PaletteCandidate> result;
    for (const Found& f : KeepBestOfOverlaps(std::move(found))) {
        const bool wanted = f.candidate.where.compressed ? options.compressed : options.raw;
        if (wanted && f.candidate.score >= options.minimumScore)
            result.push_back(f.candidate);
    }
    return result;
}

Failure ReadRomImage(const std::string& path, std::vector<std::uint8_t>& bytes) {
    if (const FileStatus status = ReadWholeFile(path, kLargestRomSize, bytes); !status.ok())
        return Failure::CannotRead(path, status);
    return {};
}

} // namespace zandrel
