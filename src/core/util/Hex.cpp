#include "util/Hex.h"

namespace zandrel {

std::string HexText(std::int64_t n) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (n <= 0)
        return "0";
    std::string text;
    for (auto v = static_cast<std::uint64_t>(n); v != 0; v >>= 4)
        text.insert(text.begin(), kDigits[v & 0xF]);
    return text;
}

std::string PadWithZeros(std::string_view text, int width) {
    std::string padded;
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        padded.assign(static_cast<std::size_t>(width) - text.size(), '0');
    padded += text;
    return padded;
}

} // namespace zandrel
