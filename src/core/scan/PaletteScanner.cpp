#include "scan/PaletteScanner.h"

#include <future>
#include <system_error>
#include <utility>

#include "colour/Codec.h"
#include "platform/File.h"
#include "scan/CompressedCandidates.h"
#include "scan/Overlaps.h"
#include "scan/RawCandidates.h"
#include "scan/ScanContext.h"

namespace zandrel {

using namespace scan;

std::vector<PaletteCandidate> ScanPalettes(std::span<const std::uint8_t> rom,
                                           const ScanOptions& options) {
    const RomView view(rom);
    const AlignedWords aligned(rom);
    // Blocks always compete for their bytes (a raw-only scan still leaves out the raw windows a
    // better block holds), raw windows only when asked for: one left out must not drop a
    // block's palettes.
    std::vector<Found> found, blocks;
    {
        // The blocks are looked for on a thread of their own while the raw scan runs.
        const auto findBlocks = [&] { FindCompressedCandidates(view, aligned, blocks); };
        std::future<void> blocksFound;
        try {
            blocksFound = std::async(std::launch::async, findBlocks);
        } catch (const std::system_error&) { // no thread to spare
            findBlocks();
        }
        if (options.raw)
            FindRawCandidates(view, aligned, found, options.progress);
        if (blocksFound.valid())
            blocksFound.get();
    }
    found.insert(found.end(), blocks.begin(), blocks.end());
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
