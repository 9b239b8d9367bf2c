#include "gfx/GraphicsLocation.h"

#include "util/Hex.h"

namespace zandrel {

std::optional<GraphicsLocation> ParseGraphicsLocation(std::string_view text) {
    constexpr std::size_t kMostOffsetDigits = 6;
    const std::size_t plus = text.find('+');
    if (!text.starts_with("LZ:") || plus == std::string_view::npos)
        return ParsePaletteLocation(text);
    std::optional<GraphicsLocation> where = ParsePaletteLocation(text.substr(0, plus));
    const std::string_view digits = text.substr(plus + 1);
    const std::optional<std::uint32_t> offset = digits.size() <= kMostOffsetDigits
                                                    ? ParseHex(digits, HexLetters::UpperCaseOnly)
                                                    : std::nullopt;
    if (!where || !offset)
        return std::nullopt;
    where->offsetInBlock = *offset;
    return where;
}

} // namespace zandrel
