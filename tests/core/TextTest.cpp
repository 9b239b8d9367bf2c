// Text and number helpers: 8-bit text files, hex text both ways, decimal and the counts of
// definition files.
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>

#include "TempDir.h"
#include "util/Hex.h"
#include "util/NumberText.h"
#include "util/Text.h"
#include "util/TextColumn.h"

namespace zandrel::testing {
namespace {

// Both ends of Windows-1252's 80-9F table map; overlong sequences and surrogates are not UTF-8.
TEST(Text, EightBitLinesAreUtf8WhenValidElseWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", "\xE2\x82\xAC"},
        {"\x9F", "\xC5\xB8"},
        {"\x81", "\xC2\x81"},
        {"\xFF", "\xC3\xBF"},
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(DecodeEightBitText(bytes), text) << bytes;
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF\xFF"), (std::u32string{U'\U0010FFFF', U'\u00FF'}));
    const std::pair<char32_t, int> codes[] = {{U'A', 65},        {U'\u0081', 0x81},
                                              {U'\u00FF', 0xFF}, {U'\u20AC', 128},
                                              {U'\u0178', 159},  {U'\u0100', -1}};
    for (const auto& [code, eightBit] : codes)
        EXPECT_EQ(EightBitCode(code), eightBit) << static_cast<int>(code);
    EXPECT_EQ(UpperCase("kaldrex \xC3\xA1\xC3\xA7\xC3\xBF\xC3\xB7"), // ÷ has no upper case
              "KALDREX \xC3\x81\xC3\x87\xC5\xB8\xC3\xB7");
}

// Rows end to end: empty rows keep their place, and the same bytes cut elsewhere are other rows.
TEST(TextColumn, KeepsEachRowApartWhateverItsLength) {
    TextColumn column{"", "Herói", "", "16"};
    ASSERT_EQ(column.size(), 4u);
    const std::vector<std::string_view> rows(column.begin(), column.end());
    EXPECT_EQ(rows, (std::vector<std::string_view>{"", "Herói", "", "16"}));
    EXPECT_NE((TextColumn{"ab", ""}), (TextColumn{"a", "b"}));
    column.clear();
    column.push_back("x");
    EXPECT_EQ(column, TextColumn{"x"});
}

TEST(Hex, TextHasNoLeadingZerosAndPaddingFillsOnTheLeftNeverCutting) {
    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(-5), "0");
    EXPECT_EQ(HexText(2147483647), "7FFFFFFF");
    const std::tuple<const char*, int, const char*> cases[] = {
        {"", 1, "0"}, {"A", 2, "0A"}, {"ABC", 2, "ABC"}, {"12", 0, "12"}};
    for (const auto& [text, width, padded] : cases)
        EXPECT_EQ(PadWithZeros(text, width), padded) << text << " " << width;
}

// Digits count code - 48, any other character code - 55 (f 47, @ 9, é by its 8-bit code).
TEST(HexToNumber, ValuesEveryCharacterAsTheClassicConversionDoes) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"ff", 799},         {"@", 9},
        {"80000000", 0},     {"\xC3\xA9", 178},
        {"\xE2\x98\x83", 8}, {"0007FFFFFFF", 2147483647}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(HexToNumber(text), value) << text;
}

// Digits only, at least one; leading zeros count for nothing; FFFFFFFF is the largest.
TEST(ParseHex, ReadsHexDigitsOnly) {
    EXPECT_EQ(ParseHex("1a0"), 0x1A0u);
    EXPECT_EQ(ParseHex("1A0", HexLetters::UpperCaseOnly), 0x1A0u);
    EXPECT_EQ(ParseHex("0000000000FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex("1a0", HexLetters::UpperCaseOnly), std::nullopt);
    for (const char* text : {"100000000", "", "0x1A", "1G", " 1", "-1"})
        EXPECT_EQ(ParseHex(text), std::nullopt) << '"' << text << '"';
}

// Digits only, at least one, large values held at 1000000000; a minus sign only when signed.
TEST(ParseDecimal, ReadsDecimalDigitsOnlyAndHoldsLargeValues) {
    const std::tuple<const char*, std::optional<std::int64_t>, std::optional<std::int64_t>>
        cases[] = {{"007", 7, 7},
                   {"999999999", 999999999, 999999999},
                   {"99999999999999999999", kLargestDecimal, kLargestDecimal},
                   {"-12", std::nullopt, -12},
                   {"-99999999999", std::nullopt, -kLargestDecimal},
                   {"", std::nullopt, std::nullopt},
                   {"-", std::nullopt, std::nullopt},
                   {"--1", std::nullopt, std::nullopt},
                   {"+1", std::nullopt, std::nullopt},
                   {"1 ", std::nullopt, std::nullopt},
                   {"1.0", std::nullopt, std::nullopt}};
    for (const auto& [text, unsignedValue, signedValue] : cases) {
        EXPECT_EQ(ParseDecimal(text), unsignedValue) << '"' << text << '"';
        EXPECT_EQ(ParseSignedDecimal(text), signedValue) << '"' << text << '"';
    }
}

// Blanks dropped, &H/&O signed 16-bit, E or D an exponent; 1 taken off, halves to even.
TEST(PaletteColourCount, ReadsTheLeadingNumberRoundsAndKeepsToSixteen) {
    const std::pair<const char*, int> cases[] = {
        {" 1\t2\n", 12}, {"& h a", 10}, {"&O20", 16},  {"&O8", 0},     {"-3", 0},  {"1D1", 10},
        {"1e", 1},       {"4,3", 4},    {"4.5", 5},    {"3.5", 3},     {"0.4", 0}, {"17", 16},
        {"1e400", 16},   {"-40000", 0}, {"&HFFFF", 0}, {"&H10000", 16}};
    for (const auto& [text, colours] : cases)
        EXPECT_EQ(PaletteColourCount(text), colours) << '"' << text << '"';
}

// Under a comma-decimal locale the C library reads "2.5" as 2; skipped without localedef.
TEST(LeadingNumber, ACommaDecimalLocaleDoesNotCutNumbersShort) {
    const TempDir dir;
    dir.WriteText("comma.src", "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\nLC_NUMERIC\n"
                               "decimal_point \",\"\nthousands_sep \".\"\nEND LC_NUMERIC\n");
    const std::string make = "localedef -c -f ANSI_X3.4-1968 -i '" + dir.File("comma.src") + "' '" +
                             dir.File("comma") + "' >/dev/null 2>&1";
    [[maybe_unused]] const int warned = std::system(make.c_str()); // exits 1 on its warnings
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    const bool comma = std::setlocale(LC_NUMERIC, "comma") != nullptr &&
                       std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    std::array<double, 2> read{};
    if (comma)
        read = {LeadingNumber("2.5"), LeadingNumber("1.6E1")};
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
    if (!comma)
        GTEST_SKIP() << "localedef could not make a comma-decimal locale here";
    EXPECT_EQ(read, (std::array<double, 2>{2.5, 16.0}));
}

} // namespace
} // namespace zandrel::testing
