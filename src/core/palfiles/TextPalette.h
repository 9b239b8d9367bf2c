// What the text palettes (JASC, GIMP) share: their size limit, their lines and words, and
// the colour lines "r g b".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "palfiles/RgbTriples.h"
#include "platform/Failure.h"

namespace zandrel {

// Room for thousands of colours and their names.
inline constexpr std::size_t kMaxTextPaletteSize = 64 * 1024;

std::string_view TextOf(std::span<const std::uint8_t> bytes);

// Whether the text's first word, after a UTF-8 byte-order mark and blanks, begins with
// `upperCaseWord` in any letter case: a misspelt header is then refused by its format's reader
// with the reason rather than read as colour words.
bool StartsWithWordNoCase(std::string_view text, std::string_view upperCaseWord);

// A text longer than kMaxTextPaletteSize is refused before it is split into lines; `format`
// names it ("JASC").
Failure CheckTextSize(std::string_view text, std::string_view format);

// Lines ended by LF, CR LF or a bare CR, after a leading UTF-8 byte-order mark; a final
// line end makes no extra empty line.
std::vector<std::string_view> SplitLines(std::string_view text);
std::string_view TrimBlanks(std::string_view text);
// Words separated by blanks and tabs.
std::vector<std::string_view> Words(std::string_view text);

// "linha 8: esperados três números (vermelho verde azul)".
Failure NotThreeNumbers(std::size_t line);
// The three components at the start of the colour line numbered `line`.
Failure ReadTriple(std::span<const std::string_view> words, std::size_t line, Rgb& rgb);
// "linha 14: o arquivo termina depois de 10 cores; são necessárias 16".
Failure TooFewColours(std::size_t line, std::size_t found);

} // namespace zandrel
