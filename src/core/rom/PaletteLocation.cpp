#include "rom/PaletteLocation.h"

#include "util/Hex.h"

namespace zandrel {

namespace {

constexpr std::string_view kCompressedPrefix = "LZ:";
constexpr std::uint32_t kLargestLocation = 0x7FFFFFFF;

// 1 to maxDigits hex digits, nothing else.
std::optional<std::uint32_t> HexValue(std::string_view digits, std::size_t maxDigits,
                                      HexLetters letters) {
    if (digits.size() > maxDigits)
        return std::nullopt;
    return ParseHex(digits, letters);
}

} // namespace

std::optional<PaletteLocation> ParsePaletteLocation(std::string_view text) {
    if (!text.starts_with(kCompressedPrefix)) {
        const auto value = HexValue(text, 8, HexLetters::AnyCase);
        if (!value || *value > kLargestLocation)
            return std::nullopt;
        return PaletteLocation{*value, false, 0};
    }
    text.remove_prefix(kCompressedPrefix.size());
    const std::size_t plus = text.find('+');
    const auto block = HexValue(text.substr(0, plus), 8, HexLetters::UpperCaseOnly);
    if (!block || *block > kLargestLocation)
        return std::nullopt;
    std::uint32_t offset = 0;
    if (plus != std::string_view::npos) {
        const auto value = HexValue(text.substr(plus + 1), 4, HexLetters::UpperCaseOnly);
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
