#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "OpenFormFixture.h"
#include "special/ByteDump.h"

namespace zandrel::testing {
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

TEST(ByteDump, RowsOfSixteenBytesFollowTheColourCountAndZerosPastTheEnd) {
    TempDir dir;
    const struct {
        std::vector<std::uint8_t> file;
        std::int32_t location;
        int count;
        const char* expected;
    } cases[] = {
        {CountingBytes(0x400), 0, 16,
         "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"
         "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F"},
        {CountingBytes(0x400), 0x20, 4, "20 21 22 23 24 25 26 27"},
        // The 16th byte ends the row even when it is the last.
        {CountingBytes(0x400), 0x40, 8, "40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\r\n"},
        {CountingBytes(0x400), 0x60, 20,
         "60 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F\r\n"
         "70 71 72 73 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F 80 81 82 83 84 85 86 87"},
        {CountingBytes(0x400), 0x109, 1, "09 0A"},
        {CountingBytes(0x400), 0, 0, ""},
        {CountingBytes(0x400), 0, -5, ""},
        {{0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5}, 2, 4, "B2 B3 B4 B5 00 00 00 00"},
        {{0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5}, 100, 2, "00 00 00 00"},
    };
    for (const auto& c : cases) {
        std::string text = "untouched";
        const Failure failure =
            BuildByteDump(dir.Write("mem.dmp", c.file), c.location, c.count, text);
        EXPECT_TRUE(failure.ok()) << ErrorMessage(failure);
        EXPECT_EQ(text, c.expected) << c.location << " " << c.count;
    }

    // 32766 bytes: two digits each, one separator fewer, the 16th a two-character line end.
    std::string text;
    EXPECT_TRUE(
        BuildByteDump(dir.Write("big.dmp", CountingBytes(40000)), 0, kMaxDumpColours, text).ok());
    EXPECT_EQ(text.size(), 3u * 32766u);
    EXPECT_EQ(text.substr(text.size() - 5), "FC FD");
}

TEST(ByteDump, TooLargeACountOrAMissingFileIsRefusedAndTheTextKept) {
    TempDir dir;
    std::string text = "untouched";
    Failure failure = BuildByteDump(dir.Write("mem.dmp", CountingBytes(0x400)), 0, 16384, text);
    EXPECT_EQ(failure.result, Result::CountTooLarge);
    EXPECT_EQ(failure.count, 16384);
    EXPECT_EQ(text, "untouched");

    const std::string missing = dir.File("gone.dmp");
    for (const int count : {16, 0}) { // even for no colours
        failure = BuildByteDump(missing, 0, count, text);
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
        app.ByteDumpText = "previous";
        ShowGameLabel(form, "MEMORY DUMP");
    }
    void Show(const std::string& location, const std::string& count) {
        form.model().List1.Assign({"Palette A", "Palette B"});
        form.model().lstColor.Assign({"0", location});
        form.model().lstCount.Assign({"16", count});
        form.model().List1.selected = 1;
        form.cmdExibir_Click();
    }

    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form;
};

TEST_F(ByteViewerCommand, ShowsTheChosenRowsBytesByItsCountRoundedHalvesToEven) {
    const struct {
        const char* location;
        const char* count;
        const char* expected;
    } cases[] = {
        {"10", "4", "10 11 12 13 14 15 16 17"},
        {"10", "2.5", "10 11 12 13"}, // 2
        {"10", "1.5", "10 11 12 13"}, // 2
        {"10", "1.6", "10 11 12 13"}, // 2
        {"10", "1 cor", "10 11"},     // the number at the start
        {"10", "0", ""},
        {"10", "-40000", ""}, // no colours, however negative
        {"10", "cores", ""},
        // A location is read as hex in either letter case, as everywhere else.
        {"ff", "1", "FF 00"},
    };
    for (const auto& c : cases) {
        services.byteWindowTexts.clear();
        Show(c.location, c.count);
        EXPECT_EQ(services.byteWindowTexts, std::vector<std::string>{c.expected}) << c.count;
        EXPECT_EQ(app.ByteDumpText, c.expected);
    }
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(ByteViewerCommand, TooManyColoursOrAVanishedFileGiveACriticalBoxAndNoWindow) {
    for (const auto& [count, shown] : {std::pair{"16384", "16384"}, std::pair{"40000", "40000"},
                                       std::pair{"16383.5", "16384"}}) {
        services.messages.clear();
        Show("10", count);
        ExpectOneMessage(services,
                         std::string("A paleta tem ") + shown +
                             " cores, mais do que o visor de bytes pode mostrar.",
                         16);
    }
    services.messages.clear();
    std::filesystem::remove(app.RomPath);
    Show("10", "4");
    ExpectOneMessage(services,
                     "Não foi possível ler o arquivo \"" + app.RomPath + "\".\r\n\r\n" +
                         std::strerror(ENOENT),
                     16);
    EXPECT_TRUE(services.byteWindowTexts.empty());
    EXPECT_EQ(app.ByteDumpText, "previous");
}

} // namespace
} // namespace zandrel::testing
