#include "scan/RawCandidates.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zandrel::scan {

namespace {

// Thumb code markers are counted this many bytes before and after a raw candidate.
constexpr std::size_t kCodeReach = 48;
// The score of words ruled out before scoring.
constexpr int kNotPalette = -100;
// Fewer byte values than this in 32 bytes is no palette (6 colours and zeros have more).
constexpr int kFewestDistinctBytes = 12;
constexpr int kFewestRampSteps = 3;

// Thumb push/pop/bl/bx lr in the `kCodeReach` bytes on one side of a raw candidate.
int CodeMarkers(const RomView& rom, std::size_t from, std::size_t to) {
    int markers = 0;
    for (std::size_t at = from; at + 2 <= to; at += 2) {
        const ColorWord w = rom.Word(at);
        const int high = w >> 8;
        const bool branchAndLink =
            (high & 0xF8) == 0xF0 && at + 4 <= rom.size() && (rom.bytes()[at + 3] & 0xF8) == 0xF8;
        markers += high == 0xB5 || high == 0xBD || w == 0x4770 || branchAndLink;
    }
    return markers;
}

// Code on both sides: the candidate is more likely a run of instructions than a palette
// stored next to code.
int CodeMarkersAround(const RomView& rom, std::size_t location) {
    const std::size_t end = location + kPaletteBytes;
    const int before =
        CodeMarkers(rom, location >= kCodeReach ? location - kCodeReach : location % 2, location);
    const int after = CodeMarkers(rom, end, std::min(rom.size(), end + kCodeReach));
    return before > 0 && after > 0 ? before + after : 0;
}

// Cheap counts over a window, kept as it slides one word at a time, that rule most windows
// out before their words are scored: one 8-bit lane per count, added and taken away whole.
class WindowCounts {
  public:
    // What word `w` (bit 15 clear, after `before`) adds to the lanes; `singles` is
    // SingleWordCounts().
    static std::uint64_t Of(const std::uint32_t* singles, ColorWord w, ColorWord before) {
        const std::uint64_t repeats = w == before;
        const std::uint64_t highRepeats = w != 0 && (w >> 8) == (before >> 8);
        return repeats | highRepeats << 8 | std::uint64_t{singles[w]} << 16;
    }
    void Add(std::uint64_t lanes) { lanes_ += lanes; }
    void Remove(std::uint64_t lanes) { lanes_ -= lanes; }
    // Repeated words, slow high bytes, text, tiles of few colours, sound, small numbers. All
    // lanes are compared at once: adding 127 - L sets a lane's bit 7 when it is above L,
    // adding 128 - L when it is at least L.
    bool Promising() const {
        constexpr std::uint64_t kAtMost9Repeats = 127 - 9;
        constexpr std::uint64_t kAtMost10HighRepeats = 127 - 10;
        constexpr std::uint64_t kAtMost26Printable = 127 - 26;
        constexpr std::uint64_t kAtLeast3NibbleHighs = 128 - 3;
        constexpr std::uint64_t kAtMost12SoundLike = 127 - 12;
        constexpr std::uint64_t kAtMost5SmallNumbers = 127 - 5;
        constexpr std::uint64_t kAdd = kAtMost9Repeats | kAtMost10HighRepeats << 8 |
                                       kAtMost26Printable << 16 | kAtLeast3NibbleHighs << 24 |
                                       kAtMost12SoundLike << 32 | kAtMost5SmallNumbers << 40;
        constexpr std::uint64_t kSignBits = 0x0000808080808080;
        constexpr std::uint64_t kWanted = std::uint64_t{0x80} << 24;
        return ((lanes_ + kAdd) & kSignBits) == kWanted;
    }

    // The lanes that depend on one word only (printable bytes, high nibble bits, sound-like,
    // small number), for every word with bit 15 clear.
    static const std::vector<std::uint32_t>& SingleWordCounts() {
        static const std::vector<std::uint32_t> table = [] {
            std::vector<std::uint32_t> lanes(0x8000);
            for (int w = 0; w < 0x8000; ++w) {
                const int low = w & 0xFF;
                const int high = w >> 8;
                const int printable = (low >= 0x20 && low < 0x7F) + (high >= 0x20 && high < 0x7F);
                const int nibbleHighs = (w >> 3 & 1) + (w >> 7 & 1) + (w >> 11 & 1);
                const int soundLike = std::abs(static_cast<std::int8_t>(low) -
                                               static_cast<std::int8_t>(high)) <= kSoundStep;
                const int smallNumber = w != 0 && w < 0x200;
                lanes[w] = static_cast<std::uint32_t>(printable | nibbleHighs << 8 |
                                                      soundLike << 16 | smallNumber << 24);
            }
            return lanes;
        }();
        return table;
    }
    std::uint64_t lanes_ = 0;
};

// Distinct byte values of 16 words: number tables, maps and tiles repeat a few.
int DistinctBytes(const RomView& rom, std::size_t location) {
    std::array<std::uint8_t, 256> seen{};
    int distinct = 0;
    for (std::size_t i = 0; i < kPaletteBytes; ++i)
        distinct += seen[rom.bytes()[location + i]]++ == 0;
    return distinct;
}

// Whether each word of a run is a step of a ramp from the word before, worked out only for
// the windows that get that far, and once.
class RampSteps {
  public:
    RampSteps(const RomView& rom, std::size_t runStart, std::size_t runEnd)
        : rom_(rom), runStart_(runStart), known_(runEnd - runStart, kUnknown) {}
    // Steps inside the window starting at word `w` of the run (15 pairs).
    int InWindow(std::size_t w) {
        int steps = 0;
        for (std::size_t i = w + 1; i < w + kPaletteColours; ++i) {
            if (known_[i] == kUnknown)
                known_[i] =
                    RampStep(rom_.Word(2 * (runStart_ + i - 1)), rom_.Word(2 * (runStart_ + i)));
            steps += known_[i];
        }
        return steps;
    }

