#include "util/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace zandrel {

namespace {

bool Ignored(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n';
}

// Digits of a radix prefix (&H or &O): a value of up to 16 bits reads as a signed 16-bit
// number, as the classic conversion does (&HFFFF is -1); longer ones as 32-bit.
double RadixNumber(const std::string& digits, int radix) {
    std::uint64_t value = 0;
    for (const char ch : digits) {
        int digit = -1;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (radix == 16 && ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else if (radix == 16 && ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            return 0; // overflows even a 32-bit number
    }
    if (value <= 0xFFFF)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (const char ch : text)
        if (!Ignored(ch))
            packed.push_back(ch);

    if (packed.size() >= 2 && packed[0] == '&') {
        const char kind = packed[1];
        if (kind == 'H' || kind == 'h')
            return RadixNumber(packed.substr(2), 16);
        if (kind == 'O' || kind == 'o')
            return RadixNumber(packed.substr(2), 8);
        return 0;
    }

    // Longest prefix of the form [sign] digits [. digits] [(E|D) [sign] digits], read
    // with the point as the decimal separator whatever the locale says.
    std::size_t i = 0;
    const auto digitAt = [&](std::size_t k) {
        return k < packed.size() && packed[k] >= '0' && packed[k] <= '9';
    };
    std::string number;
    if (i < packed.size() && (packed[i] == '+' || packed[i] == '-')) {
        if (packed[i] == '-')
            number += '-'; // from_chars takes no plus sign
        ++i;
    }
    // One more than the power of ten of the first non-zero digit, before the exponent: it
    // tells an overflow from an underflow.
    std::int64_t magnitude = 0;
    bool nonZero = false;
    bool anyDigit = false;
    while (digitAt(i)) {
        nonZero = nonZero || packed[i] != '0';
        magnitude += nonZero ? 1 : 0;
        number += packed[i++];
        anyDigit = true;
    }
    if (i < packed.size() && packed[i] == '.') {
        number += packed[i++];
        while (digitAt(i)) {
            if (!nonZero && packed[i] == '0')
                --magnitude;
            nonZero = nonZero || packed[i] != '0';
            number += packed[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;
    std::int64_t exponent = 0;
    if (i < packed.size() &&
        (packed[i] == 'E' || packed[i] == 'e' || packed[i] == 'D' || packed[i] == 'd')) {
        std::size_t k = i + 1;
        std::string text = "e";
        if (k < packed.size() && (packed[k] == '+' || packed[k] == '-'))
            text += packed[k++];
        if (digitAt(k)) {
            while (digitAt(k)) {
                exponent = std::min<std::int64_t>(exponent * 10 + (packed[k] - '0'), 1 << 20);
                text += packed[k++];
            }
            if (text[1] == '-')
                exponent = -exponent;
            number += text;
        }
    }
    double value = 0;
    const std::from_chars_result read =
        std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // As strtod gives it: an infinity for an overflow, which no 16-bit count can hold,
        // and 0 for an underflow.
        value = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
        if (number.front() == '-')
            value = -value;
    }
    return value;
}

std::optional<std::int16_t> RoundToInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

int PaletteColourCount(std::string_view countText) {
    const double number = LeadingNumber(countText);
    const std::optional<std::int16_t> lastIndex = RoundToInt16(number - 1);
    if (!lastIndex)
        return number > 0 ? 16 : 0;
    return std::clamp(*lastIndex + 1, 0, 16);
}

std::optional<std::int64_t> ParseDecimal(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), kLargestDecimal);
    }
    return value;
}

std::optional<std::int64_t> ParseSignedDecimal(std::string_view text) {
    const bool negative = text.starts_with('-');
    const std::optional<std::int64_t> value = ParseDecimal(text.substr(negative ? 1 : 0));
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

} // namespace zandrel
