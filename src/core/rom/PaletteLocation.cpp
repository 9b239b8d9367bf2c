#include "rom/PaletteLocation.h"

#include "colour/Codec.h"

namespace zandrel {

namespace {

constexpr std::string_view kCompressedPrefix = "LZ:";
constexpr std::uint32_t kLargestLocation = 0x7FFFFFFF;

int DigitValue(char c, bool lowerCaseToo) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (lowerCaseToo && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// 1 to maxDigits hex digits, nothing else; nothing when any character is not a digit.
std::optional<std::uint32_t> HexValue(std::string_view digits, std::size_t maxDigits,
                                      bool lowerCaseToo) {
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        const int digit = DigitValue(c, lowerCaseToo);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

} // namespace

std::optional<PaletteLocation> ParsePaletteLocation(std::string_view text) {
    if (!text.starts_with(kCompressedPrefix)) {
        const auto value = HexValue(text, 8, true);
        if (!value || *value > kLargestLocation)
            return std::nullopt;
        return PaletteLocation{*value, false, 0};
    }
    text.remove_prefix(kCompressedPrefix.size());
    const std::size_t plus = text.find('+');
    const auto block = HexValue(text.substr(0, plus), 8, false);
    if (!block || *block > kLargestLocation)
        return std::nullopt;
    std::uint32_t offset = 0;
    if (plus != std::string_view::npos) {
        const auto value = HexValue(text.substr(plus + 1), 4, false);
        if (!value || *value % 2 != 0)
            return std::nullopt;
        offset = *value;
    }
    return PaletteLocation{*block, true, offset};
}

std::string PaletteLocationText(const PaletteLocation& location) {
    if (!location.compressed)
        return HexText(location.location);
    std::string text = std::string(kCompressedPrefix) + HexText(location.location);
    if (location.offsetInBlock != 0)
        text += '+' + HexText(location.offsetInBlock);
    return text;
}

} // namespace zandrel
