// The byte viewer's text: a palette's bytes in rows of sixteen, or why not.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "special/ByteDump.h"

namespace zandrel::testing {
namespace {

// The 16th byte ends its row even when it is the last.
TEST(ByteDump, RowsOfSixteenBytesFollowTheColourCountAndZerosPastTheEnd) {
    TempDir dir;
    const std::string counting = dir.Write("mem.dmp", PatternBytes(0x10000));
    const std::string small = dir.Write("small.dmp", {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5});
    const std::tuple<std::string, std::int32_t, std::int64_t, const char*> cases[] = {
        {counting, 0x40, 8, "C3 CA D1 D8 DF E6 ED F4 FB 02 09 10 17 1E 25 2C\r\n"},
        {small, 2, 4, "B2 B3 B4 B5 00 00 00 00"},
        {small, 100, 1, "00 00"}};
    for (const auto& [path, location, count, expected] : cases) {
        std::string text = "untouched";
        EXPECT_TRUE(BuildByteDump(path, location, count, text).ok());
        EXPECT_EQ(text, expected) << location << " " << count;
    }
    // The most the viewer shows: 32766 bytes, two digits and one separator or line end each;
    // one colour more is refused and the text kept.
    std::string text;
    EXPECT_TRUE(BuildByteDump(counting, 0, kMaxDumpColours, text).ok());
    EXPECT_EQ(text.size(), 3u * 32766u);
    EXPECT_TRUE(text.ends_with(" E0 E7 EE")) << text.substr(text.size() - 8);
    EXPECT_EQ(ErrorMessage(BuildByteDump(counting, 0, kMaxDumpColours + 1, text)),
              "A paleta tem 16384 cores, mais do que o visor de bytes pode mostrar.");
    EXPECT_EQ(text.size(), 3u * 32766u);
    EXPECT_EQ(FormatByteDump(std::vector<std::uint8_t>(17, 0xAB)),
              "AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB\r\nAB");
}

// A count past 16 bits counted as 16383 colours and showed a truncated dump.
TEST(ByteDump, ViewerCountIsRoundedHalvesToEvenAndNotCappedAtSixteen) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"2.5", 2}, {"-40000", 0}, {"16383.5", 16384}, {"40000", 40000}, {"1e400", INT64_MAX}};
    for (const auto& [text, count] : cases)
        EXPECT_EQ(ViewerColourCount(text), count) << text;
}

} // namespace
} // namespace zandrel::testing
