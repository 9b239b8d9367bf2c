#include "scan/RawCandidates.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "util/WideVectors.h"

namespace zandrel::scan {

namespace {

// Thumb code markers are counted this many bytes before and after a raw candidate.
constexpr std::size_t kCodeReach = 32;
constexpr double kEvenOdds = 0.5;
// How many palettes before and after a window count as its table, and the chance alone a
// neighbour needs to count as one of the table.
constexpr int kReach = 4;
constexpr float kInTable = 0.25f;
// How far below the cheap model's bar (in log-odds) a window on the grid of a table a pointer
// or a count names is judged: further judges too many windows of pointed data.
constexpr double kNamedSlack = 1.0;
// The chance alone from which a window names the windows a palette before and after it, and
// how far below the bar they are judged: a lower chance judged more of the tuning ROMs' banks
// with the same places across two palettes, a wider slack more places across two palettes.
constexpr float kNamesNeighbours = 0.2f;
constexpr double kNeighbourSlack = 1.0;
// The gate of a window that may not start a palette, below any bar.
constexpr double kNeverJudged = -1e9;
// The set of windows of a run is chosen this many windows at a time.
constexpr std::size_t kChosenAtOnce = std::size_t{1} << 16;
// A table a pointer or a count names reaches this many words past that place (16 palettes):
// the windows on its grid are judged on a lower bar, palettes 2 bytes off a 4-byte boundary may
// start on it, and a window looks this far back for the pointer that names its table.
constexpr std::size_t kTableReach = 16 * kPaletteColours;
// How far a pointed place's grid marks the windows across it (2 palettes): further, the grid of
// a pointer to one palette, a tilemap or a bank runs on into the next table and marks that
// table's own palettes as off its grid.
constexpr std::size_t kGridReach = 2 * kPaletteColours;

// A Thumb push, pop, bl or bx lr among the words of [from, to).
bool CodeMarker(const RomView& rom, std::size_t from, std::size_t to) {
    for (std::size_t at = from; at + 2 <= to; at += 2) {
        const ColorWord w = rom.Word(at);
        const int high = w >> 8;
        const bool branchAndLink =
            (high & 0xF8) == 0xF0 && at + 4 <= rom.size() && (rom.bytes()[at + 3] & 0xF8) == 0xF8;
        if (high == 0xB5 || high == 0xBD || w == 0x4770 || branchAndLink)
            return true;
    }
    return false;
}

// Code on both sides (a marker in the `kCodeReach` bytes before it and in those after it): the
// candidate is more likely a run of instructions than a palette stored next to code.
bool CodeAround(const RomView& rom, std::size_t location) {
    const std::size_t end = location + kPaletteBytes;
    return CodeMarker(rom, location >= kCodeReach ? location - kCodeReach : location % 2,
                      location) &&
           CodeMarker(rom, end, std::min(rom.size(), end + kCodeReach));
}

// 32 bytes at `at` that are 4bpp pixels of a palette using its first `used` slots: every
// nibble below `used`, not all zero.
bool TilesWithin(const RomView& rom, std::size_t at, int used) {
    if (at + kPaletteBytes > rom.size())
        return false;
    // Eight bytes at a time, each nibble in a byte of its own: adding 0x80 - used to a nibble
    // sets the byte's top bit when the nibble is `used` or more.
    constexpr std::uint64_t kNibbles = 0x0F0F0F0F0F0F0F0F, kTops = 0x8080808080808080;
    const std::uint64_t limit = 0x0101010101010101 * static_cast<std::uint64_t>(0x80 - used);
    bool any = false;
    for (std::size_t i = at; i < at + kPaletteBytes; i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, rom.bytes().data() + i, 8);
        if ((((bytes & kNibbles) + limit) | ((bytes >> 4 & kNibbles) + limit)) & kTops)
            return false;
        any = any || bytes != 0;
    }
    return any;
}

// Cheap counts over a window and the cheap model's weighed sum of them, kept as the window
// slides one word at a time. Only the sum and the counts the model reads apart are kept; the
// counts themselves are worked out when asked for (for fitting). Pairs count with the word
// before.
class WindowCounts {
  public:
    // The kinds of pair two neighbouring words make, one bit each, as the pair counts order them.
    static int PairBits(ColorWord w, ColorWord before) {
        const int step = int(w) - int(before);
        return int{w != 0 && w == before} | int{w != before && (w >> 8) == (before >> 8)} << 1 |
               int{std::abs(step) >= 1 && std::abs(step) <= 3} << 2 |
               int{w != 0 && before != 0 && (w >> 10) == (before >> 10)} << 3 | int{step > 0} << 4 |
               int{step < 0} << 5 | int{w != 0 && before == 0} << 6 |
               int{w == 0 && before != 0} << 7;
    }
    // The counts of the window at word `start` of a run.
    WindowCounts(const RomView& rom, std::size_t start) : rom_(rom), first_(start) {
        for (std::size_t i = start; i < start + kPaletteColours; ++i) {
            Enter(i, i > start);
        }
    }
    // To the window one word on (whose last word must be in the file): the first word leaves,
    // the second's pair with it too.
    void Next() {
        const std::size_t leaving = first_ % kPaletteColours;
        const std::size_t second = (first_ + 1) % kPaletteColours;
        const std::size_t last = first_ + kPaletteColours;
        nonZero_ -= rom_.Word(2 * first_) != 0;
        score_ -= wordScores_[leaving];
        score_ -= pairScores_[second];
        climbs_ -= pairBits_[second] >> kClimbBit & 1;
        falls_ -= pairBits_[second] >> kFallBit & 1;
        pairScores_[second] = 0;
        pairBits_[second] = 0;
        Enter(last, true);
        ++first_;
    }
    // The cheap model's log-odds (CountsLogit, in fixed point).
    double Logit() const {
        const CountModel& model = model_;
        return model.bias + static_cast<double>(score_) / kScale +
               model.steadier * static_cast<float>(std::max(climbs_, falls_));
    }
    // Fewer than two non-zero words: no palette, and no need of the other counts.
    bool TooFewColours() const { return nonZero_ < 2; }
    WindowCountValues Values() const {
        WindowCountValues v{};
        for (std::size_t i = first_; i < first_ + kPaletteColours; ++i) {
            const ColorWord w = rom_.Word(2 * i);
            const int bits = i > first_ ? PairBits(w, rom_.Word(2 * i - 2)) : 0;
            for (int k = 0; k < 8; ++k) {
                v[k] += static_cast<int>(SingleLanes(w) >> (8 * k) & 0xFF);
                v[8 + k] += bits >> k & 1;
            }
        }
        return v;
    }

