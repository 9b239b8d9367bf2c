#include "util/Hex.h"

#include "util/Text.h"

namespace zandrel {

namespace {

int HexDigitValue(char c, HexLetters letters) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (letters == HexLetters::AnyCase && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

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

std::optional<std::uint32_t> ParseHex(std::string_view digits, HexLetters letters) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c, letters);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFF)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace zandrel
