#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palfiles/GifHeader.h"
#include "palfiles/PaletteFormats.h"

using namespace zandrel;

namespace {

// Distinct components in every entry, and the extremes 0 and 255.
Palette16 SamplePalette() {
    Palette16 colours{};
    colours[0] = MakeColor(248, 0, 120);
    colours[1] = MakeColor(0, 0, 0);
    colours[2] = MakeColor(255, 255, 255);
    colours[3] = MakeColor(1, 2, 3);
    for (int i = 4; i < 16; ++i)
        colours[i] = MakeColor(16 * i, 100 + i, 255 - i);
    return colours;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (const int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

} // namespace

TEST(PaletteFormats, TplIsTheHeaderThenSixteenUnscaledRgbTriples) {
    const std::vector<std::uint8_t> expected = Bytes({
        0x54, 0x50, 0x4C, 0x00,                                                        // header
        248,  0,    120,  0,    0,   0,   255, 255, 255, 1,   2,   3,   64,  104, 251, //
        80,   105,  250,  96,   106, 249, 112, 107, 248, 128, 108, 247, 144, 109, 246, //
        160,  110,  245,  176,  111, 244, 192, 112, 243, 208, 113, 242, 224, 114, 241, //
        240,  115,  240,
    });
    const std::vector<std::uint8_t> bytes = TplPaletteBytes(SamplePalette());
    EXPECT_EQ(bytes.size(), 52u);
    EXPECT_EQ(bytes, expected);
}

TEST(PaletteFormats, JascIsNineteenCrLfLinesOfDecimalTriples) {
    const std::string expected = "JASC-PAL\r\n0100\r\n16\r\n"
                                 "248 0 120\r\n0 0 0\r\n255 255 255\r\n1 2 3\r\n"
                                 "64 104 251\r\n80 105 250\r\n96 106 249\r\n112 107 248\r\n"
                                 "128 108 247\r\n144 109 246\r\n160 110 245\r\n176 111 244\r\n"
                                 "192 112 243\r\n208 113 242\r\n224 114 241\r\n240 115 240\r\n";
    EXPECT_EQ(JascPaletteText(SamplePalette()), expected);
}

TEST(PaletteFormats, RawGbaIsSixteenReducedWordsLowByteFirst) {
    const std::vector<std::uint8_t> expected =
        Bytes({0x1E, 0x38, 0x00, 0x00, 0xFF, 0x7F, 0x00, 0x00, 0x87, 0x79, 0x89,
               0x79, 0x8B, 0x79, 0xAD, 0x79, 0xAF, 0x79, 0xB1, 0x75, 0xB3, 0x75,
               0xB5, 0x75, 0xB7, 0x75, 0xB9, 0x75, 0xBB, 0x75, 0xDD, 0x75});
    EXPECT_EQ(GbaPaletteBytes(SamplePalette()), expected);
}

TEST(PaletteFormats, PaletteFileBytesMatchTheBuilderOfEachFormat) {
    const Palette16 colours = SamplePalette();
    EXPECT_EQ(PaletteFileBytes(PaletteFormat::Tpl, colours), TplPaletteBytes(colours));
    EXPECT_EQ(PaletteFileBytes(PaletteFormat::GbaRaw, colours), GbaPaletteBytes(colours));
    const std::string jasc = JascPaletteText(colours);
    EXPECT_EQ(PaletteFileBytes(PaletteFormat::Jasc, colours),
              std::vector<std::uint8_t>(jasc.begin(), jasc.end()));
    EXPECT_TRUE(PaletteFileBytes(PaletteFormat::None, colours).empty());
}

TEST(PaletteFormats, GbaWordsDropBit15ReadMissingBytesAsZeroAndIgnoreExtraBytes) {
    std::vector<std::uint8_t> full(40, 0x11);
    full[0] = 0xFF;
    full[1] = 0xFF; // bit 15 set: reads as 7FFF
    full[31] = 0x92;
    full[32] = 0xEE; // past the palette
    const PaletteWords16 words = GbaPaletteWords(full);
    EXPECT_EQ(words[0], 0x7FFF);
    EXPECT_EQ(words[1], 0x1111);
    EXPECT_EQ(words[15], 0x1211);

    const PaletteWords16 shortWords = GbaPaletteWords(Bytes({0x34, 0x12, 0x56}));
    EXPECT_EQ(shortWords[0], 0x1234);
    EXPECT_EQ(shortWords[1], 0x0056);
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(shortWords[i], 0) << i;
    EXPECT_EQ(GbaPaletteWords({}), PaletteWords16{});
}

TEST(PaletteFormats, ExportFormatComesFromTheNameEndIgnoringCase) {
    struct Case {
        const char* name;
        PaletteFormat format;
    };
    for (const Case& c : {
             Case{"a.tpl", PaletteFormat::Tpl},
             {"a.Tpl", PaletteFormat::Tpl},
             {"b.pal", PaletteFormat::Jasc},
             {"b.PaL", PaletteFormat::Jasc},
             {"c.gbapal", PaletteFormat::GbaRaw},
             {"c.GBAPAL", PaletteFormat::GbaRaw},
             {"c.gbapal.tpl", PaletteFormat::Tpl},
             {"c.tpl.pal", PaletteFormat::Jasc},
             {"d.txt", PaletteFormat::None},
             {"tpl", PaletteFormat::None},
             {"dpal", PaletteFormat::None},
             {"e.gbapal ", PaletteFormat::None},
             {"", PaletteFormat::None},
         }) {
        EXPECT_EQ(ExportFormatForName(c.name), c.format) << c.name;
    }
}

TEST(GifHeader, AcceptsOnlyAGifWithAGlobalTableOfSixteenOrMoreInsideTheFile) {
    const auto header = [](const char* signature, int packed) {
        std::vector<std::uint8_t> head(signature, signature + 6);
        const std::vector<std::uint8_t> rest = Bytes({0x93, 0x01, 0x8C, 0x00, packed, 0, 0});
        head.insert(head.end(), rest.begin(), rest.end());
        return head;
    };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> head;
        std::uint64_t size;
        Result result;
    };
    const std::vector<Case> cases = {
        {"GIF89a, 16 entries", header("GIF89a", 0xF3), 1000, Result::Ok},
        {"GIF87a, 256 entries", header("GIF87a", 0x87), 1000, Result::Ok},
        {"exactly the 16 entries", header("GIF89a", 0xF3), 61, Result::Ok},
        {"table cut short", header("GIF89a", 0xF3), 60, Result::ImageTooShort},
        {"header cut short", header("GIF89a", 0xF3), 12, Result::ImageTooShort},
        {"signature only", Bytes({'G', 'I', 'F', '8', '9', 'a'}), 6, Result::ImageTooShort},
        {"signature cut short", Bytes({'G', 'I', 'F', '8', '9'}), 5, Result::ImageNotGif},
        {"empty", {}, 0, Result::ImageNotGif},
        {"unknown version", header("GIF88a", 0xF3), 1000, Result::ImageNotGif},
        {"lower case", header("gif89a", 0xF3), 1000, Result::ImageNotGif},
        {"PNG", header("\x89PNG\r\n", 0xF3), 1000, Result::ImageNotGif},
        {"no global table", header("GIF89a", 0x73), 1000, Result::ImageNoColourTable},
        {"8 entries", header("GIF89a", 0x82), 1000, Result::ImageSmallColourTable},
        {"2 entries", header("GIF89a", 0x80), 1000, Result::ImageSmallColourTable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckGifHeader(c.head, c.size), c.result) << c.what;
}
