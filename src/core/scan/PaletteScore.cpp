#include "scan/PaletteScore.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "scan/PaletteTrees.h"
#include "util/WideVectors.h"

namespace zandrel {

namespace {

// One weight per evidence, fitted on the tuning ROMs as tools/scan_fit/README.md says.
constexpr EvidenceValues kAloneWeights = {
    -4.158f, -1.078f, 0.347f,  0.731f,  4.348f,  -8.747f, 1.212f,  5.119f,  2.014f,  1.970f,
    -0.598f, -1.386f, -8.186f, -4.331f, -2.342f, -0.600f, -1.553f, 0.123f,  -0.548f, -3.405f,
    2.896f,  -0.275f, 0.889f,  1.105f,  4.524f,  4.910f,  1.831f,  -0.097f, 0.613f,  0.804f,
    1.910f,  1.023f,  5.565f,  -1.252f, -5.185f, 0.670f,  -5.379f, -1.287f, -2.684f, -6.149f,
    -1.482f, -1.990f, -5.139f, 2.103f,  -0.109f, -2.685f, 9.269f,  0.314f,  -0.069f, 0.000f,
    0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f,  0.000f};
constexpr EvidenceValues kWeights = {
    -4.911f, -1.419f, 0.361f,  1.058f,  3.491f,  -2.382f, -0.029f, 3.249f, 1.038f,  1.622f,
    0.015f,  0.312f,  -3.921f, -4.733f, -1.566f, -1.114f, -0.630f, 0.326f, -2.043f, -2.449f,
    3.912f,  0.234f,  1.134f,  0.991f,  0.440f,  -1.252f, 0.550f,  0.291f, 0.335f,  -0.268f,
    0.969f,  0.721f,  4.414f,  -2.116f, -7.257f, 0.541f,  -0.835f, 0.722f, -0.866f, -6.179f,
    -1.085f, -1.336f, -3.623f, 1.328f,  0.586f,  -1.110f, 6.412f,  0.630f, -0.663f, 3.867f,
    2.749f,  -0.397f, -0.600f, 6.007f,  0.091f,  4.525f,  -6.421f};

constexpr CountModel kCountModel = {{-3.3816f, -0.0514f, -0.3354f, -0.0867f, -0.2747f, -0.0185f,
                                     0.0141f, 0.0000f, 3.8883f, -0.0438f, -0.0170f, -0.0781f,
                                     3.7805f, 3.7505f, -1.7945f, -2.5509f},
                                    -2.5128f,
                                    -0.0870f,
                                    -5.406f};

// In eight lanes, which the optimiser turns into vector code: every judged window is weighed
// once or twice.
double Weighed(const EvidenceValues& weights, const EvidenceValues& e) {
    constexpr int kLanes = 8, kWhole = kEvidenceCount / kLanes * kLanes;
    std::array<float, kLanes> lanes{};
    for (int i = 0; i < kWhole; i += kLanes)
        for (int k = 0; k < kLanes; ++k)
            lanes[k] += weights[i + k] * e[i + k];
    for (int i = kWhole; i < kEvidenceCount; ++i)
        lanes[i - kWhole] += weights[i] * e[i];
    double logit = 0;
    for (const float lane : lanes)
        logit += lane;
    return logit;
}

} // namespace

ZANDREL_WIDE_VECTORS bool WordsEvidence(const PaletteWords16& words, EvidenceValues& e) {
    int used = kPaletteColours;
    while (used > 0 && words[used - 1] == 0)
        --used;
    // The first of each distinct word; the others lie far outside the colour cube, so every
    // row of the nearest-colour search below is compared whole, one byte a colour. The loops
    // over all 16 words at once, with the other word fixed, are vector code.
    constexpr std::uint8_t kFarAway = 100, kFarther = 200;
    std::array<std::uint8_t, kPaletteColours> repeated{}; // the same word earlier
    for (std::uint8_t j = 0; j < kPaletteColours; ++j)
        for (std::uint8_t i = 0; i < kPaletteColours; ++i)
            repeated[i] |=
                static_cast<std::uint8_t>(j < i) & static_cast<std::uint8_t>(words[j] == words[i]);
    std::array<std::uint8_t, kPaletteColours> red, green, blue;
    int distinct = kPaletteColours;
    for (int i = 0; i < kPaletteColours; ++i)
        distinct -= repeated[i];
    for (int i = 0; i < kPaletteColours; ++i) {
        const auto far = static_cast<std::uint8_t>(-repeated[i]); // all ones when repeated
        red[i] = static_cast<std::uint8_t>((far & kFarAway) | (~far & (words[i] & 31)));
        green[i] = static_cast<std::uint8_t>((far & kFarAway) | (~far & (words[i] >> 5 & 31)));
        blue[i] = static_cast<std::uint8_t>((far & kFarAway) | (~far & (words[i] >> 10 & 31)));
    }
    if (distinct < kFewestColours)
        return false;

    std::array<std::uint64_t, 4> seen{}; // the byte values of the used words, one bit each
    for (int i = 0; i < used; ++i)
        for (const int byte : {words[i] & 0xFF, words[i] >> 8})
            seen[byte >> 6] |= std::uint64_t{1} << (byte & 63);
    int bytes = std::popcount(seen[0]) + std::popcount(seen[1]) + std::popcount(seen[2]) +
                std::popcount(seen[3]);
    // The counts below go over all 16 words in lanes of ints, those past the used words adding
    // nothing, one simple loop each, so that the optimiser makes vector code of them.
    using Lanes = std::array<int, kPaletteColours>;
    Lanes w, in, before;
    for (int i = 0; i < kPaletteColours; ++i) {
        w[i] = words[i];
        in[i] = i < used;
        before[i] = i > 0 ? words[i - 1] : 0;
    }
    int zerosInside = 0, smallNumbers = 0, text = 0, charset = 0, lowNibbles = 0, soundLike = 0;
    for (int i = 0; i < kPaletteColours; ++i) {
        const int low = w[i] & 0xFF, high = w[i] >> 8;
        text += in[i] * (((low >= 0x20) & (low < 0x7F)) + ((high >= 0x20) & (high < 0x7F)));
        charset += in[i] * (((low >= 0xA1) & (low <= 0xEE)) + ((high >= 0xA1) & (high <= 0xEE)));
        zerosInside += in[i] & (i > 0) & (w[i] == 0);
        smallNumbers += in[i] & (w[i] != 0) & (w[i] < 0x200);
        lowNibbles += in[i] & ((w[i] & 0x8888) == 0);
        // The bytes as signed samples.
        const int apart = ((low ^ 0x80) - 0x80) - ((high ^ 0x80) - 0x80);
        soundLike += in[i] & (w[i] != 0) & (apart <= 12) & (apart >= -12);
    }
    // Each word with the one before.
    int ramp = 0, climbs = 0, falls = 0, smallSteps = 0, sameHigh = 0, repeats = 0;
    for (int i = 0; i < kPaletteColours; ++i) {
        const int b = w[i], a = before[i], pair = in[i] & (i > 0);
        const int rampStep = RampStep(static_cast<ColorWord>(a), static_cast<ColorWord>(b)) ? 1 : 0;
        ramp += pair & rampStep;
        climbs += pair & (b > a) & !rampStep;
        falls += pair & (b < a) & !rampStep;
        const int step = std::abs(b - a);
        smallSteps += pair & (step >= 1) & (step <= 3);
        sameHigh += pair & (a != 0) & ((a >> 10) == (b >> 10));
        repeats += pair & (a != 0) & (a == b);
    }
    const int pairs = used - 1;
    // Components: how far each moves, how bright the colours are. An unused word's component
    // counts as 31 for the lowest (where the search starts) and as 0 for the highest.
    int moving = 0, notPale = 0;
    bool dark = true;
    for (const int shift : {0, 5, 10}) {
        std::int16_t lowest = 31, highest = 0;
        for (int i = 0; i < kPaletteColours; ++i) {
            const auto c = static_cast<std::int16_t>(w[i] >> shift & 31);
            const auto used16 = static_cast<std::int16_t>(in[i]);
            lowest = std::min(lowest, static_cast<std::int16_t>(c + 31 * (1 - used16)));
            highest = std::max(highest, static_cast<std::int16_t>(c * used16));
            notPale += used16 * (w[i] != 0) * (c <= 14);
        }
        moving += highest - lowest >= 3;
        dark = dark && highest < 8;
    }
    const bool pale = notPale == 0;
    // Each distinct colour's nearest other one (Chebyshev distance of the components). A
    // repeated word lies far from every colour, and the colour itself is kept out by taking its
    // distance for the farthest.
    const auto apart = [](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::max(a, b) - std::min(a, b));
    };
    std::array<std::uint8_t, kPaletteColours> nearest;
    nearest.fill(31);
    for (int j = 0; j < kPaletteColours; ++j) {
        const std::uint8_t r = red[j], g = green[j], b = blue[j];
        red[j] = kFarther; // for now: the colour is no neighbour of its own
        for (int i = 0; i < kPaletteColours; ++i) {
            const std::uint8_t d =
                std::max(std::max(apart(red[i], r), apart(green[i], g)), apart(blue[i], b));
            nearest[i] = std::min(nearest[i], d);
        }
        red[j] = r;
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
