#include "colour/Codec.h"

#include "util/Text.h"

namespace zandrel {

std::int32_t HexToNumber(std::string_view text) {
    // Longer texts never reached the original conversion.
    if (text.empty() || text.size() > 32767)
        return 0;
    const std::u32string codes = DecodeUtf8(text);
    std::int64_t value = 0;
    std::int64_t weight = 1;
    for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
        // A character without an 8-bit code stands in as "?".
        const int eightBit = EightBitCode(*it);
        const std::int64_t code = eightBit < 0 ? '?' : eightBit;
        const std::int64_t digit = (code >= '0' && code <= '9') ? code - '0' : code - 55;
        if (digit < 0)
            return 0;
        value += digit * weight;
        if (value > 2147483647)
            return 0;
        // Any further non-zero digit overflows; keep the weight bounded so it cannot wrap.
        if (weight <= 2147483647)
            weight *= 16;
    }
    return static_cast<std::int32_t>(value);
}

std::string WordHexText(ColorWord word) {
    return PadWithZeros(HexText(word), 4);
}

std::string ColorHexText(RgbColor color) {
    return PadWithZeros(HexText(color), 6);
}

int ExpandComponent(int component5) {
    return (33 * component5) / 4;
}

int ReduceComponent(int component8) {
    return (4 * (component8 + 1)) / 33;
}

RgbColor MakeColor(int red, int green, int blue) {
    return static_cast<RgbColor>(red & 0xFF) | static_cast<RgbColor>(green & 0xFF) << 8 |
           static_cast<RgbColor>(blue & 0xFF) << 16;
}

RgbColor WordToColor(ColorWord word) {
    return MakeColor(ExpandComponent(word & 31), ExpandComponent((word >> 5) & 31),
                     ExpandComponent((word >> 10) & 31));
}

Palette16 WordsToColours(std::span<const ColorWord> words) {
    Palette16 colours{};
    for (std::size_t i = 0; i < colours.size() && i < words.size(); ++i)
        colours[i] = WordToColor(words[i]);
    return colours;
}

Rgb SplitColor(RgbColor color) {
    return Rgb{static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
               static_cast<int>((color >> 16) & 0xFF)};
}

ColorWord ColorToWord(RgbColor color) {
    const Rgb rgb = SplitColor(color);
    return static_cast<ColorWord>(ReduceComponent(rgb.blue) * 1024 +
                                  ReduceComponent(rgb.green) * 32 + ReduceComponent(rgb.red));
}

} // namespace zandrel
