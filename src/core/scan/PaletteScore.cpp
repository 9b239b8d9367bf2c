#include "scan/PaletteScore.h"

#include <algorithm>
#include <cstdlib>
#include <span>

namespace zandrel {

namespace {

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

// Palettes that use only their first colours leave zeros after them; the rest is judged
// on the colours used.
constexpr int kFewestUsed = 6;
constexpr double kSmoothnessPoints = 15;
// Words scoring this or less get nothing from their surroundings; 20 more get it all.
constexpr double kSupportFrom = 15;

std::span<const ColorWord> UsedColours(const PaletteWords16& words) {
    std::size_t used = words.size();
    while (used > kFewestUsed && words[used - 1] == 0)
        --used;
    return std::span(words).first(used);
}

// Penalties of the words alone, as a positive number to subtract; counts are scaled to 16.
int WordsPenalty(std::span<const ColorWord> words) {
    int printable = 0;    // bytes of ASCII text
    int nibbleHighs = 0;  // 4bpp pixels of index 8-15 (tiles of few colours have none)
    int soundLike = 0;    // both bytes close as signed samples, as 8-bit sound is
    int smallNumbers = 0; // below 200: numbers of a table more likely than dark colours
    int longestRun = 1;
    int run = 1;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const ColorWord w = words[i];
        const int low = w & 0xFF;
        const int high = w >> 8;
        printable += (low >= 0x20 && low < 0x7F) + (high >= 0x20 && high < 0x7F);
        nibbleHighs += (w >> 3 & 1) + (w >> 7 & 1) + (w >> 11 & 1);
        soundLike +=
            std::abs(static_cast<std::int8_t>(low) - static_cast<std::int8_t>(high)) <= kSoundStep;
        smallNumbers += w != 0 && w < 0x200;
        run = i > 0 && w == words[i - 1] ? run + 1 : 1;
        longestRun = std::max(longestRun, run);
    }
    // Ramps of colours move two or three components; a number table moves one.
    int movingComponents = 0;
    for (const int shift : {0, 5, 10}) {
        int lowest = 31;
        int highest = 0;
        for (const ColorWord w : words) {
            lowest = std::min(lowest, w >> shift & 31);
            highest = std::max(highest, w >> shift & 31);
        }
        movingComponents += highest - lowest >= 3;
    }
    const double scale = static_cast<double>(kPaletteColours) / static_cast<double>(words.size());
    const auto scaled = [&](int count) { return static_cast<int>(count * scale + 0.5); };
    int penalty = 0;
    if (movingComponents < 2)
        penalty += 25;
    penalty += std::max(0, scaled(printable) - 21) * 4;
    penalty += std::max(0, 7 - scaled(nibbleHighs)) * 5;
    penalty += std::max(0, scaled(soundLike) - 10) * 5;
    penalty += std::max(0, longestRun - 3) * 3;
    penalty += std::max(0, scaled(smallNumbers) - 3) * 6;
    return penalty;
}

} // namespace

int WordsScore(const PaletteWords16& palette) {
    const std::span<const ColorWord> words = UsedColours(palette);
    const int size = static_cast<int>(words.size());

    std::array<ColorWord, kPaletteColours> distinct{};
    std::copy(words.begin(), words.end(), distinct.begin());
    std::sort(distinct.begin(), distinct.begin() + size);
    const int count =
        static_cast<int>(std::unique(distinct.begin(), distinct.begin() + size) - distinct.begin());
    if (count < 3)
        return 0;

    // Number tables, maps and tiles repeat a few byte values; colours spread over many.
    std::array<bool, 256> seen{};
    int distinctBytes = 0;
    for (const ColorWord w : words)
        for (const int byte : {w & 0xFF, w >> 8})
            if (!seen[byte]) {
                seen[byte] = true;
                ++distinctBytes;
            }

    int pairs = 0;
    int rampSteps = 0;
    for (int i = 1; i < size; ++i) {
        if (words[i] == words[i - 1])
            continue;
        ++pairs;
        rampSteps += RampStep(words[i - 1], words[i]);
    }

    const double variety = Clamp01((count - 2) / std::min(10.0, size - 2.0));
    const double spread = Clamp01((distinctBytes / (2.0 * size) - 0.4) / 0.45);
    const double ordered = pairs == 0 ? 0.0 : static_cast<double>(rampSteps) / pairs;
    const double withoutSmoothness = 10 * variety + 15 * spread + 15 * ordered;
    const int penalty = WordsPenalty(words);
    if (withoutSmoothness + kSmoothnessPoints - penalty < kWorthCheckingScore)
        return static_cast<int>(withoutSmoothness + 0.5) - penalty; // smoothness cannot save it

    // Each colour's nearest other colour; unused places lie far outside the colour cube, so
    // every row is compared whole (which the compiler turns into vector code).
    constexpr int kFarAway = 100;
    std::array<int, kPaletteColours> red, green, blue;
    red.fill(kFarAway);
    green.fill(kFarAway);
    blue.fill(kFarAway);
    for (int i = 0; i < count; ++i) {
        red[i] = distinct[i] & 31;
        green[i] = distinct[i] >> 5 & 31;
        blue[i] = distinct[i] >> 10 & 31;
    }
    int nearestSum = 0;
    for (int i = 0; i < count; ++i) {
        int nearest = 31;
        for (int j = 0; j < kPaletteColours; ++j) {
            const int d =
                std::max(std::max(std::abs(red[i] - red[j]), std::abs(green[i] - green[j])),
                         std::abs(blue[i] - blue[j]));
            nearest = std::min(nearest, j == i ? 31 : d);
        }
        nearestSum += nearest;
    }
    const double smooth = Clamp01((9.0 - static_cast<double>(nearestSum) / count) / 7.0);
    return static_cast<int>(withoutSmoothness + kSmoothnessPoints * smooth + 0.5) - penalty;
}

int PaletteScore(int wordsScore, const PaletteWords16& words, const PaletteSurroundings& around) {
    int support = 0;
    if (around.pointed)
        support += 25;
    else if (around.inPointedRun)
        support += 15;
    if (around.paletteBeside)
        support += 10;
    // A black colour 0 followed by black again is more likely zeros before the real start.
    if (words[0] == 0 && words[1] != 0)
        support += 8;
    // A colour 0 other than black repeated every 32 bytes is rarely chance.
    support += (words[0] == 0 ? 5 : 10) * std::min(3, around.sharedBackdrops);
    if (around.compressed)
        support += 10;
    if (around.wordAligned)
        support += 6;
    // The surroundings confirm colours that look like a palette; they cannot make one of
    // words that do not.
    const double confidence = std::clamp((wordsScore - kSupportFrom) / 20.0, 0.0, 1.0);
    int score = wordsScore + static_cast<int>(support * confidence + 0.5);
    if (around.pointersInside >= 2)
        score -= 20 * around.pointersInside;
    score -= std::min(40, std::max(0, around.codeMarkers - 1) * 8);
    return std::clamp(score, 0, 100);
}

} // namespace zandrel
