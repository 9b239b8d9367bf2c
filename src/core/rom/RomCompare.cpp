#include "rom/RomCompare.h"

#include <algorithm>
#include <optional>

#include "rom/Lz77.h"

namespace zandrel {

namespace {

struct PaletteRead {
    std::optional<std::vector<ColorWord>> words; // nothing when the file cannot give them
    ByteRange claim;                             // the file bytes it stands for
};

// The palettes of one file, visited by location so that each block is decompressed once and
// only the last one is kept. The blocks' declared sizes add up to at most four times the
// file's size and one 16 MiB block; a palette in a block past that reads as unreadable, and
// its bytes are compared as any others.
class PaletteReader {
  public:
    explicit PaletteReader(std::span<const std::uint8_t> file)
        : file_(file), budget_(4 * std::uint64_t{file.size()} + (std::uint64_t{16} << 20)) {}

    PaletteRead Read(const ListedPalette& palette) {
        const PaletteLocation& where = palette.where;
        const auto count = static_cast<std::size_t>(palette.colours);
        PaletteRead read;
        read.claim = {where.location, where.location + 2 * count - 1};
        std::span<const std::uint8_t> bytes = file_;
        std::size_t at = where.location;
        if (where.compressed) {
            const Lz77Block& block = Block(where.location);
            read.claim.last = where.location + std::max<std::size_t>(block.streamLength, 1) - 1;
            if (!block.ok() || where.offsetInBlock % 2 != 0)
                return read;
            bytes = block.data;
            at = where.offsetInBlock;
        }
        if (at + 2 * count > bytes.size())
            return read;
        std::vector<ColorWord> words(count);
        for (std::size_t i = 0; i < count; ++i)
            words[i] =
                static_cast<ColorWord>((bytes[at + 2 * i] | bytes[at + 2 * i + 1] << 8) & 0x7FFF);
        read.words = std::move(words);
        return read;
    }

  private:
    const Lz77Block& Block(std::uint32_t location) {
        if (blockAt_ == location)
            return block_;
        blockAt_ = location;
        const std::int64_t declared = Lz77DeclaredSize(file_, location);
        if (declared < 0 || static_cast<std::uint64_t>(declared) > budget_) {
            block_ = Lz77Block{Lz77Error::NotLz77, {}, 0};
            return block_;
        }
        budget_ -= static_cast<std::uint64_t>(declared);
        block_ = DecompressLz77(file_, location);
        return block_;
    }

    std::span<const std::uint8_t> file_;
    std::uint64_t budget_;
    std::int64_t blockAt_ = -1; // the block kept, -1 before the first
    Lz77Block block_;
};

std::optional<PaletteDifference> Differences(const PaletteRead& before, const PaletteRead& after) {
    PaletteDifference difference;
    difference.readableBefore = before.words.has_value();
    difference.readableAfter = after.words.has_value();
    if (!before.words && !after.words)
        return std::nullopt; // as good as the bytes say: they are compared
    if (before.words && after.words)
        for (std::size_t i = 0; i < before.words->size(); ++i)
            if ((*before.words)[i] != (*after.words)[i])
                difference.changes.push_back(
                    {static_cast<int>(i), (*before.words)[i], (*after.words)[i]});
    if (difference.readableBefore && difference.readableAfter && difference.changes.empty())
        return std::nullopt;
    return difference;
}

// The claims sorted and joined where they touch or overlap.
std::vector<ByteRange> Joined(std::vector<ByteRange> claims) {
    std::ranges::sort(claims, {}, &ByteRange::first);
    std::vector<ByteRange> joined;
    for (const ByteRange& claim : claims) {
        if (!joined.empty() && claim.first <= joined.back().last + 1)
            joined.back().last = std::max(joined.back().last, claim.last);
        else
            joined.push_back(claim);
    }
    return joined;
}

void AddRange(RomComparison& comparison, std::uint64_t first, std::uint64_t last,
              std::size_t kept) {
    comparison.bytes += last - first + 1;
    ++comparison.ranges;
    if (comparison.firstRanges.size() < kept)
        comparison.firstRanges.push_back({first, last});
}

} // namespace

RomComparison CompareRoms(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                          std::span<const ListedPalette> palettes, std::size_t rangesKept) {
    RomComparison comparison;
    std::vector<std::size_t> order(palettes.size());
    for (std::size_t p = 0; p < order.size(); ++p)
        order[p] = p;
    std::ranges::stable_sort(order, {}, [&](std::size_t p) { return palettes[p].where.location; });
    PaletteReader readBefore(before);
    PaletteReader readAfter(after);
    std::vector<ByteRange> claims;
    for (const std::size_t p : order) {
        const PaletteRead was = readBefore.Read(palettes[p]);
        const PaletteRead is = readAfter.Read(palettes[p]);
        claims.push_back(was.claim);
        claims.push_back(is.claim);
        if (std::optional<PaletteDifference> difference = Differences(was, is)) {
            difference->palette = p;
            comparison.palettes.push_back(std::move(*difference));
        }
    }
    std::ranges::sort(comparison.palettes, {}, &PaletteDifference::palette);
    const std::vector<ByteRange> listed = Joined(std::move(claims));
    const std::uint64_t end = std::max(before.size(), after.size());
    const auto differs = [&](std::uint64_t at) {
        return at >= before.size() || at >= after.size() || before[at] != after[at];
    };
    auto claim = listed.begin();
    bool gathering = false;
    std::uint64_t start = 0; // of the range being gathered
    for (std::uint64_t at = 0; at < end; ++at) {
        while (claim != listed.end() && claim->last < at)
            ++claim;
        const bool inClaim = claim != listed.end() && claim->first <= at;
        if (!inClaim && differs(at)) {
            start = gathering ? start : at;
            gathering = true;
            continue;
        }
        if (gathering)
            AddRange(comparison, start, at - 1, rangesKept);
        gathering = false;
    }
    if (gathering)
        AddRange(comparison, start, end - 1, rangesKept);
    return comparison;
}

} // namespace zandrel
