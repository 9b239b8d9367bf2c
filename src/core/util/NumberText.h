// Numbers read from the start of a text, as the colour counts of definition files are read.
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

} // namespace zandrel
