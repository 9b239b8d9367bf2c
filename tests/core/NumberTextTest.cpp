#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "TempDir.h"
#include "util/NumberText.h"

namespace zandrel {
namespace {

struct CountCase {
    const char* text;
    int colours;
};

class PaletteColourCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(PaletteColourCountTest, ReadsTheLeadingNumber) {
    const CountCase& c = GetParam();
    EXPECT_EQ(PaletteColourCount(c.text), c.colours) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Counts, PaletteColourCountTest,
    ::testing::Values(
        // Plain counts as definition files hold them.
        CountCase{"1", 1}, CountCase{"4", 4}, CountCase{"16", 16}, CountCase{"07", 7},
        // Blanks, tabs and line feeds are dropped wherever they stand.
        CountCase{" 1 2", 12}, CountCase{"\t4\n", 4}, CountCase{"1\n6", 16},
        CountCase{"& H 1 0", 16},
        // Radix prefixes.
        CountCase{"&H10", 16}, CountCase{"&ha", 10}, CountCase{"&O20", 16}, CountCase{"&o7", 7},
        CountCase{"&O8", 0}, CountCase{"&H", 0}, CountCase{"&X5", 0},
        // Sign, decimal point, exponent; reading stops where the number cannot continue.
        CountCase{"+5", 5}, CountCase{"-3", 0}, CountCase{"4.", 4}, CountCase{".5e1", 5},
        CountCase{"1E1", 10}, CountCase{"1.2e+1", 12}, CountCase{"2D0", 2}, CountCase{"1e", 1},
        CountCase{"12abc", 12}, CountCase{"4,3", 4}, CountCase{"3.9", 4},
        // Halves go to the even neighbour, after the 1 is taken off.
        CountCase{"4.5", 5}, // 3.5 -> 4
        CountCase{"3.5", 3}, // 2.5 -> 2
        CountCase{"1.5", 1}, // 0.5 -> 0
        CountCase{"0.5", 1}, // -0.5 -> 0
        CountCase{"0.4", 0}, // -0.6 -> -1
        // No number at all.
        CountCase{"", 0}, CountCase{"abc", 0}, CountCase{"x5", 0}, CountCase{"-", 0},
        CountCase{".", 0},
        // More than sixteen colours use the sixteen swatches; none or fewer mean no colour.
        CountCase{"17", 16}, CountCase{"100", 16}, CountCase{"32768", 16}, CountCase{"0", 0},
        CountCase{"-0", 0},
        // Outside 16 bits after rounding.
        CountCase{"32769", 16}, CountCase{"1e10", 16}, CountCase{"1e400", 16},
        CountCase{"-32768", 0}, CountCase{"-1e400", 0},
        // A radix number of up to 16 bits is signed: &HFFFF is -1, &H8000 is -32768.
        CountCase{"&HFFFF", 0}, CountCase{"&H8000", 0}, CountCase{"&H7FFF", 16},
        CountCase{"&H10000", 16}));

TEST(LeadingNumber, ReadsRadixAndDecimalForms) {
    EXPECT_EQ(LeadingNumber("&HFFFF"), -1.0);
    EXPECT_EQ(LeadingNumber("&H10000"), 65536.0);
    EXPECT_EQ(LeadingNumber("&O777"), 511.0);
    EXPECT_EQ(LeadingNumber("-2.5e1x"), -25.0);
    EXPECT_EQ(LeadingNumber(" - 1 . 5 "), -1.5);
    EXPECT_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
}

// Under a comma-decimal locale, as the window's users have it, the C library reads "2.5" as 2
// and "1.6E1" as 1. The test makes a minimal such locale in a private folder with localedef.
TEST(LeadingNumber, ACommaDecimalLocaleDoesNotCutNumbersShort) {
    const testing::TempDir dir;
    // localedef writes nothing without LC_CTYPE; LC_NUMERIC is the part that counts.
    dir.WriteText("comma.src", "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\nLC_NUMERIC\n"
                               "decimal_point \",\"\nthousands_sep \".\"\nEND LC_NUMERIC\n");
    const std::string make = "localedef -c -f ANSI_X3.4-1968 -i '" + dir.File("comma.src") + "' '" +
                             dir.File("comma") + "' >/dev/null 2>&1";
    [[maybe_unused]] const int warned = std::system(make.c_str()); // exits 1 on its warnings
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    const bool comma = std::setlocale(LC_NUMERIC, "comma") != nullptr &&
                       std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    std::array<double, 4> read{};
    if (comma)
        read = {LeadingNumber("2.5"), LeadingNumber("1.6E1"), LeadingNumber("1D1"),
                static_cast<double>(PaletteColourCount("4.6"))};
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
    if (!comma)
        GTEST_SKIP() << "localedef could not make a comma-decimal locale here";
    EXPECT_EQ(read, (std::array<double, 4>{2.5, 16.0, 10.0, 5.0}));
}

TEST(RoundToInt16, RoundsHalvesToEvenAndRefusesOverflow) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(2.6), 3);
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_EQ(RoundToInt16(-32768.6), std::nullopt);
    EXPECT_EQ(RoundToInt16(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(RoundToInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

} // namespace
} // namespace zandrel
