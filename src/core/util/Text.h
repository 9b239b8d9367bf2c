// Text helpers. Strings inside the program are UTF-8; the files it reads are 8-bit text.
#pragma once

#include <string>
#include <string_view>

namespace zandrel {

// Code points of a UTF-8 text; a byte that is not part of valid UTF-8 stands for itself.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view codes);
bool IsValidUtf8(std::string_view bytes);
// Windows-1252 bytes to UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);
// An 8-bit text file's line: kept as is when valid UTF-8, else read as Windows-1252.
std::string DecodeEightBitText(std::string_view bytes);
// The character's code in the 8-bit set (Windows-1252), or -1 when it has none.
int EightBitCode(char32_t code);
// The text without a leading UTF-8 byte-order mark (EF BB BF), which some editors put first.
std::string_view WithoutUtf8Bom(std::string_view text);
// The text without the characters of `set` at its start and end.
std::string_view TrimmedOf(std::string_view text, std::string_view set);
// Whether the text ends with `ending`, comparing ASCII letters without regard to case.
bool EndsWithNoCase(std::string_view text, std::string_view ending);
// Upper case over the 8-bit set (a-z and the Latin-1 letters), as typed text is upper-cased.
std::string UpperCase(std::string_view text);
// The text in double quotes, as messages name a file or quote what the user typed.
std::string Quoted(std::string_view text);

} // namespace zandrel
