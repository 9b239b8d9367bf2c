#include "scan/PaletteScore.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "scan/PaletteTrees.h"

namespace zandrel {

namespace {

// One weight per evidence, fitted on the tuning ROMs as tools/scan_fit/README.md says.
constexpr EvidenceValues kAloneWeights = {
    -3.219f, -1.183f, 0.490f,  0.693f,  2.766f,  -8.004f, 1.651f,  5.953f,  1.234f,  3.391f,
    -0.971f, -0.575f, -7.917f, -4.288f, -1.971f, -1.208f, -2.232f, -1.065f, -2.596f, -4.601f,
    2.066f,  -0.218f, 1.997f,  1.332f,  3.444f,  4.128f,  2.924f,  0.220f,  0.303f,  0.518f,
    1.439f,  0.367f,  7.380f,  -1.396f, -1.428f, 0.010f,  -5.234f, -0.067f, -1.484f, -5.450f,
    -3.658f, -2.109f, -3.332f, 1.678f,  -0.227f, 8.194f,  0.631f,  -0.190f, 0.000f,  0.000f,
    0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f};
constexpr EvidenceValues kWeights = {
    -5.834f, -1.212f, 0.407f,  0.805f,  3.447f,  -2.371f, 0.405f,  3.243f,  1.280f,  1.799f,
    -0.494f, 0.601f,  -3.835f, -3.396f, -1.556f, -0.989f, -0.815f, -0.507f, -1.677f, -2.186f,
    3.326f,  0.234f,  1.519f,  1.008f,  0.762f,  -1.758f, -0.025f, -0.045f, -0.076f, 0.265f,
    1.407f,  1.064f,  4.354f,  -1.983f, -3.652f, 0.161f,  -2.081f, 1.516f,  -1.495f, -4.258f,
    1.246f,  -1.487f, -3.167f, 1.314f,  0.027f,  7.002f,  0.744f,  -1.507f, 3.308f,  2.595f,
    0.019f,  -0.072f, 5.705f,  -0.258f, 2.613f,  -3.567f};

constexpr CountModel kCountModel = {{-3.3816f, -0.0514f, -0.3354f, -0.0867f, -0.2747f, -0.0185f,
                                     0.0141f, 0.0000f, 3.8883f, -0.0438f, -0.0170f, -0.0781f,
                                     3.7805f, 3.7505f, -1.7945f, -2.5509f},
                                    -2.5128f,
                                    -0.0870f,
                                    -5.406f};

// In eight lanes, which the optimiser turns into vector code: every judged window is weighed
// once or twice.
double Weighed(const EvidenceValues& weights, const EvidenceValues& e) {
    constexpr int kLanes = 8;
    static_assert(kEvidenceCount % kLanes == 0);
    std::array<float, kLanes> lanes{};
    for (int i = 0; i < kEvidenceCount; i += kLanes)
        for (int k = 0; k < kLanes; ++k)
            lanes[k] += weights[i + k] * e[i + k];
    double logit = 0;
    for (const float lane : lanes)
        logit += lane;
    return logit;
}

} // namespace

bool WordsEvidence(const PaletteWords16& words, EvidenceValues& e) {
    int used = kPaletteColours;
    while (used > 0 && words[used - 1] == 0)
        --used;
    // The first of each distinct word; the others lie far outside the colour cube, so every
    // row of the nearest-colour search below is compared whole, one byte a colour. The loops
    // over all 16 words at once, with the other word fixed, are vector code.
    constexpr std::uint8_t kFarAway = 100;
    std::array<std::uint8_t, kPaletteColours> repeated{}; // the same word earlier
    for (std::uint8_t j = 0; j < kPaletteColours; ++j)
        for (std::uint8_t i = 0; i < kPaletteColours; ++i)
            repeated[i] |=
                static_cast<std::uint8_t>(j < i) & static_cast<std::uint8_t>(words[j] == words[i]);
    std::array<std::uint8_t, kPaletteColours> red, green, blue;
    int distinct = 0;
    for (int i = 0; i < kPaletteColours; ++i) {
        distinct += !repeated[i];
        red[i] = repeated[i] ? kFarAway : static_cast<std::uint8_t>(words[i] & 31);
        green[i] = repeated[i] ? kFarAway : static_cast<std::uint8_t>(words[i] >> 5 & 31);
        blue[i] = repeated[i] ? kFarAway : static_cast<std::uint8_t>(words[i] >> 10 & 31);
    }
    if (distinct < kFewestColours)
        return false;

    std::array<std::uint64_t, 4> seen{}; // the byte values of the used words, one bit each
    for (int i = 0; i < used; ++i)
        for (const int byte : {words[i] & 0xFF, words[i] >> 8})
            seen[byte >> 6] |= std::uint64_t{1} << (byte & 63);
    int bytes = std::popcount(seen[0]) + std::popcount(seen[1]) + std::popcount(seen[2]) +
                std::popcount(seen[3]);
    int zerosInside = 0, smallNumbers = 0, text = 0, charset = 0, lowNibbles = 0, soundLike = 0;
    for (int i = 0; i < used; ++i) {
        const ColorWord w = words[i];
        const int low = w & 0xFF, high = w >> 8;
        for (const int byte : {low, high}) {
            text += byte >= 0x20 && byte < 0x7F;
            charset += byte >= 0xA1 && byte <= 0xEE;
        }
        zerosInside += i > 0 && w == 0;
        smallNumbers += w != 0 && w < 0x200;
        lowNibbles += (w & 0x8888) == 0;
        soundLike += w != 0 &&
                     std::abs(static_cast<std::int8_t>(low) - static_cast<std::int8_t>(high)) <= 12;
    }
    int pairs = 0, ramp = 0, climbs = 0, falls = 0, smallSteps = 0, sameHigh = 0, repeats = 0;
    for (int i = 1; i < used; ++i) {
        const ColorWord a = words[i - 1], b = words[i];
        ++pairs;
        const bool rampStep = RampStep(a, b);
        ramp += rampStep;
        climbs += b > a && !rampStep;
        falls += b < a && !rampStep;
        const int step = std::abs(int(b) - int(a));
        smallSteps += step >= 1 && step <= 3;
        sameHigh += a != 0 && (a >> 10) == (b >> 10);
        repeats += a != 0 && a == b;
    }
    // Components: how far each moves, how bright the colours are.
    int moving = 0;
    bool dark = true, pale = true;
    for (const int shift : {0, 5, 10}) {
        int lowest = 31, highest = 0;
        for (int i = 0; i < used; ++i) {
            const int c = words[i] >> shift & 31;
            lowest = std::min(lowest, c);
            highest = std::max(highest, c);
            pale = pale && (words[i] == 0 || c > 14);
        }
        moving += highest - lowest >= 3;
        dark = dark && highest < 8;
    }
    // Each distinct colour's nearest other one (Chebyshev distance of the components).
    const auto apart = [](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::max(a, b) - std::min(a, b));
    };
    // A repeated word lies far away, so only the distinct ones are compared with the others.
    std::array<std::uint8_t, kPaletteColours> nearest;
    nearest.fill(31);
    for (int j = 0; j < kPaletteColours; ++j) {
        if (repeated[j])
            continue;
        for (int i = 0; i < kPaletteColours; ++i) {
            const std::uint8_t d =
                std::max(std::max(apart(red[i], red[j]), apart(green[i], green[j])),
                         apart(blue[i], blue[j]));
            // d is 0 for the colour itself, which is no neighbour of its own.
            nearest[i] = std::min(nearest[i], static_cast<std::uint8_t>(j == i ? 31 : d));
        }
    }
    int nearestSum = 0;
    for (int i = 0; i < kPaletteColours; ++i)
        nearestSum += repeated[i] ? 0 : nearest[i];