  private:
    static constexpr double kScale = 4096; // of the fixed-point scores
    static constexpr int kClimbBit = kClimbPairs - kRepeatPairs;
    static constexpr int kFallBit = kFallPairs - kRepeatPairs;
    // The counts of one word, one 8-bit lane each as WindowCount orders them: non-zero,
    // printable bytes, sound-like, small number, low nibbles, character-table bytes, dark.
    static std::uint64_t SingleLanes(int w) {
        const int low = w & 0xFF, high = w >> 8;
        const auto count = [](bool b) { return std::uint64_t{b}; };
        return count(w != 0) |
               (count(low >= 0x20 && low < 0x7F) + count(high >= 0x20 && high < 0x7F)) << 8 |
               count(w != 0 &&
                     std::abs(static_cast<std::int8_t>(low) - static_cast<std::int8_t>(high)) <= 12)
                   << 16 |
               count(w != 0 && w < 0x200) << 24 | count(w != 0 && (w & 0x8888) == 0) << 32 |
               (count(low >= 0xA1 && low <= 0xEE) + count(high >= 0xA1 && high <= 0xEE)) << 40 |
               count(w != 0 && (w & 0x6318) == 0) << 48;
    }
    // The weighed sum of the counts of `lanes`, the first being count `first`, in fixed point.
    static std::int32_t Score(std::uint64_t lanes, int first) {
        double sum = 0;
        for (int k = 0; k < 8; ++k)
            sum += CountWeights().weights[first + k] * static_cast<double>(lanes >> (8 * k) & 0xFF);
        return static_cast<std::int32_t>(std::lround(sum * kScale));
    }
    // Word `i` joins the window as its last, with its pair when the word before is in it too.
    void Enter(std::size_t i, bool withPair) {
        const std::size_t slot = i % kPaletteColours;
        const ColorWord w = rom_.Word(2 * i);
        const int bits = withPair ? PairBits(w, rom_.Word(2 * i - 2)) : 0;
        wordScores_[slot] = wordTable_[w];
        pairScores_[slot] = pairTable_[bits];
        pairBits_[slot] = static_cast<std::uint8_t>(bits);
        nonZero_ += w != 0;
        climbs_ += bits >> kClimbBit & 1;
        falls_ += bits >> kFallBit & 1;
        score_ += wordScores_[slot] + pairScores_[slot];
    }
    // The weighed sum of each word with bit 15 clear (the only table a window's words look up,
    // small enough to stay in the cache) and of each set of pair bits.
    static const std::vector<std::int32_t>& WordScores() {
        static const std::vector<std::int32_t> table = [] {
            std::vector<std::int32_t> scores(0x8000);
            for (int w = 0; w < 0x8000; ++w)
                scores[w] = Score(SingleLanes(w), kNonZeroWords);
            return scores;
        }();
        return table;
    }
    static const std::vector<std::int32_t>& PairScores() {
        static const std::vector<std::int32_t> table = [] {
            std::vector<std::int32_t> scores(256);
            for (int bits = 0; bits < 256; ++bits) {
                std::uint64_t lanes = 0;
                for (int k = 0; k < 8; ++k)
                    lanes |= std::uint64_t(bits >> k & 1) << (8 * k);
                scores[bits] = Score(lanes, kRepeatPairs);
            }
            return scores;
        }();
        return table;
    }
    const RomView& rom_;
    const CountModel& model_ = CountWeights();
    const std::int32_t* wordTable_ = WordScores().data();
    const std::int32_t* pairTable_ = PairScores().data();
    std::size_t first_;
    std::array<std::int32_t, kPaletteColours> wordScores_{}; // by word index % 16
    std::array<std::int32_t, kPaletteColours> pairScores_{}; // with the word before, in it
    std::array<std::uint8_t, kPaletteColours> pairBits_{};
    int nonZero_ = 0, climbs_ = 0, falls_ = 0;
    std::int64_t score_ = 0; // of the words and pairs in the window
};

// Runs of at least 16 words with bit 15 clear among words [from, to), found by sampling every
// 16th word: `each(start, end)` in word indexes. `passed` (when set) hears of the file offset
// reached every MiB or so.
template <typename Each>
void ForEachRun(const RomView& rom, std::size_t from, std::size_t to,
                const std::function<void(std::size_t)>& passed, const Each& each) {
    constexpr std::size_t kProgressStep = std::size_t{1} << 20;
    std::size_t nextProgress = 2 * from + kProgressStep;
    std::size_t start = from;
    while (start + kPaletteColours <= to) {
        if (passed && 2 * start >= nextProgress) {
            passed(2 * start);
            nextProgress = 2 * start + kProgressStep;
        }
        const std::size_t last = start + kPaletteColours - 1;
        if (!rom.Clear(2 * last)) {
            start = last + 1;
            continue;
        }
        std::size_t first = last;
        while (first > start && rom.Clear(2 * (first - 1)))
            --first;
        if (first > start) {
            start = first;
            continue;
        }
        std::size_t end = last + 1;
        while (end < to && rom.Clear(2 * end))
            ++end;
        each(start, end);
        start = end + 1;
    }
}

// The evidence of the window at word `w` of the run [start, end) beyond its words; `offGrid`
// as PointedGridAt tells.
ZANDREL_WIDE_VECTORS void PlaceEvidence(const RomView& rom, const AlignedWords& aligned,
                                        std::size_t start, std::size_t end, std::size_t w,
                                        bool offGrid, int used, EvidenceValues& e) {
    const std::size_t location = 2 * w;
    // A pointer may name a 16-bit count right before the palettes.
    const auto pointedAt = [&](std::size_t word) {
        if (aligned.Targets(2 * word))
            return 1.0f;
        const ColorWord count = word > start ? rom.Word(2 * word - 2) : 0;
        return MayBeCount(count) && aligned.Targets(2 * word - 2) ? 1.0f : 0.0f;
    };
    e[kPointed] = pointedAt(w);
    // A count before a table sets the grid of its palettes: the window is on it, or takes the
    // count for a colour. Looks back whole palettes, up to 16, for a word `isCount` accepts (told
    // how many palettes back it lies) and sets `asColour` or `after` by where it lies.
    const auto countBack = [&](const auto& isCount, Evidence asColour, Evidence after) {
        for (std::size_t back = w, steps = 0; back >= start && steps < kPaletteColours;
             back -= kPaletteColours, ++steps) {
            if (isCount(back, steps)) {
                e[asColour] = 1;
                return;
            }
            if (back > start && isCount(back - 1, steps)) {
                e[after] = 1;
                return;
            }
            if (back < start + kPaletteColours)
                return;
        }
    };
    // A count of palettes (1 to 16) on a 4-byte boundary, the palettes it announces 2 bytes off
    // the boundary; nothing need point to it.
    countBack(
        [&](std::size_t word, std::size_t palettesBack) {
            const ColorWord c = rom.Word(2 * word);
            return word % 2 == 0 && c > palettesBack && c <= kPaletteColours;
        },
        kCountedAsColour, kInCountedTable);
    // Both searches below look for targets at most a table's reach and one word back: most
    // places have none there.
    const std::size_t reachBack = 2 * (kTableReach + 1);
    if (aligned.MayTargetAny(location > reachBack ? location - reachBack : 0, location + 1)) {
        // Any 16-bit count (1 to 511) a pointer names.
        countBack(
            [&](std::size_t word, std::size_t) {
                return MayBeCount(rom.Word(2 * word)) && aligned.Targets(2 * word);
            },
            kCountAsColour, kAfterPointedCount);
        for (std::size_t back = w;
             back >= start + kPaletteColours && e[kInPointedTable] == 0 && w - back < kTableReach;)
            back -= kPaletteColours, e[kInPointedTable] = pointedAt(back);
    }
    // The same colour 0 32 bytes away; black only when a colour follows it both times (zeros
    // of unused slots match anywhere).
    const auto sameStart = [&](std::size_t at) {
        const ColorWord first = rom.Word(location);
        return rom.Word(at) == first &&
               (first != 0 || (rom.Word(location + 2) != 0 && rom.Word(at + 2) != 0));
    };
    if (w >= start + kPaletteColours && sameStart(location - kPaletteBytes))
        e[kSharedFirst] += 0.5f;
    if (w + 2 * kPaletteColours <= end && sameStart(location + kPaletteBytes))
        e[kSharedFirst] += 0.5f;
    e[kZeroBefore] = w > start && rom.Word(location - 2) == 0;
    // A table may start right after a pointer as well as at the start of a run.
    const std::size_t reach = w > start + kTableReach ? w - kTableReach : start;
    const std::size_t pointerEnd = aligned.LatestPointerEnd(2 * reach, location);
    const std::size_t gridStart = pointerEnd != 0 ? pointerEnd / 2 : start;
    e[kRunStart] = w == gridStart;
    e[kOnRunGrid] = (w - gridStart) % kPaletteColours == 0;
    e[kAligned] = location % 4 == 0;
    e[kTilesBeside] =
        (location >= kPaletteBytes && TilesWithin(rom, location - kPaletteBytes, used)) ||
        TilesWithin(rom, location + kPaletteBytes, used);
    // Words of few colours whose nibbles are all below their count: pixels, not colours.
    constexpr int kFewSlots = 8;
    e[kSelfTiles] = used <= kFewSlots && TilesWithin(rom, location, used);
    e[kCode] = CodeAround(rom, location);
    e[kPointersIn] = static_cast<float>(PointersInside(rom.bytes(), location,
                                                       location + kPaletteBytes, rom.size())) /
                     8.0f;
    e[kOffGrid] = offGrid;
    if (aligned.MayTargetAny(location + 2, location + kPaletteBytes))
        for (std::size_t at = location + 2; at < location + kPaletteBytes && e[kPointedInside] == 0;
             at += 2)
            e[kPointedInside] = aligned.Targets(at);
    const std::size_t after = location + kPaletteBytes;
    // One zero after the end may be the next palette's black colour 0; two are not.
    int runOn = 0;
    while (rom.Word(after - 2) == 0 && runOn < 2 && after + 2 * runOn + 2 <= rom.size() &&
           rom.Word(after + 2 * runOn) == 0)
        ++runOn;
    e[kZerosRunOn] = 0.5f * static_cast<float>(runOn);
    const ColorWord before = w > start ? rom.Word(location - 2) : 0;
    e[kAfterCount] = location % 4 == 2 && MayBeCount(before);
    const ColorWord next = w + kPaletteColours < end ? rom.Word(after) : 0;
    e[kEndJoins] = std::min(ColourJoin(before, rom.Word(location)),
                            ColourJoin(rom.Word(after - 2), next)) <= kJoins;
}

// Where the window at word `w` stands against the grids of the tables pointed places set up to
// kGridReach words back in its run (from `start`): a pointed place starts a grid, and a
// pointed 16-bit count heading a table the grid a word later, when `mayHead(first)` says the
// window at the grid's first word may be a palette (a pointer to anything else sets no grid).
struct PointedGrid {
    bool onNone = false;    // grids are set, and the window is on none
    bool offLatest = false; // the latest of them is another grid
};
template <typename MayHead>
PointedGrid PointedGridAt(const RomView& rom, const AlignedWords& aligned, std::size_t start,
                          std::size_t w, const MayHead& mayHead) {
    PointedGrid at;
    bool any = false, own = false;
    std::size_t latest = 0; // the latest grid's first word, plus one
    const auto grid = [&](std::size_t first) {
        if (first > w || w - first > kGridReach || !mayHead(first))
            return;
        const bool on = (w - first) % kPaletteColours == 0;
        any = true;
        own = own || on;
        if (first + 1 > latest) {
            latest = first + 1;
            at.offLatest = !on;
        }
    };
    const std::size_t from = w >= start + kGridReach + 1 ? w - kGridReach - 1 : start;
    aligned.ForEachTarget(2 * from, 2 * w + 2, [&](std::size_t offset) {
        grid(offset / 2);
        const ColorWord count = rom.Word(offset);
        if (MayBeCount(count))
            grid(offset / 2 + 1);
    });
    at.onNone = any && !own;
    return at;
}

// Chances in fixed point, to be added and taken away exactly.
constexpr float kChanceScale = 1 << 16;
std::int32_t InFixedPoint(float chance) {
    return static_cast<std::int32_t>(chance * kChanceScale + 0.5f); // chances are not negative
}

// A window judged alone, waiting for the windows after it to be judged too.
struct Judged {
    double gate = 0;        // the counts' log-odds (kNeverJudged when it may not start a palette)
    float alone = 0;        // the chance AloneChance gives
    bool judged = false;    // its words were weighed
    bool candidate = false; // and hold colours enough
};
// The windows waiting, by word index modulo its size: more than twice kReach palettes and more
// than a pointed grid's reach (it looks back at the window it starts), a power of two so that
// a window's place is a mask away. Made once a scan, not once a run (a run sets
// each place before it reads it). What every window sets is apart from the evidence of the
// candidates, so that the run's windows stay in the nearest cache.
constexpr std::size_t kWaiting = 512;
static_assert(kWaiting > 2 * kReach * kPaletteColours && kWaiting > kGridReach + 1 &&
              (kWaiting & (kWaiting - 1)) == 0);
struct WaitingWindows {
    std::array<Judged, kWaiting> judged;
    std::array<EvidenceValues, kWaiting> evidence;
};

// `each(w, evidence)` for every window of the run [start, end) the counts let through and
// whose words hold colours enough, in order. Each waits until the windows up to kReach
// palettes after it are judged alone, and then weighs their chances and those before it.
template <typename Each>
void EachWindowOfRun(const RomView& rom, const AlignedWords& aligned, std::size_t start,
                     std::size_t end, WaitingWindows& waiting, const Each& each) {
    auto& judged = waiting.judged;
    constexpr std::size_t kReachWords = kReach * kPaletteColours;
    const std::size_t last = end - kPaletteColours; // the last window
    // Palettes 2 bytes off a 4-byte boundary follow a 16-bit count, start a run or a pointed
    // place, or lie whole palettes after such a place (up to a table's reach) or after another
    // such palette; other places off the boundary are not judged.
    // The latest such place on each of the 16 grids (by word index modulo 16): a place on
    // another grid does not end a table's grid.
    std::array<std::size_t, kPaletteColours> oddAnchors;
    oddAnchors.fill(SIZE_MAX);
    const auto mayStart = [&](std::size_t w) {
        if (w % 2 == 0)
            return true;
        std::size_t& anchor = oddAnchors[w % kPaletteColours];
        const ColorWord before = w > start ? rom.Word(2 * w - 2) : 0;
        if (w == start || aligned.Targets(2 * w) || MayBeCount(before)) {
            anchor = w;
            return true;
        }
        return (anchor != SIZE_MAX && w - anchor <= kTableReach) ||
               (w >= start + kPaletteColours && judged[(w - kPaletteColours) % kWaiting].candidate);
    };
    // The chance of the window `steps` palettes away (before when negative), 0 outside the run.
    const auto aloneAt = [&](std::size_t w, int steps) {
        const std::int64_t other = std::int64_t(w) + std::int64_t(steps) * kPaletteColours;
        if (other < std::int64_t(start) || other > std::int64_t(last))
            return 0.0f;
        return judged[std::size_t(other) % kWaiting].alone;
    };
    // The candidates judged and not yet left behind, in order (a ring of their word indexes and
    // chances alone), and the sums of those chances by grid: the grids' chances around a window
    // are those of the candidates kReach palettes before and after it. In fixed point, so that
    // what leaves the sums is exactly what came.
    struct Nearby {
        std::size_t w;
        std::int32_t alone;
    };
    std::array<Nearby, kWaiting> nearby;
    std::size_t nearFirst = 0, nearEnd = 0;
    std::array<std::int32_t, kPaletteColours> gridChances{};
    const auto finish = [&](std::size_t w) {
        const Judged& j = judged[w % kWaiting];
        if (!j.candidate)
            return;
        EvidenceValues& e = waiting.evidence[w % kWaiting];
        e[kPaletteBefore] = aloneAt(w, -1);
        e[kPaletteAfter] = aloneAt(w, +1);
        // How the window stands against the windows 1 to 15 words before and after it.
        float rival = 0;
        for (std::size_t other = w > start + 15 ? w - 15 : start; other <= std::min(last, w + 15);
             ++other)
            if (other != w)
                rival = std::max(rival, judged[other % kWaiting].alone);
        e[kAboveRivals] = std::max(0.0f, j.alone - rival);
        e[kBelowRivals] = std::max(0.0f, rival - j.alone);
        // The chances of the windows on each grid, kReach palettes before and after it: a
        // table's palettes share a grid, which the windows across it do not.
        for (; nearby[nearFirst % kWaiting].w + kReachWords < w; ++nearFirst) {
            const Nearby& leaving = nearby[nearFirst % kWaiting];
            gridChances[leaving.w % kPaletteColours] -= leaving.alone;
        }
        std::array<std::int32_t, kPaletteColours> grids = gridChances;
        const std::int32_t own = grids[w % kPaletteColours];
        grids[w % kPaletteColours] = 0;
        const float margin =
            static_cast<float>(own - *std::max_element(grids.begin(), grids.end())) /
            (kChanceScale * kReach);
        e[kGridAhead] = std::max(0.0f, margin);
        e[kGridBehind] = std::max(0.0f, -margin);
        for (const auto& [direction, evidence] : {std::pair{-1, kTableBefore}, {+1, kTableAfter}}) {
            int steps = 0;
            while (steps < kReach && aloneAt(w, direction * (steps + 1)) >= kInTable)
                ++steps;
            e[evidence] = static_cast<float>(steps) / kReach;
        }
        each(w, e);
    };

    // Windows on the grid of a table a pointer or a count of palettes names are judged below the
    // cheap model's bar (kNamedSlack): a dark palette of few colours has the counts of numbers.
    // So are the windows a palette before and after one likely enough alone (kNamesNeighbours,
    // kNeighbourSlack): banks and tables of palettes mix such palettes with brighter ones. The
    // one before is judged late, when the one after it is.
    std::size_t namedFirst = SIZE_MAX, namedLast = 0; // the table's first window and its last
    const auto onNamedGrid = [&](std::size_t w) {
        const ColorWord before = w > start ? rom.Word(2 * w - 2) : 0;
        const bool pointedCount = MayBeCount(before) && aligned.Targets(2 * w - 2);
        if (aligned.Targets(2 * w) || pointedCount) {
            namedFirst = w;
            namedLast = w + kTableReach;
        } else if (w % 2 == 1 && before != 0 && before <= kPaletteColours) {
            namedFirst = w;
            namedLast = w + kPaletteColours * (before - 1);
        }
        return namedFirst != SIZE_MAX && w <= namedLast && (w - namedFirst) % kPaletteColours == 0;
    };
    // Judges the window at `w` alone, once its counts let it through.
    const auto judge = [&](std::size_t w) {
        Judged& j = judged[w % kWaiting];
        EvidenceValues& e = waiting.evidence[w % kWaiting];
        j.judged = true;
        PaletteWords16 words;
        rom.Palette(2 * w, words);
        e = NewEvidence();
        j.candidate = WordsEvidence(words, e);
        if (!j.candidate)
            return;
        e[kCountsChance] = static_cast<float>(ChanceOfLogit(j.gate));
        const int used = kPaletteColours - static_cast<int>(e[kUnusedEnd] * kPaletteColours + 0.5f);
        const PointedGrid pointed = PointedGridAt(rom, aligned, start, w, [&](std::size_t first) {
            return first == w || judged[first % kWaiting].candidate;
        });
        PlaceEvidence(rom, aligned, start, end, w, pointed.onNone, used, e);
        e[kOffLatestGrid] = pointed.offLatest;
        j.alone = static_cast<float>(AloneChance(e));
        const std::int32_t alone = InFixedPoint(j.alone);
        // In order of place: a window judged late goes before those after it.
        std::size_t at = nearEnd++;
        for (; at > nearFirst && nearby[(at - 1) % kWaiting].w > w; --at)
            nearby[at % kWaiting] = nearby[(at - 1) % kWaiting];
        nearby[at % kWaiting] = {w, alone};
        gridChances[w % kPaletteColours] += alone;
    };
    WindowCounts counts(rom, start);
    const double worthJudging = CountWeights().worthJudging;
    for (std::size_t w = start; w <= last; ++w) {
        if (w > start)
            counts.Next();
        Judged& j = judged[w % kWaiting];
        j.judged = j.candidate = false;
        j.alone = 0;
        const double countsLogit = counts.TooFewColours() ? 0 : counts.Logit();
        // Asked of every window, so that each anchor is seen.
        const bool mayBePalette = mayStart(w);
        const bool onNamed = onNamedGrid(w);
        const bool afterLikely = w >= start + kPaletteColours &&
                                 judged[(w - kPaletteColours) % kWaiting].alone >= kNamesNeighbours;
        j.gate = mayBePalette && !counts.TooFewColours() ? countsLogit : kNeverJudged;
        const double slack =
            std::max(onNamed ? kNamedSlack : 0.0, afterLikely ? kNeighbourSlack : 0.0);
        if (j.gate >= worthJudging - slack)
            judge(w);
        if (j.alone >= kNamesNeighbours && w >= start + kPaletteColours) {
            Judged& before = judged[(w - kPaletteColours) % kWaiting];
            if (!before.judged && before.gate >= worthJudging - kNeighbourSlack)
                judge(w - kPaletteColours);
        }
        if (w >= start + kReachWords)
            finish(w - kReachWords);
    }
    for (std::size_t w = last >= start + kReachWords ? last - kReachWords + 1 : start; w <= last;
         ++w)
        finish(w);
}

// A table's grid may start at the window.
bool Anchored(const EvidenceValues& e) {
    return e[kPointed] > 0 || e[kAfterCount] > 0 || e[kRunStart] > 0 || e[kAfterPointedCount] > 0;
}

using Scored = std::vector<ScoredWindow>; // in order

// What a window following another by less than a gap of a whole palette costs, off the other's
// grid and at no anchor: the palettes of a table keep its 32-byte grid, so such a window would
// most likely cut across two of them.
constexpr double kGridChange = 2.0;

// Of `windows`, the set that does not overlap and whose chances above `bar` add up to the most,
// less kGridChange for each window off the grid of the one before it.
Scored BestSet(const Scored& windows, double bar) {
    constexpr std::size_t kNone = SIZE_MAX;
    const std::size_t n = windows.size();
    // ending[k]: the value of the best set whose last window is k, and the window before it.
    std::vector<double> ending(n);
    std::vector<std::size_t> previous(n, kNone);
    // best[k]: the best set among the first k windows, and its last window.
    std::vector<double> best(n + 1, 0.0);
    std::vector<std::size_t> bestLast(n + 1, kNone);
    std::size_t far = 0;  // the windows before `far` end a whole palette or more before k
    std::size_t near = 0; // the windows from `near` to k - 1 start a palette or more before k
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t w = windows[k].w;
        while (windows[far].w + 2 * kPaletteColours <= w)
            ++far;
        while (windows[near].w + kPaletteColours <= w)
            ++near;
        // near moves ahead of far: the windows between them do not overlap k.
        ending[k] = best[far];
        previous[k] = bestLast[far];
        for (std::size_t j = far; j < near; ++j) {
            const bool onGrid = windows[j].w + kPaletteColours == w || windows[k].anchored;
            const double value = ending[j] - (onGrid ? 0.0 : kGridChange);
            if (value > ending[k]) {
                ending[k] = value;
                previous[k] = j;
            }
        }
        ending[k] += windows[k].chance - bar;
        best[k + 1] = best[k];
        bestLast[k + 1] = bestLast[k];
        if (ending[k] > best[k + 1]) {
            best[k + 1] = ending[k];
            bestLast[k + 1] = k;
        }
    }
    Scored chosen;
    for (std::size_t k = bestLast[n]; k != kNone; k = previous[k])
        chosen.push_back(windows[k]);
    std::reverse(chosen.begin(), chosen.end());
    return chosen;
}