  private:
    static constexpr std::int8_t kUnknown = -1;
    const RomView& rom_;
    std::size_t runStart_;
    std::vector<std::int8_t> known_;
};

// The raw window `w` of the run starting at word `runStart`, whose windows' word scores are
// `scores`.
void ScoreRawCandidate(const RomView& rom, const AlignedWords& aligned, std::size_t runStart,
                       const std::vector<int>& scores, std::size_t w, std::vector<Found>& found) {
    const std::size_t location = 2 * (runStart + w);
    PaletteWords16 words;
    rom.Palette(location, words);
    const int wordsScore = scores[w];
    PaletteSurroundings around;
    around.pointed = aligned.Targets(location);
    // Whole palettes back to a pointed place: windows of the same run.
    for (std::size_t step = 1; !around.pointed && step < 16 && step * kPaletteColours <= w; ++step)
        if (aligned.Targets(location - step * kPaletteBytes)) {
            around.inPointedRun = true;
            break;
        }
    AddNeighbours(
        words[0],
        [&](int step) -> std::optional<Neighbour> {
            const std::int64_t other = std::int64_t(w) + step * std::int64_t(kPaletteColours);
            if (other < 0 || other >= std::int64_t(scores.size()))
                return std::nullopt;
            return Neighbour{rom.Word(2 * (runStart + std::size_t(other))),
                             scores[std::size_t(other)]};
        },
        around);
    around.wordAligned = location % 4 == 0;
    around.pointersInside =
        PointersInside(rom.bytes(), location, location + kPaletteBytes, rom.size());
    around.codeMarkers = CodeMarkersAround(rom, location);
    const int score = PaletteScore(wordsScore, words, around);
    const auto at = static_cast<std::uint32_t>(location);
    found.push_back({{{at, false, 0}, score}, at, at + static_cast<std::uint32_t>(kPaletteBytes)});
}

// Runs of at least 16 words with bit 15 clear, found by sampling every 16th word; inside a
// run every window's words are scored once (neighbours reuse the scores).
} // namespace

void FindRawCandidates(const RomView& rom, const AlignedWords& aligned, std::vector<Found>& found,
                       const std::function<void(std::size_t, std::size_t)>& progress) {
    constexpr std::size_t kProgressStep = std::size_t{1} << 20;
    std::size_t nextProgress = kProgressStep;
    const auto reportProgress = [&](std::size_t word) {
        if (progress && 2 * word >= nextProgress) {
            progress(2 * word, rom.size());
            nextProgress = 2 * word + kProgressStep;
        }
    };
    const std::size_t words = rom.size() / 2;
    const std::uint32_t* const singles = WindowCounts::SingleWordCounts().data();
    std::vector<int> scores;
    std::size_t start = 0;
    while (start + kPaletteColours <= words) {
        reportProgress(start);
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
        while (end < words && rom.Clear(2 * end))
            ++end;

        const auto lanesOf = [&](std::size_t i) {
            return WindowCounts::Of(singles, rom.Word(2 * i), i > start ? rom.Word(2 * i - 2) : 0);
        };
        const std::size_t windows = end - start - kPaletteColours + 1;
        scores.assign(windows, kNotPalette);
        WindowCounts sums;
        std::array<std::uint64_t, kPaletteColours> inWindow; // each word's lanes, by index % 16
        for (std::size_t i = 0; i < kPaletteColours; ++i) {
            inWindow[i] = lanesOf(start + i);
            sums.Add(inWindow[i]);
        }
        RampSteps rampSteps(rom, start, end);
        for (std::size_t w = 0; w < windows; ++w) {
            reportProgress(start + w);
            if (sums.Promising() && rampSteps.InWindow(w) >= kFewestRampSteps &&
                DistinctBytes(rom, 2 * (start + w)) >= kFewestDistinctBytes) {
                PaletteWords16 window;
                rom.Palette(2 * (start + w), window);
                scores[w] = WordsScore(window);
            }
            if (w + 1 < windows) {
                std::uint64_t& slot = inWindow[w % kPaletteColours];
                sums.Remove(slot);
                slot = lanesOf(start + w + kPaletteColours);
                sums.Add(slot);
            }
        }
        for (std::size_t w = 0; w < windows; ++w)
            if (scores[w] >= kWorthCheckingScore)
                ScoreRawCandidate(rom, aligned, start, scores, w, found);
        start = end + 1;
    }
}

} // namespace zandrel::scan
