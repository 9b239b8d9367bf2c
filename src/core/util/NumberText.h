// Decimal numbers read from text: leniently from the start of a text, as the colour counts of
// definition files are read, and strictly, as arguments and palette files give them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zandrel {

// The number at the start of the text: blanks, tabs and line feeds are ignored wherever they
// stand; "&H" and "&O" make the following digits hexadecimal or octal; otherwise a decimal
// number with optional sign, decimal point and exponent, read up to the first character that
// cannot continue it. A text without a number gives 0.
double LeadingNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour; nullopt when the result
// does not fit a 16-bit signed number.
std::optional<std::int16_t> RoundToInt16(double value);

// The number of colours a palette's count text gives: the last index is the leading number
// minus 1, rounded; counts above 16 use the sixteen swatches, and 0 or less means none.
int PaletteColourCount(std::string_view countText);

// Values of ParseDecimal above this read as this; every limit a caller checks lies below it.
inline constexpr std::int64_t kLargestDecimal = 1'000'000'000;

// The value of a text made of decimal digits only, at least one; nothing for anything else
// (a sign, a blank). A larger value reads as kLargestDecimal.
std::optional<std::int64_t> ParseDecimal(std::string_view digits);
// The same after an optional minus sign.
std::optional<std::int64_t> ParseSignedDecimal(std::string_view text);

} // namespace zandrel