// The windows kept of part of a run: first the likely ones (above even odds), so that many
// weak windows never outweigh one likely palette; then, in the gaps they leave, the rest.
Scored KeptWindows(const Scored& windows) {
    Scored likely;
    for (const auto& window : windows)
        if (window.chance > kEvenOdds)
            likely.push_back(window);
    Scored kept = BestSet(likely, kEvenOdds);
    Scored gaps;
    std::size_t next = 0; // the first kept window not wholly before the candidate
    for (const auto& window : windows) {
        while (next < kept.size() && kept[next].w + kPaletteColours <= window.w)
            ++next;
        if (next == kept.size() || window.w + kPaletteColours <= kept[next].w)
            gaps.push_back(window);
    }
    const Scored weak = BestSet(gaps, kWorthKeeping);
    kept.insert(kept.end(), weak.begin(), weak.end());
    std::sort(kept.begin(), kept.end());
    return kept;
}

} // namespace

void EachCountedWindow(const RomView& rom,
                       const std::function<void(std::size_t, const WindowCountValues&)>& each) {
    ForEachRun(rom, 0, rom.size() / 2, {}, [&](std::size_t start, std::size_t end) {
        WindowCounts counts(rom, start);
        for (std::size_t w = start; w + kPaletteColours <= end; ++w) {
            if (w > start)
                counts.Next();
            each(2 * w, counts.Values());
        }
    });
}

