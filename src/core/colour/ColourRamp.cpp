#include "colour/ColourRamp.h"

#include <algorithm>

namespace zandrel {

namespace {

// Component `shift` of the colour at step `step` of `steps`, rounded to nearest, halves up.
int RampComponent(ColorWord from, ColorWord to, int shift, int step, int steps) {
    const int start = (from >> shift) & 31;
    const int end = (to >> shift) & 31;
    return (2 * (start * (steps - step) + end * step) + steps) / (2 * steps);
}

} // namespace

PaletteWords16 RampBetween(const PaletteWords16& words, int first, int last) {
    const int low = std::min(first, last);
    const int high = std::max(first, last);
    PaletteWords16 ramp = words;
    if (low < 0 || high >= static_cast<int>(words.size()))
        return ramp;
    const ColorWord from = words[static_cast<std::size_t>(low)];
    const ColorWord to = words[static_cast<std::size_t>(high)];
    const int steps = high - low;
    for (int step = 1; step < steps; ++step)
        ramp[static_cast<std::size_t>(low + step)] = static_cast<ColorWord>(
            RampComponent(from, to, 10, step, steps) << 10 |
            RampComponent(from, to, 5, step, steps) << 5 | RampComponent(from, to, 0, step, steps));
    return ramp;
}

} // namespace zandrel
