#include "scan/PaletteFind.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "rom/Lz77.h"
#include "scan/GraphicsBlocks.h"
#include "util/SharedWork.h"

namespace zandrel {

namespace {

constexpr std::size_t kPaletteBytes = 2 * kPaletteColours;
// The farthest byte of a block a location names ("LZ:3B8A8C+FFFF").
constexpr std::size_t kFarthestInBlock = 0xFFFF;

// The largest difference of a red, green or blue between two words, bit 15 aside.
int Steps(unsigned a, unsigned b) {
    int most = 0;
    for (const int shift : {0, 5, 10})
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 31) -
                                       static_cast<int>((b >> shift) & 31)));
    return most;
}

auto Rank(const PaletteMatch& match) {
    return std::tuple(match.steps, match.differing, match.where.compressed, match.where.location,
                      match.where.offsetInBlock);
}

bool Better(const PaletteMatch& a, const PaletteMatch& b) {
    return Rank(a) < Rank(b);
}

// Only the best kMostMatches stay, dropped now and then, so that a file of matches everywhere
// costs no more memory than twice that.
void DropAllButTheBest(std::vector<PaletteMatch>& matches) {
    if (matches.size() < 2 * kMostMatches)
        return;
    std::ranges::nth_element(matches, matches.begin() + kMostMatches, Better);
    matches.resize(kMostMatches);
}

class Finder {
  public:
    Finder(const PaletteWords16& wanted, const FindOptions& options)
        : wanted_(wanted), first_(options.skipFirst ? 1 : 0),
          end_(std::clamp(options.colours, 1, kPaletteColours)), tolerance_(options.tolerance) {}

    // Every 2-byte aligned place of `bytes` that holds the palette; `at` makes its location.
    template <typename At>
    void Search(std::span<const std::uint8_t> bytes, const At& at, FindResult& result) const {
        if (bytes.size() < kPaletteBytes || first_ >= end_)
            return;
        for (std::size_t place = 0; place + kPaletteBytes <= bytes.size(); place += 2) {
            PaletteMatch match;
            if (Matches(bytes.data() + place, match)) {
                match.where = at(place);
                Keep(match, result);
            }
        }
    }

  private:
    bool Matches(const std::uint8_t* words, PaletteMatch& match) const {
        for (int i = first_; i < end_; ++i) {
            const unsigned word = words[2 * i] | words[2 * i + 1] << 8;
            if (((word ^ wanted_[i]) & 0x7FFF) == 0)
                continue;
            const int steps = tolerance_ == 0 ? 1 : Steps(word, wanted_[i]);
            if (steps > tolerance_)
                return false;
            match.steps = std::max(match.steps, steps);
            ++match.differing;
        }
        return true;
    }

    static void Keep(const PaletteMatch& match, FindResult& result) {
        ++result.found;
        result.matches.push_back(match);
        DropAllButTheBest(result.matches);
    }

    const PaletteWords16& wanted_;
    int first_;
    int end_;
    int tolerance_;
};

} // namespace

FindResult FindPalette(std::span<const std::uint8_t> rom, const PaletteWords16& wanted,
                       const FindOptions& options) {
    const Finder finder(wanted, options);
    // The LZ77 blocks, then the raw places in parts of a MiB, shared among the machine's
    // threads: each part's matches join the best of those before, and the best of all stay.
    FindResult all;
    std::mutex joining;
    const std::size_t rawParts = (rom.size() + kSharedPartBytes - 1) / kSharedPartBytes;
    ShareAmongThreads(1 + rawParts, [&](std::size_t part, bool) {
        FindResult result;
        const auto join = [&] {
            const std::lock_guard lock(joining);
            all.found += result.found;
            all.blocks += result.blocks;
            all.matches.insert(all.matches.end(), result.matches.begin(), result.matches.end());
            DropAllButTheBest(all.matches);
        };
        if (part == 0) {
            const Lz77WalkLimits limits{kPaletteBytes, 1,
                                        2 * std::uint64_t{rom.size()} + kLargestGraphicsBlock};
            ForEachLz77Block(rom, limits, [&](std::uint32_t header, const Lz77Block& block) {
                ++result.blocks;
                const std::span<const std::uint8_t> named =
                    std::span(block.data)
                        .first(std::min(block.data.size(), kFarthestInBlock + kPaletteBytes));
                finder.Search(
                    named,
                    [header](std::size_t place) {
                        return PaletteLocation{header, true, static_cast<std::uint32_t>(place)};
                    },
                    result);
            });
            join();
            return;
        }
        // The places of [from, from + kSharedPartBytes) and the bytes the last of them reads.
        const std::size_t from = (part - 1) * kSharedPartBytes;
        const std::size_t to = std::min(rom.size(), from + kSharedPartBytes + kPaletteBytes - 2);
        finder.Search(
            rom.subspan(from, to - from),
            [from](std::size_t place) {
                return PaletteLocation{static_cast<std::uint32_t>(from + place), false, 0};
            },
            result);
        join();
    });
    std::ranges::sort(all.matches, Better);
    if (all.matches.size() > kMostMatches)
        all.matches.resize(kMostMatches);
    return all;
}

std::string MatchName(const PaletteMatch& match) {
    if (match.differing == 0)
        return "exata";
    return "próxima: " + std::to_string(match.differing) +
           (match.differing == 1 ? " cor a " : " cores a ") + "até " + std::to_string(match.steps) +
           (match.steps == 1 ? " passo" : " passos");
}

} // namespace zandrel
