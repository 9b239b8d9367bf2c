#include "rom/PaletteLocation.h"

#include "util/Hex.h"

namespace zandrel {

namespace {

constexpr std::string_view kCompressedPrefix = "LZ:";
constexpr std::uint32_t kLargestLocation = 0x7FFFFFFF;
constexpr std::uint32_t kLargestOffsetInBlock = 0xFFFF;

// Hex digits only, leading zeros in any number, the value at most `largest`.
std::optional<std::uint32_t> HexValue(std::string_view digits, HexLetters letters,
                                      std::uint32_t largest) {
    const auto value = ParseHex(digits, letters);
    if (!value || *value > largest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PaletteLocation> ParsePaletteLocation(std::string_view text) {
    if (!text.starts_with(kCompressedPrefix)) {
        const auto value = HexValue(text, HexLetters::AnyCase, kLargestLocation);
        if (!value)
            return std::nullopt;
        return PaletteLocation{*value, false, 0};
    }
    text.remove_prefix(kCompressedPrefix.size());
    const std::size_t plus = text.find('+');
    const auto block = HexValue(text.substr(0, plus), HexLetters::UpperCaseOnly, kLargestLocation);
    if (!block)
        return std::nullopt;
    std::uint32_t offset = 0;
    if (plus != std::string_view::npos) {
        const auto value =
            HexValue(text.substr(plus + 1), HexLetters::UpperCaseOnly, kLargestOffsetInBlock);
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
