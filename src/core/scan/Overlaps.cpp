#include "scan/Overlaps.h"

#include <algorithm>
#include <map>

#include "scan/PaletteScanner.h"

namespace zandrel::scan {

namespace {

// A block whose palettes score this much holds palettes: its stream's bytes are no raw palette
// however much they look like one.
bool LikelyBlock(const Found& f) {
    return f.candidate.where.compressed && f.candidate.score >= kDefaultMinimumScore;
}

bool Better(const Found& a, const Found& b) {
    if (LikelyBlock(a) != LikelyBlock(b))
        return LikelyBlock(a);
    if (a.candidate.score != b.candidate.score)
        return a.candidate.score > b.candidate.score;
    if (a.candidate.where.location != b.candidate.where.location)
        return a.candidate.where.location < b.candidate.where.location;
    return a.candidate.where.offsetInBlock < b.candidate.where.offsetInBlock;
}

} // namespace

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

} // namespace zandrel::scan
