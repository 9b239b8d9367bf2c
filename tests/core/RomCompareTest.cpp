// Two versions of a ROM compared: colours by palette, then the bytes outside the palettes.
#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"
#include "rom/RomCompare.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RomCompare, ChangedColoursWithBothWordsBit15AsideAndNothingElseIsSame) {
    const Bytes before = PatternBytes(0x100);
    Bytes after = before;
    after[0x23] ^= 0x80; // bit 15 of colour 1 only
    after[0x26] = 0x1F;  // colour 3: 140D -> 141F
    after[0x3F] = 0x00;  // colour 15
    const ListedPalette listed[] = {{{0x20, false, 0}, 16, "A"}, {{0x40, false, 0}, 16, "B"}};
    const RomComparison comparison = CompareRoms(before, after, listed);
    EXPECT_EQ(comparison.palettes,
              (std::vector<PaletteDifference>{{0, {{3, 0x140D, 0x141F}, {15, 0x3CB5, 0x00B5}}}}));
    EXPECT_FALSE(comparison.Same());
    EXPECT_TRUE(CompareRoms(before, before, listed).Same());
}

TEST(RomCompare, BytesOutsideThePalettesAsRangesTheLongerFilesTailIncluded) {
    const Bytes before = PatternBytes(0x100);
    Bytes after = PatternBytes(0x108);
    for (const std::size_t at : {0x00, 0x01, 0x1F, 0x20, 0x3F, 0x40, 0x80})
        after[at] ^= 1;
    const ListedPalette listed[] = {{{0x20, false, 0}, 16, "A"}};
    const RomComparison comparison = CompareRoms(before, after, listed, 2);
    EXPECT_EQ(comparison.bytes, 5u + 8u);
    EXPECT_EQ(comparison.ranges, 5u); // 0-1, 1F, 40, 80, 100-107
    EXPECT_EQ(comparison.firstRanges, (std::vector<ByteRange>{{0x00, 0x01}, {0x1F, 0x1F}}));
}

// A compressed palette stands for its whole stream in either file; a block that no longer
// decompresses makes its palette unreadable there.
TEST(RomCompare, CompressedPalettesAreComparedByTheirColours) {
    Bytes data = PatternBytes(64);
    Bytes before(0x100, 0xFF);
    before = With(before, 0x10, LiteralLz77(data));
    data[0x22] = 0;
    data[0x23] = 0;
    Bytes after(0x100, 0xFF);
    after = With(after, 0x10, LiteralLz77(data));
    const ListedPalette listed[] = {{{0x10, true, 0x20}, 16, "Z"}};
    const RomComparison changed = CompareRoms(before, after, listed);
    EXPECT_EQ(changed.palettes, (std::vector<PaletteDifference>{{0, {{1, 0x78F1, 0}}}}));
    EXPECT_EQ(changed.bytes, 0u);
    Bytes broken = before;
    broken[0x10 + 4] = 0xFF; // every block a reference, the first reaching before the start
    const RomComparison unreadable = CompareRoms(before, broken, listed);
    EXPECT_EQ(unreadable.palettes, (std::vector<PaletteDifference>{{0, {}, true, false}}));
}

} // namespace
} // namespace zandrel::testing
