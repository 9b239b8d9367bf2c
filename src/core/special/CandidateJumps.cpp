#include "special/CandidateJumps.h"

#include <algorithm>

#include "scan/PaletteScanner.h"

namespace zandrel {

Failure CandidateJumps::Scan(const std::string& path) {
    const std::optional<FileVersion> version = VersionOf(path);
    if (version && version == scanned_)
        return {};
    scanned_.reset();
    locations_.clear();
    std::vector<std::uint8_t> rom;
    if (Failure failure = ReadRomImage(path, rom); !failure.ok())
        return failure;
    ScanOptions options;
    options.compressed = false; // the special mode reads raw words at its location
    for (const PaletteCandidate& candidate : ScanPalettes(rom, options))
        locations_.push_back(static_cast<std::int32_t>(candidate.where.location));
    std::sort(locations_.begin(), locations_.end());
    // The version was taken before the read: a file changed during it shows a newer one
    // next time and is scanned again.
    scanned_ = version;
    return {};
}

Failure CandidateJumps::Next(const std::string& path, std::int32_t location, bool backward,
                             std::optional<std::int32_t>& next) {
    next.reset();
    if (Failure failure = Scan(path); !failure.ok())
        return failure;
    if (backward) {
        const auto before = std::lower_bound(locations_.begin(), locations_.end(), location);
        if (before != locations_.begin())
            next = *std::prev(before);
    } else {
        const auto after = std::upper_bound(locations_.begin(), locations_.end(), location);
        if (after != locations_.end())
            next = *after;
    }
    return {};
}

} // namespace zandrel
