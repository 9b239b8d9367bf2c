#include "colour/Codec.h"

namespace zandrel {

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
