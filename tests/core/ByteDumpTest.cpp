#include <gtest/gtest.h>

#include <filesystem>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"
#include "special/ByteDump.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

// Byte k of the file is k & 0xFF.
std::vector<std::uint8_t> CountingBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t k = 0; k < size; ++k)
        bytes[k] = static_cast<std::uint8_t>(k & 0xFF);
    return bytes;
}

TEST(PadWithZeros, FillsOnTheLeftAndNeverCuts) {
    const struct {
        const char* text;
        int width;
        const char* expected;
    } cases[] = {
        {"", 2, "00"},    {"A", 2, "0A"},     {"FF", 2, "FF"}, {"ABC", 2, "ABC"},
        {"7", 4, "0007"}, {"123", 4, "0123"}, {"12", 0, "12"}, {"5", -3, "5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadWithZeros(c.text, c.width), c.expected) << c.text << " " << c.width;
}

class ByteDump : public ::testing::Test {
  protected:
    std::string Dump(std::int32_t location, int count) {
        std::string text = "untouched";
        const Failure failure = BuildByteDump(path, location, count, text);
        EXPECT_TRUE(failure.ok()) << ErrorMessage(failure);
        return text;
    }

    TempDir dir;
    std::string path = dir.Write("mem.dmp", CountingBytes(0x400));
};

TEST_F(ByteDump, SixteenColoursMakeTwoRowsJoinedByOneLineEnd) {
    const std::string text = Dump(0, 16);
    EXPECT_EQ(text, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"
                    "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F");
    EXPECT_EQ(text.size(), 96u);
}

TEST_F(ByteDump, RowLengthsFollowTheColourCount) {
    const struct {
        std::int32_t location;
        int count;
        const char* expected;
    } cases[] = {
        {0x20, 4, "20 21 22 23 24 25 26 27"},
        // The 16th byte ends the row even when it is the last.
        {0x40, 8, "40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\r\n"},
        {0x60, 20,
         "60 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F\r\n"
         "70 71 72 73 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F 80 81 82 83 84 85 86 87"},
        {0xF8, 4, "F8 F9 FA FB FC FD FE FF"},
        {0x109, 1, "09 0A"},
        {0, 0, ""},
        {0, -5, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dump(c.location, c.count), c.expected) << c.location << " " << c.count;
}

TEST_F(ByteDump, BytesPastTheEndShowAsZeros) {
    path = dir.Write("short.dmp", {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5});
    EXPECT_EQ(Dump(2, 4), "B2 B3 B4 B5 00 00 00 00");
    EXPECT_EQ(Dump(100, 2), "00 00 00 00");
}

TEST_F(ByteDump, LargestCountStillFits) {
    path = dir.Write("big.dmp", CountingBytes(40000));
    const std::string text = Dump(0, kMaxDumpColours);
    // 32766 bytes: two digits each, one separator fewer, the 16th a two-character line end.
    EXPECT_EQ(text.size(), 3u * 32766u);
    EXPECT_EQ(text.substr(text.size() - 5), "FC FD");
}

TEST_F(ByteDump, CountWhoseBytesOverflowSixteenBitsIsRefused) {
    std::string text = "untouched";
    const Failure failure = BuildByteDump(path, 0, 16384, text);
    EXPECT_EQ(failure.result, Result::CountTooLarge);
    EXPECT_EQ(failure.offset, 16384);
    EXPECT_EQ(text, "untouched");
}

TEST_F(ByteDump, MissingFileFailsEvenForNoColours) {
    const std::string missing = dir.File("gone.dmp");
    for (const int count : {16, 0}) {
        std::string text = "untouched";
        const Failure failure = BuildByteDump(missing, 0, count, text);
        EXPECT_EQ(failure.result, Result::CannotRead) << count;
        EXPECT_EQ(failure.file, missing);
        EXPECT_EQ(text, "untouched");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

class ByteViewerCommand : public ::testing::Test {
  protected:
    ByteViewerCommand() : form(app, services) {
        app.RomPath = dir.Write("mem.dmp", CountingBytes(0x400));
        form.model().lblGame.caption = "MEMORY DUMP";
        form.model().List1.Assign({"Palette A", "Palette B"});
        form.model().lstColor.Assign({"0", "10"});
        form.model().lstCount.Assign({"16", "4"});
        form.model().List1.selected = 1;
        form.model().cmdExibir.enabled = true;
    }

    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form;
};

TEST_F(ByteViewerCommand, ShowsTheChosenPalettesBytes) {
    form.cmdExibir_Click();
    EXPECT_EQ(services.byteWindowTexts, std::vector<std::string>{"10 11 12 13 14 15 16 17"});
    EXPECT_EQ(app.ByteDumpText, "10 11 12 13 14 15 16 17");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(ByteViewerCommand, CountTextIsRoundedHalvesToEven) {
    const struct {
        const char* count;
        const char* expected;
    } cases[] = {
        {"2.5", "10 11 12 13"}, // 2
        {"1.5", "10 11 12 13"}, // 2
        {"1.6", "10 11 12 13"}, // 2
        {"1 cor", "10 11"},     // the number at the start
        {"0", ""},
        {"-40000", ""}, // no colours, however negative
        {"cores", ""},
    };
    for (const auto& c : cases) {
        form.model().lstCount.Assign({"16", c.count});
        form.model().List1.selected = 1;
        services.byteWindowTexts.clear();
        form.cmdExibir_Click();
        EXPECT_EQ(services.byteWindowTexts, std::vector<std::string>{c.expected}) << c.count;
    }
    EXPECT_TRUE(services.messages.empty());
}

// The location text is taken as stored: lower-case ff is not hex FF.
TEST_F(ByteViewerCommand, LocationTextIsNotUpperCased) {
    form.model().lstColor.Assign({"0", "ff"});
    form.model().List1.selected = 1;
    form.model().lstCount.Assign({"16", "1"});
    form.cmdExibir_Click();
    // HexToNumber values f as 47: 47 * 16 + 47 = 799 = 0x31F.
    EXPECT_EQ(app.ByteDumpText, "1F 20");
}

TEST_F(ByteViewerCommand, TooManyColoursGiveACriticalBoxAndNoWindow) {
    app.ByteDumpText = "previous";
    for (const auto& [count, shown] : {std::pair{"16384", "16384"}, std::pair{"40000", "40000"},
                                       std::pair{"16383.5", "16384"}}) {
        services.messages.clear();
        form.model().lstCount.Assign({"16", count});
        form.model().List1.selected = 1;
        form.cmdExibir_Click();
        ASSERT_EQ(services.messages.size(), 1u) << count;
        EXPECT_EQ(services.messages[0].text, std::string("A paleta tem ") + shown +
                                                 " cores, mais do que o visor de bytes pode "
                                                 "mostrar.");
        EXPECT_EQ(services.messages[0].style, 16);
        EXPECT_EQ(services.messages[0].title, "Zandrel");
    }
    EXPECT_TRUE(services.byteWindowTexts.empty());
    EXPECT_EQ(app.ByteDumpText, "previous");
}

TEST_F(ByteViewerCommand, VanishedFileGivesACriticalBoxNamingIt) {
    app.ByteDumpText = "previous";
    std::filesystem::remove(app.RomPath);

    form.cmdExibir_Click();

    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].style, 16);
    EXPECT_EQ(services.messages[0].text.rfind(
                  "Não foi possível ler o arquivo \"" + app.RomPath + "\".", 0),
              0u)
        << services.messages[0].text;
    EXPECT_TRUE(services.byteWindowTexts.empty());
    EXPECT_EQ(app.ByteDumpText, "previous");
}

} // namespace
