#include <gtest/gtest.h>

#include <string>

#include "colour/Codec.h"

using namespace zandrel;

TEST(Codec, EveryWordSurvivesTheRoundTripThroughAColour) {
    for (int w = 0; w <= 0x7FFF; ++w) {
        const auto word = static_cast<ColorWord>(w);
        const RgbColor color = WordToColor(word);
        ASSERT_LE(color, 0xFFFFFFu) << w;
        ASSERT_EQ(ColorToWord(color), word) << w;
        // The hex form of the same word splits into the same colour.
        const std::string hex = WordHexText(word);
        ASSERT_EQ(HexToNumber(hex), w) << hex;
    }
}

TEST(Codec, ComponentsScaleByEightAndAQuarter) {
    struct Case {
        int five;
        int eight;
    };
    for (const Case c : {Case{0, 0},
                         {1, 8},
                         {2, 16},
                         {3, 24},
                         {4, 33},
                         {8, 66},
                         {15, 123},
                         {16, 132},
                         {30, 247},
                         {31, 255}})
        EXPECT_EQ(ExpandComponent(c.five), c.eight) << c.five;
    for (int c = 0; c <= 31; ++c)
        EXPECT_EQ(ReduceComponent(ExpandComponent(c)), c);
    // The 1 is added before dividing: 7 still reduces to 0 and only 255 reaches 31.
    struct Range {
        int from, to, five;
    };
    for (const Range r : {Range{0, 7, 0},
                          {8, 15, 1},
                          {16, 23, 2},
                          {24, 31, 3},
                          {32, 40, 4},
                          {247, 254, 30},
                          {255, 255, 31}})
        for (int v = r.from; v <= r.to; ++v)
            EXPECT_EQ(ReduceComponent(v), r.five) << v;
}

TEST(Codec, WordsAndColoursConvertToTheListedValues) {
    struct Case {
        ColorWord word;
        RgbColor color;
    };
    for (const Case c : {Case{0x0000, 0x000000},
                         {0x7FFF, 0xFFFFFF},
                         {0x001F, 0x0000FF},
                         {0x03E0, 0x00FF00},
                         {0x7C00, 0xFF0000},
                         {0x4210, 0x848484},
                         {0x0421, 0x080808}})
        EXPECT_EQ(WordToColor(c.word), c.color) << WordHexText(c.word);

    for (const Case c : {Case{0x7FFF, 0xFFFFFF},
                         {0x7BDE, 0xFEFEFE},
                         {0x0000, 0x070707},
                         {0x0421, 0x080808},
                         {0x08CA, 0x123456}})
        EXPECT_EQ(ColorToWord(c.color), c.word) << ColorHexText(c.color);
}

TEST(Codec, HexTextsHaveTheirFixedWidths) {
    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(0x1F0), "1F0");
    EXPECT_EQ(HexText(2147483647), "7FFFFFFF");
    EXPECT_EQ(WordHexText(0), "0000");
    EXPECT_EQ(WordHexText(31), "001F");
    EXPECT_EQ(WordHexText(0x7FFF), "7FFF");
    EXPECT_EQ(ColorHexText(0xFF), "0000FF");
    EXPECT_EQ(ColorHexText(0x123456), "123456");
}

TEST(Codec, SplitColorReadsBlueFromTheHighByte) {
    EXPECT_EQ(SplitColor(0x0000FF), (Rgb{255, 0, 0}));
    EXPECT_EQ(SplitColor(0x123456), (Rgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(MakeColor(0x56, 0x34, 0x12), 0x123456u);
}

TEST(Codec, WordFromBytesTakesTheHighByteFirst) {
    EXPECT_EQ(WordFromBytes(127, 255), 32767);
    EXPECT_EQ(WordFromBytes(0, 31), 31);
    EXPECT_EQ(WordFromBytes(0x12, 0x34), 0x1234);
}

TEST(HexToNumber, ValuesEveryCharacterAsTheClassicConversionDoes) {
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 0},
        {"7", 7},
        {"1F", 31},
        {"FF", 255},
        {"7FFF", 32767},
        {"3B8A8C", 3902092},
        {"7FFFFFFF", 2147483647},
        {"0007FFFFFFF", 2147483647}, // leading zeros never overflow
        {"80000000", 0},             // above the largest signed value
        {"FFFFFFFF", 0},
        {"100000000", 0},
        {"ff", 799}, // lower case is not read as hex: f counts 47
        {"a", 42},
        {"G", 16},
        {"Z", 35},
        {"@", 9}, // the characters 58-64 count 3-9
        {":", 3},
        {"0x1F", 16671},
        {" 1F", 0}, // a blank is a failure wherever it stands
        {"1F ", 0},
        {"&H1F", 0},
        {"-1", 0},
        {"\t", 0},
        {"\xC3\xA9", 233 - 55},     // é has the 8-bit code 233
        {"\xE2\x82\xAC", 128 - 55}, // the euro sign is 128 in the 8-bit set
        {"\xE2\x98\x83", 63 - 55},  // a character outside the 8-bit set counts as "?"
    };
    for (const Case& c : cases)
        EXPECT_EQ(HexToNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(HexToNumber, TextsLongerThan32767CharactersGiveZero) {
    EXPECT_EQ(HexToNumber(std::string(32766, '0') + "1"), 1);
    EXPECT_EQ(HexToNumber(std::string(32767, '0') + "1"), 0);
}
