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
    -3.204f, -1.184f, 0.484f,  0.701f,  2.759f,  -8.076f, 1.660f,  5.945f,  1.210f,  3.384f,
    -0.983f, -0.578f, -7.929f, -4.318f, -2.005f, -1.242f, -2.225f, -1.022f, -2.615f, -4.658f,
    2.102f,  -0.196f, 1.985f,  1.313f,  3.467f,  4.137f,  2.905f,  0.225f,  0.302f,  0.521f,
    1.436f,  0.367f,  7.366f,  -1.413f, -1.386f, 0.022f,  -5.238f, -0.068f, -1.470f, -5.454f,
    -3.665f, -2.099f, -3.319f, 1.676f,  -0.240f, 8.212f,  0.639f,  -0.174f, 0.000f,  0.000f,
    0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f};
constexpr EvidenceValues kWeights = {
    -4.213f, -1.145f, 0.395f,  0.750f,  3.199f,  -3.479f, 0.788f,  4.248f,  1.031f,  2.016f,
    -0.565f, 0.315f,  -4.646f, -3.276f, -1.707f, -0.771f, -0.945f, -0.795f, -1.984f, -3.207f,
    2.864f,  -0.028f, 1.403f,  0.981f,  2.127f,  0.073f,  0.937f,  -0.224f, 0.108f,  -0.019f,
    0.847f,  0.809f,  6.225f,  -1.266f, -2.962f, -0.186f, -0.803f, 0.194f,  -1.347f, -3.666f,
    0.053f,  -1.459f, -2.460f, 0.858f,  0.034f,  6.481f,  0.577f,  -0.347f, 1.947f,  1.770f,
    -0.519f, -0.703f, 1.204f,  0.012f,  3.586f,  -3.050f};

constexpr CountModel kCountModel = {{-3.3816f, -0.0514f, -0.3354f, -0.0867f, -0.2747f, -0.0185f,
                                     0.0141f, 0.0000f, 3.8883f, -0.0438f, -0.0170f, -0.0781f,
                                     3.7805f, 3.7505f, -1.7945f, -2.5509f},
                                    -2.5128f,
                                    -0.0870f,
                                    -5.406f};

double Weighed(const EvidenceValues& weights, const EvidenceValues& e) {
    double logit = 0;
    for (int i = 0; i < kEvidenceCount; ++i)
        logit += double(weights[i]) * double(e[i]);
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
    std::array<std::uint8_t, kPaletteColours> nearest;
    nearest.fill(31);
    for (int j = 0; j < kPaletteColours; ++j)
        for (int i = 0; i < kPaletteColours; ++i) {
            const std::uint8_t d =
                std::max(std::max(apart(red[i], red[j]), apart(green[i], green[j])),
                         apart(blue[i], blue[j]));
            // d is 0 for the colour itself, which is no neighbour of its own.
            nearest[i] = std::min(nearest[i], static_cast<std::uint8_t>(j == i ? 31 : d));
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

double AloneLogit(const EvidenceValues& e) {
    return Weighed(kAloneWeights, e);
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
