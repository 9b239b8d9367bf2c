#include "scan/PaletteScore.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace zandrel {

namespace {

// Fitted on the tuning ROMs (tools/make_real_rom.py seeds below 9000 and
// tools/make_synthetic_rom.py seeds 1-3), one weight per evidence.
constexpr EvidenceValues kAloneWeights = {
    -2.523f, -2.646f, 0.939f,  1.707f,  3.252f,  -6.251f, 2.698f,  4.750f,  0.531f,  2.505f,
    -1.693f, 0.018f,  -7.715f, -5.692f, -3.480f, -3.159f, -2.528f, 1.647f,  -3.409f, -2.865f,
    1.909f,  1.024f,  1.141f,  1.738f,  3.842f,  4.674f,  2.634f,  0.091f,  -0.120f, 0.380f,
    0.822f,  0.308f,  2.678f,  -1.790f, -1.352f, -0.125f, -2.767f, -0.628f, -4.369f, -2.465f,
    5.940f,  1.284f,  0.139f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f};
constexpr EvidenceValues kWeights = {
    -3.778f, -2.062f, 0.683f,  1.379f,  2.830f,  -2.407f, 1.771f,  2.958f,  0.372f,  1.258f,
    -0.784f, 0.998f,  -4.321f, -3.985f, -2.795f, -2.136f, -1.809f, 0.924f,  -2.613f, -2.420f,
    2.905f,  0.233f,  0.686f,  1.295f,  1.815f,  0.414f,  -0.050f, -0.273f, -0.087f, 0.048f,
    0.534f,  0.643f,  0.665f,  -1.161f, -1.201f, 0.051f,  0.060f,  0.160f,  -1.082f, -1.332f,
    4.931f,  0.981f,  -2.092f, 3.179f,  3.112f,  0.482f,  0.049f,  2.783f,  -2.208f};

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

double ChanceOfLogit(double logit) {
    return 1.0 / (1.0 + std::exp(-logit));
}

int ScoreOfChance(double chance) {
    return static_cast<int>(std::lround(100.0 * chance));
}

} // namespace zandrel