void EachRawWindow(const RomView& rom, const AlignedWords& aligned,
                   const std::function<void(std::size_t, const EvidenceValues&)>& each) {
    const auto waiting = std::make_unique<WaitingWindows>();
    ForEachRun(rom, 0, rom.size() / 2, {}, [&](std::size_t start, std::size_t end) {
        EachWindowOfRun(rom, aligned, start, end, *waiting,
                        [&](std::size_t w, const EvidenceValues& e) { each(2 * w, e); });
    });
}

namespace {

// `each(w, evidence)` for every window kept of the runs among words [firstWord, endWord), in order,
// with its evidence among the windows kept around it.
template <typename Each>
void EachKept(const RomView& rom, const AlignedWords& aligned, std::size_t firstWord,
              std::size_t endWord, const std::function<void(std::size_t)>& passed,
              const Each& each) {
    Scored windows;
    const auto waiting = std::make_unique<WaitingWindows>();
    const auto keep = [&](std::size_t from) {
        std::size_t next = from;
        const Scored kept = KeptWindows(windows);
        const std::vector<KeptEvidenceValues> evidence =
            KeptEvidenceOf(rom, aligned, windows, kept);
        for (std::size_t k = 0; k < kept.size(); ++k) {
            each(kept[k].w, evidence[k]);
            next = kept[k].w + kPaletteColours;
        }
        windows.clear();
        return next;
    };
    ForEachRun(rom, firstWord, endWord, passed, [&](std::size_t start, std::size_t end) {
        std::size_t from = start; // the first word not yet in a kept window
        EachWindowOfRun(rom, aligned, start, end, *waiting,
                        [&](std::size_t w, const EvidenceValues& e) {
                            if (w < from)
                                return;
                            const double chance = PaletteChance(e);
                            if (chance >= kWorthKeeping)
                                windows.push_back({w, chance, Anchored(e)});
                            if (windows.size() >= kChosenAtOnce)
                                from = keep(from);
                        });
        keep(from);
    });
}

// Where each part of the file ends, in words, for parts of about `partBytes` bytes: right after
// a word with bit 15 set, which no run crosses (so a part runs on to the next such word).
std::vector<std::size_t> PartEnds(const RomView& rom, std::size_t partBytes) {
    const std::size_t words = rom.size() / 2, partWords = std::max<std::size_t>(partBytes / 2, 1);
    std::vector<std::size_t> ends;
    for (std::size_t end = partWords; end < words; end += partWords) {
        while (end < words && rom.Clear(2 * end))
            ++end;
        if (end + 1 >= words)
            break;
        ends.push_back(end + 1);
    }
    ends.push_back(words);
    return ends;
}

} // namespace

