// Hex text: upper-case digits without prefix, and the zero-filling that fixed widths use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zandrel {

// Upper-case hex without leading zeros; 0 gives "0".
std::string HexText(std::int64_t n);

// "0" characters put in front of the text up to `width`; a longer text is not cut.
std::string PadWithZeros(std::string_view text, int width);

} // namespace zandrel
