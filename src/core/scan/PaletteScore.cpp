#include "scan/PaletteScore.h"

#include "scan/PaletteTrees.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace zandrel {

namespace {

// Fitted on the tuning ROMs (tools/make_real_rom.py seeds below 9000 and
// tools/make_synthetic_rom.py seeds 1-3), one weight per evidence.
constexpr EvidenceValues kAloneWeights = {
    -0.415f, -1.509f, 0.529f,  0.980f,  1.865f,  -7.264f, 2.565f,  5.518f,  1.199f,
    2.595f,  -0.267f, -2.327f, -9.011f, -5.881f, -2.228f, -0.980f, -1.670f, -1.871f,
    -3.806f, -5.326f, 2.004f,  -0.290f, 0.755f,  1.611f,  4.450f,  4.821f,  1.718f,
    0.196f,  -0.298f, 0.604f,  0.592f,  -0.131f, 1.880f,  -2.149f, -3.421f, -0.483f,
    -6.385f, -0.107f, -1.432f, -6.107f, -3.521f, -1.888f, 5.858f,  0.793f,  0.375f,
    0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f};
constexpr EvidenceValues kWeights = {
    -1.755f, -1.384f, 0.435f,  0.949f,  2.367f,  -3.964f, 1.688f,  4.340f,  0.886f,
    1.644f,  0.115f,  -1.061f, -6.047f, -4.756f, -1.740f, -0.597f, -0.953f, -2.134f,
    -3.030f, -4.690f, 2.585f,  -0.543f, 0.442f,  1.377f,  3.163f,  0.839f,  0.667f,
    -0.191f, -0.177f, -0.035f, 0.232f,  0.360f,  2.156f,  -1.727f, -3.468f, -0.616f,
    -1.967f, 0.479f,  -0.457f, -4.076f, -0.860f, -1.424f, 4.892f,  0.432f,  0.648f,
    2.467f,  1.985f,  -0.883f, -1.066f, 0.256f,  -0.062f, 3.554f,  -2.908f};

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
