#include "rom/PaletteScanner.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "colour/Codec.h"
#include "rom/Lz77.h"
#include "rom/PaletteScore.h"

namespace zandrel {

namespace {

constexpr std::uint32_t kRomAddress = 0x08000000;
constexpr std::size_t kPaletteBytes = 2 * kPaletteWords;
constexpr std::size_t kLargestBlock = 16 * kPaletteBytes;
// Thumb code markers are counted this many bytes before and after a raw candidate.
constexpr std::size_t kCodeReach = 48;
// The score of words ruled out before scoring.
constexpr int kNotPalette = -100;

// The file offset a 32-bit value at `offset` points to, or -1 when it is no ROM pointer.
std::int64_t PointerTarget(std::span<const std::uint8_t> bytes, std::size_t offset,
                           std::size_t romSize) {
    if ((bytes[offset + 3] & 0xFE) != 0x08)
        return -1;
    const std::uint32_t value = bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                std::uint32_t{bytes[offset + 3]} << 24;
    const std::uint32_t target = value - kRomAddress;
    return target < romSize ? std::int64_t{target} : -1;
}

class RomView {
  public:
    explicit RomView(std::span<const std::uint8_t> rom) : rom_(rom) {}

    std::size_t size() const { return rom_.size(); }
    std::span<const std::uint8_t> bytes() const { return rom_; }
    ColorWord Word(std::size_t offset) const {
        return static_cast<ColorWord>(rom_[offset] | rom_[offset + 1] << 8);
    }
    bool Clear(std::size_t offset) const { return (rom_[offset + 1] & 0x80) == 0; }
    // The 16 words at `offset` when all have bit 15 clear.
    bool Palette(std::size_t offset, PaletteWords& words) const {
        if (offset + kPaletteBytes > rom_.size())
            return false;
        for (int i = 0; i < kPaletteWords; ++i) {
            if (!Clear(offset + 2 * i))
                return false;
            words[i] = Word(offset + 2 * i);
        }
        return true;
    }

  private:
    std::span<const std::uint8_t> rom_;
};

// Every even file offset a 4-byte aligned ROM pointer targets, built in one pass.
class PointerIndex {
  public:
    explicit PointerIndex(const RomView& rom) : bits_(rom.size() / 128 + 1, 0) {
        for (std::size_t offset = 0; offset + 4 <= rom.size(); offset += 4) {
            const std::int64_t target = PointerTarget(rom.bytes(), offset, rom.size());
            if (target >= 0 && target % 2 == 0)
                bits_[target / 128] |= std::uint64_t{1} << (target / 2 % 64);
        }
    }
    bool Targets(std::size_t offset) const {
        return offset % 2 == 0 && (bits_[offset / 128] >> (offset / 2 % 64) & 1) != 0;
    }

  private:
    std::vector<std::uint64_t> bits_;
};

struct Found {
    PaletteCandidate candidate;
    std::uint32_t claimStart = 0; // the file bytes it stands for
    std::uint32_t claimEnd = 0;
};

// ROM pointers among the 4-byte aligned words of bytes[first, end), as pointer tables hold.
int PointersInside(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t end,
                   std::size_t romSize) {
    int pointers = 0;
    for (std::size_t at = (first + 3) / 4 * 4; at + 4 <= end; at += 4)
        pointers += PointerTarget(bytes, at, romSize) >= 0;
    return pointers;
}

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
// out before their words are scored: one 8-bit lane per count, added and taken away whole,
// and the number of distinct byte values.
class WindowCounts {
  public:
    // What word `w` (bit 15 clear, after `before`) adds to the lanes.
    static std::uint64_t Of(ColorWord w, ColorWord before) {
        const std::uint64_t repeats = w == before;
        const std::uint64_t highRepeats = w != 0 && (w >> 8) == (before >> 8);
        const std::uint64_t rampStep = RampStep(before, w);
        return WordLanes()[w] | repeats | highRepeats << 8 | rampStep << 48;
    }
    void Add(std::uint64_t lanes, ColorWord w) {
        lanes_ += lanes;
        for (const int byte : {w & 0xFF, w >> 8})
            distinctBytes_ += byteCounts_[byte]++ == 0;
    }
    void Remove(std::uint64_t lanes, ColorWord w) {
        lanes_ -= lanes;
        for (const int byte : {w & 0xFF, w >> 8})
            distinctBytes_ -= --byteCounts_[byte] == 0;
    }
    // Repeated words, slow high bytes, text, tiles of few colours, sound, small numbers, few
    // byte values; and steps of a ramp, as any palette has.
    bool Promising() const {
        return Lane(0) <= 9 && Lane(1) <= 10 && Lane(2) <= 26 && Lane(3) >= 3 && Lane(4) <= 12 &&
               Lane(5) <= 5 && Lane(6) >= 3 && distinctBytes_ >= 12;
    }

