#include "colour/ColourText.h"

#include <optional>

#include "util/Hex.h"
#include "util/Text.h"

namespace zandrel {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexByte(std::string& text, int byte) {
    text += kHexDigits[(byte >> 4) & 0xF];
    text += kHexDigits[byte & 0xF];
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Exactly `digits` hex digits, either case.
std::optional<std::uint32_t> HexValue(std::string_view text, std::size_t digits) {
    if (text.size() != digits)
        return std::nullopt;
    return ParseHex(text);
}

std::string_view WithoutSurroundingBlanks(std::string_view text) {
    return TrimmedOf(text, " \t\r\n");
}

// 64 hex digits with blanks anywhere: the palette's 32 bytes as they sit in the ROM.
std::optional<PaletteWords16> PaletteFromDigits(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (IsBlank(c))
            continue;
        // A long clipboard text is not copied whole.
        if (digits.size() == 64)
            return std::nullopt;
        digits += c;
    }
    if (digits.size() != 64)
        return std::nullopt;
    const std::string_view all = digits;
    PaletteWords16 words{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto low = HexValue(all.substr(4 * i, 2), 2);
        const auto high = HexValue(all.substr(4 * i + 2, 2), 2);
        if (!low || !high)
            return std::nullopt;
        // Bit 15 carries no colour; the ROM reader drops it too.
        words[i] = WordFromBytes(static_cast<int>(*high), static_cast<int>(*low));
    }
    return words;
}

TypedColour WordColour(std::uint32_t word) {
    if (word > 0x7FFF)
        return ColourTextFailure{ColourTextRefusal::WordAboveMaximum,
                                 static_cast<std::uint16_t>(word)};
    return static_cast<ColorWord>(word);
}

ColorWord RrggbbColour(std::uint32_t rrggbb) {
    return ColorToWord(MakeColor(static_cast<int>(rrggbb >> 16), static_cast<int>(rrggbb >> 8),
                                 static_cast<int>(rrggbb)));
}

} // namespace

std::string SwatchColourText(RgbColor color) {
    const Rgb rgb = SplitColor(color);
    std::string text = "#";
    AppendHexByte(text, rgb.red);
    AppendHexByte(text, rgb.green);
    AppendHexByte(text, rgb.blue);
    return text;
}

std::string ColourNotations(RgbColor color) {
    const ColorWord word = ColorToWord(color);
    std::string bytes;
    AppendHexByte(bytes, word & 0xFF);
    bytes += ' ';
    AppendHexByte(bytes, word >> 8);
    return "Palavra GBA: " + WordHexText(word) + "\n" + SwatchColourText(color) + "\nR " +
           std::to_string(word & 31) + ", G " + std::to_string((word >> 5) & 31) + ", B " +
           std::to_string(word >> 10) + " (5 bits)\nBytes na ROM: " + bytes;
}

std::string PaletteText(const PaletteWords16& words) {
    std::string text;
    for (const ColorWord word : words) {
        AppendHexByte(text, word & 0xFF);
        AppendHexByte(text, word >> 8);
    }
    return text;
}

std::string ColourTextMessage(const ColourTextFailure& failure) {
    switch (failure.refusal) {
    case ColourTextRefusal::ClipboardNotColour:
        return "A área de transferência não contém uma cor (#RRGGBB, RRGGBB ou uma palavra GBA "
               "como 7FFF) nem uma paleta de 64 dígitos hex.";
    case ColourTextRefusal::TypedNotColour:
        return "O texto digitado não é uma cor (#RRGGBB, RRGGBB ou uma palavra GBA como 7FFF).";
    case ColourTextRefusal::WordAboveMaximum:
        return "A palavra GBA " + WordHexText(failure.word) +
               " passa de 7FFF: uma cor do GBA tem 15 bits. Na ROM o byte baixo vem primeiro: "
               "os bytes FF 7F são a palavra 7FFF.";
    }
    return {};
}

TypedColour ParseTypedColour(std::string_view text) {
    text = WithoutSurroundingBlanks(text);
    // A leading mark says which notation it is; without one, the digit count does.
    if (text.starts_with('#')) {
        if (const auto rrggbb = HexValue(text.substr(1), 6))
            return RrggbbColour(*rrggbb);
    } else if (text.starts_with('$')) {
        if (const auto word = HexValue(text.substr(1), 4))
            return WordColour(*word);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        if (const auto word = HexValue(text.substr(2), 4))
            return WordColour(*word);
    } else if (const auto rrggbb = HexValue(text, 6)) {
        return RrggbbColour(*rrggbb);
    } else if (const auto word = HexValue(text, 4)) {
        return WordColour(*word);
    }
    return ColourTextFailure{ColourTextRefusal::TypedNotColour};
}

PastedColours ParsePastedColours(std::string_view text) {
    if (const auto palette = PaletteFromDigits(text))
        return *palette;
    const TypedColour colour = ParseTypedColour(text);
    if (const ColorWord* word = std::get_if<ColorWord>(&colour))
        return *word;
    ColourTextFailure failure = std::get<ColourTextFailure>(colour);
    if (failure.refusal == ColourTextRefusal::TypedNotColour)
        failure.refusal = ColourTextRefusal::ClipboardNotColour;
    return failure;
}

} // namespace zandrel
