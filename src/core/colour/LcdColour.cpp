#include "colour/LcdColour.h"

#include <algorithm>
#include <cmath>

namespace zandrel {

// The correction the higan emulator applies to the GBA's screen (higan-emu/higan,
// higan/gba/ppu/color.cpp; explained in byuu's article "Color Emulation",
// higan-emu/emulation-articles, video/color-emulation). With r, g, b the 5-bit components:
//   lr = (r/31)^4        lg = (g/31)^4        lb = (b/31)^4
//   R = ((  0 lb +  50 lg + 255 lr) / 255)^(1/2.2) x 255/280
//   G = (( 30 lb + 230 lg +  10 lr) / 255)^(1/2.2) x 255/280
//   B = ((220 lb +  10 lg +  50 lr) / 255)^(1/2.2) x 255/280
// each times full scale. higan's full scale is 0xFFFF; here it is 255, rounded to nearest.
// The rows mix up to 305/255, which the 255/280 factor keeps below full scale.
RgbColor LcdColour(ColorWord word) {
    constexpr double kLcdGamma = 4.0;
    constexpr double kOutGamma = 2.2;
    constexpr double kScale = 255.0 * 255.0 / 280.0;
    const auto linear = [](int component5) { return std::pow(component5 / 31.0, kLcdGamma); };
    const double lr = linear(word & 31);
    const double lg = linear((word >> 5) & 31);
    const double lb = linear((word >> 10) & 31);
    const auto out = [](double mixed) {
        const double value = std::pow(mixed / 255.0, 1.0 / kOutGamma) * kScale;
        return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
    };
    return MakeColor(out(0 * lb + 50 * lg + 255 * lr), out(30 * lb + 230 * lg + 10 * lr),
                     out(220 * lb + 10 * lg + 50 * lr));
}

RgbColor ScreenColour(RgbColor color, bool gbaScreen) {
    return gbaScreen ? LcdColour(ColorToWord(color)) : color;
}

} // namespace zandrel
