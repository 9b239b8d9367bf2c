// The byte viewer's text: a palette's bytes in rows of sixteen, for the colour count its row
// gives, refused when that count does not fit.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "TempDir.h"
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

TEST(ByteDump, RowsOfSixteenBytesFollowTheColourCountAndZerosPastTheEnd) {
    TempDir dir;
    const std::string counting = dir.Write("mem.dmp", CountingBytes(0x400));
    const std::string small = dir.Write("small.dmp", {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5});
    const std::tuple<std::string, std::int32_t, std::int64_t, const char*> cases[] = {
        {counting, 0x20, 4, "20 21 22 23 24 25 26 27"},
        // The 16th byte ends the row even when it is the last.
        {counting, 0x40, 8, "40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\r\n"},
        {counting, 0x60, 10, "60 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F\r\n70 71 72 73"},
        {counting, 0, 0, ""},
        {counting, 0, -5, ""},
        {small, 2, 4, "B2 B3 B4 B5 00 00 00 00"},
        {small, 100, 1, "00 00"},
    };
    for (const auto& [path, location, count, expected] : cases) {
        std::string text = "untouched";
        const Failure failure = BuildByteDump(path, location, count, text);
        EXPECT_TRUE(failure.ok()) << ErrorMessage(failure);
        EXPECT_EQ(text, expected) << location << " " << count;
    }
    // The most the viewer shows: 32766 bytes, two digits and one separator or line end each.
    std::string text;
    EXPECT_TRUE(
        BuildByteDump(dir.Write("big.dmp", CountingBytes(40000)), 0, kMaxDumpColours, text).ok());
    EXPECT_EQ(text.size(), 3u * 32766u);
    EXPECT_EQ(text.substr(text.size() - 5), "FC FD");
}

// A count past 16 bits counted as 16383 colours and showed a truncated dump.
TEST(ByteDump, ViewerCountIsRoundedHalvesToEvenAndNotCappedAtSixteen) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"4", 4},           {"2.5", 2},       {"1.5", 2},      {"1 cor", 1},
        {"0", 0},           {"-40000", 0},    {"cores", 0},    {"16383", 16383},
        {"16383.5", 16384}, {"40000", 40000}, {"1D5", 100000}, {"1e400", INT64_MAX}};
    for (const auto& [text, count] : cases)
        EXPECT_EQ(ViewerColourCount(text), count) << text;
}

TEST(ByteDump, TooLargeACountOrAMissingFileIsRefusedAndTheTextKept) {
    TempDir dir;
    const std::string path = dir.Write("mem.dmp", CountingBytes(0x400));
    std::string text = "untouched";
    for (const PaletteLocation where : {PaletteLocation{0, false, 0}, PaletteLocation{0, true, 0}})
        EXPECT_EQ(ErrorMessage(BuildByteDump(path, where, 16384, text)),
                  "A paleta tem 16384 cores, mais do que o visor de bytes pode mostrar.");
    const std::string missing = dir.File("gone.dmp");
    for (const int count : {16, 0}) // even for no colours
        EXPECT_EQ(ErrorMessage(BuildByteDump(missing, 0, count, text)),
                  "Não foi possível ler o arquivo \"" + missing + "\".\r\n\r\n" +
                      std::strerror(ENOENT));
    EXPECT_EQ(text, "untouched");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
} // namespace zandrel::testing
