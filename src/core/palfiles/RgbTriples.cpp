#include "palfiles/RgbTriples.h"

#include <algorithm>

namespace zandrel {

std::array<std::uint8_t, 3 * kPaletteColours> RgbTripleBytes(const Palette16& colours) {
    std::array<std::uint8_t, 3 * kPaletteColours> bytes{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb rgb = SplitColor(colours[i]);
        bytes[3 * i] = static_cast<std::uint8_t>(rgb.red);
        bytes[3 * i + 1] = static_cast<std::uint8_t>(rgb.green);
        bytes[3 * i + 2] = static_cast<std::uint8_t>(rgb.blue);
    }
    return bytes;
}

Components16 TriplesAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    Components16 colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::size_t at = offset + 3 * i;
        colours[i] = Rgb{bytes[at], bytes[at + 1], bytes[at + 2]};
    }
    return colours;
}

PaletteWords16 WordsFromComponents(const Components16& colours) {
    const bool allMultiplesOf8 = std::all_of(colours.begin(), colours.end(), [](const Rgb& c) {
        return c.red % 8 == 0 && c.green % 8 == 0 && c.blue % 8 == 0;
    });
    PaletteWords16 words{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb& c = colours[i];
        // c / 8 goes through its expanded colour, which ColorToWord brings back to c / 8.
        const RgbColor colour =
            allMultiplesOf8 ? MakeColor(ExpandComponent(c.red / 8), ExpandComponent(c.green / 8),
                                        ExpandComponent(c.blue / 8))
                            : MakeColor(c.red, c.green, c.blue);
        words[i] = ColorToWord(colour);
    }
    return words;
}

} // namespace zandrel
