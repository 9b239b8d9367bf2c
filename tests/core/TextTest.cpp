#include <gtest/gtest.h>

#include "util/Text.h"

using namespace zandrel;

TEST(Text, EightBitFilesAreReadAsUtf8OnlyWhenValid) {
    EXPECT_EQ(DecodeEightBitText("Paleta \xC3\xA1gua"), "Paleta \xC3\xA1gua");
    // The same name saved in Windows-1252: á is the single byte E1.
    EXPECT_EQ(DecodeEightBitText("Paleta \xE1gua"), "Paleta \xC3\xA1gua");
    EXPECT_EQ(DecodeEightBitText("\x80"), "\xE2\x82\xAC");
    // Overlong and truncated sequences are not UTF-8.
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8E\xA8"));
}

TEST(Text, UpperCaseCoversTheEightBitLetters) {
    EXPECT_EQ(UpperCase("1f0"), "1F0");
    EXPECT_EQ(UpperCase("kaldrex"), "KALDREX");
    EXPECT_EQ(UpperCase("Kaldrex Extra"), "KALDREX EXTRA");
    EXPECT_EQ(UpperCase("\xC3\xA1\xC3\xA7"), "\xC3\x81\xC3\x87"); // áç -> ÁÇ
    EXPECT_EQ(UpperCase("\xC3\xB7"), "\xC3\xB7");                 // ÷ has no upper case
}

TEST(Text, EightBitCodesFollowWindows1252) {
    EXPECT_EQ(EightBitCode(U'A'), 65);
    EXPECT_EQ(EightBitCode(U'\u00E9'), 233);
    EXPECT_EQ(EightBitCode(U'\u20AC'), 128);
    EXPECT_EQ(EightBitCode(U'\u0178'), 159);
    EXPECT_EQ(EightBitCode(U'\u2603'), -1);
}