  private:
    // The lanes that depend on one word only, for every word with bit 15 clear.
    static const std::vector<std::uint64_t>& WordLanes() {
        static const std::vector<std::uint64_t> table = [] {
            std::vector<std::uint64_t> lanes(0x8000);
            for (int w = 0; w < 0x8000; ++w) {
                const int low = w & 0xFF;
                const int high = w >> 8;
                const std::uint64_t printable =
                    (low >= 0x20 && low < 0x7F) + (high >= 0x20 && high < 0x7F);
                const std::uint64_t nibbleHighs = (w >> 3 & 1) + (w >> 7 & 1) + (w >> 11 & 1);
                const std::uint64_t soundLike =
                    std::abs(static_cast<std::int8_t>(low) - static_cast<std::int8_t>(high)) <=
                    kSoundStep;
                const std::uint64_t smallNumbers = w != 0 && w < 0x200;
                lanes[w] =
                    printable << 16 | nibbleHighs << 24 | soundLike << 32 | smallNumbers << 40;
            }
            return lanes;
        }();
        return table;
    }
    int Lane(int lane) const { return static_cast<int>(lanes_ >> (8 * lane) & 0xFF); }
    std::uint64_t lanes_ = 0;
    std::array<std::uint8_t, 256> byteCounts_{};
    int distinctBytes_ = 0;
};

struct Neighbour {
    PaletteWords words;
    int wordsScore = 0;
};
// The 16 words `step` palettes away (before when negative) when all have bit 15 clear.
using NeighbourAt = std::function<std::optional<Neighbour>(int step)>;

// Palettes beside the candidate, and how far on each side they keep its colour 0. A shared
// colour 0 other than black says "palette group" by itself; black needs palette-like words.
void AddNeighbours(const PaletteWords& words, const NeighbourAt& neighbourAt,
                   PaletteSurroundings& around) {
    constexpr int kFarthest = 3;
    for (const int direction : {-1, +1}) {
        for (int step = 1; step <= kFarthest; ++step) {
            const std::optional<Neighbour> other = neighbourAt(direction * step);
            if (!other)
                break;
            const bool paletteLike = other->wordsScore >= kNeighbourScore;
            around.paletteBeside = around.paletteBeside || (step == 1 && paletteLike);
            if (other->words[0] != words[0] || (words[0] == 0 && !paletteLike))
                break;
            ++around.sharedBackdrops;
        }
    }
}

// The raw window `w` of the run starting at word `runStart`, whose windows' word scores are
// `scores`.
void ScoreRawCandidate(const RomView& rom, const PointerIndex& pointers, std::size_t runStart,
                       const std::vector<int>& scores, std::size_t w, std::vector<Found>& found) {
    const std::size_t location = 2 * (runStart + w);
    PaletteWords words;
    rom.Palette(location, words);
    const int wordsScore = scores[w];
    PaletteSurroundings around;
    around.pointed = pointers.Targets(location);
    // Whole palettes back to a pointed place: windows of the same run.
    for (std::size_t step = 1; !around.pointed && step < 16 && step * kPaletteWords <= w; ++step)
        if (pointers.Targets(location - step * kPaletteBytes)) {
            around.inPointedRun = true;
            break;
        }
    AddNeighbours(
        words,
        [&](int step) -> std::optional<Neighbour> {
            const std::int64_t other = std::int64_t(w) + step * std::int64_t(kPaletteWords);
            if (other < 0 || other >= std::int64_t(scores.size()))
                return std::nullopt;
            Neighbour neighbour;
            rom.Palette(2 * (runStart + std::size_t(other)), neighbour.words);
            neighbour.wordsScore = scores[std::size_t(other)];
            return neighbour;
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

// Runs of at least 16 words with bit 15 clear, found by sampling every 16th word.
// Runs of at least 16 words with bit 15 clear, found by sampling every 16th word; inside a
// run every window's words are scored once (neighbours reuse the scores).
void FindRawCandidates(const RomView& rom, const PointerIndex& pointers,
                       std::vector<Found>& found) {
    const std::size_t words = rom.size() / 2;
    std::vector<std::uint64_t> counts;
    std::vector<int> scores;
    std::size_t start = 0;
    while (start + kPaletteWords <= words) {
        const std::size_t last = start + kPaletteWords - 1;
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

        counts.clear();
        for (std::size_t i = start; i < end; ++i)
            counts.push_back(
                WindowCounts::Of(rom.Word(2 * i), i > start ? rom.Word(2 * i - 2) : 0));
        const std::size_t windows = end - start - kPaletteWords + 1;
        scores.assign(windows, kNotPalette);
        WindowCounts sums;
        for (std::size_t i = 0; i < kPaletteWords; ++i)
            sums.Add(counts[i], rom.Word(2 * (start + i)));
        for (std::size_t w = 0; w < windows; ++w) {
            if (sums.Promising()) {
                PaletteWords window;
                rom.Palette(2 * (start + w), window);
                scores[w] = WordsScore(window);
            }
            if (w + 1 < windows) {
                sums.Remove(counts[w], rom.Word(2 * (start + w)));
                sums.Add(counts[w + kPaletteWords], rom.Word(2 * (start + w + kPaletteWords)));
            }
        }
        for (std::size_t w = 0; w < windows; ++w)
            if (scores[w] >= kWorthCheckingScore)
                ScoreRawCandidate(rom, pointers, start, scores, w, found);
        start = end + 1;
    }
}

void FindCompressedCandidates(const RomView& rom, const PointerIndex& pointers,
                              std::vector<Found>& found) {
    const std::span<const std::uint8_t> bytes = rom.bytes();
    for (std::size_t offset = 0; offset + 4 <= rom.size(); offset += 4) {
        if (bytes[offset] != kLz77Header || bytes[offset + 3] != 0 || (bytes[offset + 1] & 31) != 0)
            continue;
        const std::int64_t size = Lz77DeclaredSize(bytes, offset);
        if (size == 0 || size > std::int64_t{kLargestBlock})
            continue;
        const Lz77Block block = DecompressLz77(bytes, offset);
        if (!block.ok())
            continue;
        const RomView data(block.data);
        std::vector<PaletteWords> palettes(block.data.size() / kPaletteBytes);
        bool clear = true;
        for (std::size_t p = 0; p < palettes.size() && clear; ++p)
            clear = data.Palette(p * kPaletteBytes, palettes[p]);
        if (!clear)
            continue;
        std::vector<int> wordsScores;
        for (const PaletteWords& words : palettes)
            wordsScores.push_back(WordsScore(words));
        for (std::size_t p = 0; p < palettes.size(); ++p) {
            if (wordsScores[p] < kWorthCheckingScore)
                continue;
            PaletteSurroundings around;
            around.pointed = pointers.Targets(offset);
            around.compressed = true;
            AddNeighbours(
                palettes[p],
                [&](int step) -> std::optional<Neighbour> {
                    const std::size_t other = p + step;
                    if (other >= palettes.size())
                        return std::nullopt;
                    return Neighbour{palettes[other], wordsScores[other]};
                },
                around);
            around.pointersInside =
                PointersInside(block.data, p * kPaletteBytes, (p + 1) * kPaletteBytes, rom.size());
            const int score = PaletteScore(wordsScores[p], palettes[p], around);
            const auto at = static_cast<std::uint32_t>(offset);
            const auto inBlock = static_cast<std::uint32_t>(p * kPaletteBytes);
            found.push_back({{{at, true, inBlock}, score},
                             at,
                             at + static_cast<std::uint32_t>(block.streamLength)});
        }
    }
}

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
    const PointerIndex pointers(view);
    std::vector<Found> found;
    FindRawCandidates(view, pointers, found);
    FindCompressedCandidates(view, pointers, found);
    std::vector<PaletteCandidate> result;
    for (const Found& f : KeepBestOfOverlaps(std::move(found))) {
        const bool wanted = f.candidate.where.compressed ? options.compressed : options.raw;
        if (wanted && f.candidate.score >= options.minimumScore)
            result.push_back(f.candidate);
    }
    return result;
}

std::string CandidateName(const PaletteCandidate& candidate) {
    std::string place = HexText(candidate.where.location);
    if (candidate.where.compressed && candidate.where.offsetInBlock != 0)
        place += "+" + HexText(candidate.where.offsetInBlock);
    const std::string kind =
        candidate.where.compressed ? "Paleta comprimida LZ77 " : "Paleta bruta ";
    return kind + place + " (pontuação " + std::to_string(candidate.score) + ")";
}

std::string DefinitionLine(const PaletteCandidate& candidate) {
    return std::to_string(kPaletteWords) + "," + PaletteLocationText(candidate.where) + "," +
           CandidateName(candidate);
}

RomImageRead ReadRomImage(const std::string& path, std::vector<std::uint8_t>& bytes) {
    RomImageRead read;
    bytes.clear();
    const File file = File::Open(path, OpenMode::ReadOnly, read.io);
    if (!read.io.ok())
        return read;
    std::uint64_t size = 0;
    read.io = file.Size(size);
    if (!read.io.ok())
        return read;
    if (size > kLargestRomSize) {
        read.tooLarge = true;
        return read;
    }
    bytes.resize(size);
    read.io = file.ReadAt(0, bytes);
    if (!read.io.ok())
        bytes.clear();
    return read;
}

} // namespace zandrel
