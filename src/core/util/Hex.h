// Hex text: upper-case digits without prefix, the zero-filling that fixed widths use, and the
// two ways hex text is read back: the classic lenient conversion and the strict one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zandrel {

// Upper-case hex without leading zeros; 0 gives "0".
std::string HexText(std::int64_t n);

// "0" characters put in front of the text up to `width`; a longer text is not cut.
std::string PadWithZeros(std::string_view text, int width);

// Hex text to a number as the classic conversion does: digits count code - 48 and any other
// character code - 55, valued from the right; 0 on any failure (never throws).
std::int32_t HexToNumber(std::string_view text);

enum class HexLetters { AnyCase, UpperCaseOnly };

// The value of a text made of hex digits only, at least one, leading zeros allowed; nothing
// for any other character or a value above FFFFFFFF. Lengths are the caller's rule.
std::optional<std::uint32_t> ParseHex(std::string_view digits,
                                      HexLetters letters = HexLetters::AnyCase);

} // namespace zandrel