    const auto share = [](int count, int of) { return of == 0 ? 0.0f : float(count) / float(of); };
    e[kFewColours] = distinct <= 4;
    e[kSomeColours] = distinct >= 5 && distinct <= 8;
    e[kManyColours] = distinct >= 9;
    e[kUnusedEnd] = share(kPaletteColours - used, kPaletteColours);
    e[kZerosInside] = share(zerosInside, kPaletteColours);
    e[kBlackFirst] = words[0] == 0 && words[1] != 0;
    e[kKeyFirst] = words[0] == 0x7C1F || words[0] == 0x03E0;
    e[kZeroSecond] = words[0] != 0 && words[1] == 0 && e[kKeyFirst] == 0;
    e[kByteVariety] = share(bytes, 2 * used);
    e[kNearColours] = 1.0f - std::min(1.0f, float(nearestSum) / float(distinct) / 8.0f);
    e[kRampOrder] = share(ramp, pairs);
    e[kSteadyNumber] = share(std::max(climbs, falls), pairs);
    e[kSmallSteps] = share(smallSteps, pairs);
    e[kSameHighBits] = share(sameHigh, pairs);
    e[kSmallNumber] = share(smallNumbers, kPaletteColours);
    e[kTextBytes] = share(text, 2 * kPaletteColours);
    e[kCharsetBytes] = share(charset, 2 * kPaletteColours);
    e[kLowNibbles] = share(lowNibbles, kPaletteColours);
    e[kSoundLike] = share(soundLike, kPaletteColours);
    e[kRepeats] = share(repeats, kPaletteColours - 1);
    e[kOneComponent] = moving < 2;
    e[kDark] = dark;
    e[kPale] = pale;
    return true;
}

const CountModel& CountWeights() {
    return kCountModel;
}

double CountsLogit(const WindowCountValues& counts) {
    float logit = kCountModel.bias;
    for (int i = 0; i < kWindowCountCount; ++i)
        logit += kCountModel.weights[i] * static_cast<float>(counts[i]);
    return logit + kCountModel.steadier *
                       static_cast<float>(std::max(counts[kClimbPairs], counts[kFallPairs]));
}

double AloneChance(const EvidenceValues& e) {
    const double chance = ChanceOfLogit(Weighed(kAloneWeights, e));
    return chance < kAloneTreesFloor ? chance
                                     : ChanceOfLogit(TreesSum(kAloneTreesBase, kAloneTrees, e));
}

double PaletteLogit(const EvidenceValues& e) {
    return Weighed(kWeights, e);
}

double TreesLogit(const EvidenceValues& e) {
    return TreesSum(kTreesBase, kPaletteTrees, e);
}

double PaletteChance(const EvidenceValues& e) {
    const double chance = ChanceOfLogit(PaletteLogit(e));
    return chance < kWorthKeeping ? chance : ChanceOfLogit(TreesLogit(e));
}

double ChanceOfLogit(double logit) {
    return 1.0 / (1.0 + std::exp(-logit));
}

int ScoreOfChance(double chance) {
    return static_cast<int>(std::lround(100.0 * chance));
}

} // namespace zandrel
