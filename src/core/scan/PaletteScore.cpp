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
    -1.077f, -1.444f, 0.483f,  0.962f,  2.162f,  -7.511f, 2.653f,  5.379f,  1.067f,
    2.984f,  -0.797f, -1.710f, -8.797f, -5.657f, -2.407f, -1.133f, -1.776f, -1.090f,
    -3.236f, -5.243f, 2.346f,  -0.125f, 0.742f,  1.555f,  4.444f,  4.839f,  2.172f,
    0.187f,  -0.312f, 0.559f,  0.552f,  0.163f,  2.468f,  -1.957f, -1.854f, -0.584f,
    -6.657f, -0.218f, -1.475f, -5.743f, -3.534f, -1.936f, -2.776f, 5.919f,  0.842f,
    0.410f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f};
constexpr EvidenceValues kWeights = {
    -2.243f, -1.314f, 0.396f,  0.918f,  2.438f,  -3.929f, 1.713f,  4.195f,  0.734f,
    1.844f,  -0.192f, -0.591f, -5.785f, -4.660f, -1.896f, -0.670f, -0.965f, -1.608f,
    -2.826f, -4.702f, 2.926f,  -0.466f, 0.409f,  1.270f,  3.079f,  0.800f,  0.818f,
    -0.171f, -0.142f, -0.071f, 0.295f,  0.559f,  2.289f,  -1.523f, -2.326f, -0.559f,
    -1.965f, 0.413f,  -0.351f, -3.750f, -0.896f, -1.411f, -1.619f, 5.119f,  0.473f,
    0.503f,  2.397f,  1.902f,  -0.847f, -0.906f, 0.386f,  0.067f,  3.524f,  -3.073f};

constexpr CountModel kCountModel = {{-2.7501f, -0.0254f, -0.3602f, -0.0856f, -0.3880f, 0.0778f,
                                     0.1674f, 0.0000f, 3.0004f, -0.2044f, -0.1648f, -0.0736f,
                                     2.9106f, 2.9156f, -1.9371f, -1.6258f},
                                    -2.0061f,
                                    0.0582f,
                                    -6.505f};

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
    double logit = kTreesBase;
    for (const PaletteTree& tree : kPaletteTrees) {
        std::size_t node = 0;
        while (node < tree.below.size())
            node = 2 * node + (e[tree.evidence[node]] < tree.below[node] ? 1 : 2);
        logit += tree.leaf[node - tree.below.size()];
    }
    return logit;
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