void FindRawCandidates(const RomView& rom, const AlignedWords& aligned, std::vector<Found>& found,
                       const std::function<void(std::size_t, std::size_t)>& progress,
                       std::size_t partBytes) {
    const std::vector<std::size_t> ends = PartEnds(rom, partBytes);
    std::vector<std::vector<Found>> partFound(ends.size());
    // The bytes each part has passed, for the progress the calling thread alone reports.
    std::vector<std::atomic<std::size_t>> passed(ends.size());
    const auto report = [&] {
        std::size_t done = 0;
        for (const auto& bytes : passed)
            done += bytes;
        progress(done, rom.size());
    };
    ShareAmongThreads(ends.size(), [&](std::size_t k, bool onCaller) {
        const std::size_t first = k == 0 ? 0 : ends[k - 1];
        const auto heard = [&, k, first, onCaller](std::size_t at) {
            passed[k] = at - 2 * first;
            if (onCaller && progress)
                report();
        };
        EachKept(rom, aligned, first, ends[k], heard,
                 [&](std::size_t w, const KeptEvidenceValues& e) {
                     const auto at = static_cast<std::uint32_t>(2 * w);
                     partFound[k].push_back({{{at, false, 0}, ScoreOfChance(KeptChance(e))},
                                             at,
                                             at + static_cast<std::uint32_t>(kPaletteBytes)});
                 });
        passed[k] = 2 * (ends[k] - first);
        if (onCaller && progress)
            report();
    });
    for (const auto& part : partFound)
        found.insert(found.end(), part.begin(), part.end());
}

void EachKeptWindow(const RomView& rom, const AlignedWords& aligned,
                    const std::function<void(std::size_t, const KeptEvidenceValues&)>& each) {
    EachKept(rom, aligned, 0, rom.size() / 2, {},
             [&](std::size_t w, const KeptEvidenceValues& e) { each(2 * w, e); });
}

} // namespace zandrel::scan
