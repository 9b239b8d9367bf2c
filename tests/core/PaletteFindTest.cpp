// Finding a palette seen elsewhere: where it is looked for, how close counts, and the order
// and bound of what is found.
#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"
#include "rom/PaletteIO.h"
#include "scan/PaletteFind.h"
#include "util/SharedWork.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr PaletteWords16 kWanted = {0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x1234, 0x2345, 0x3456,
                                    0x4567, 0x5678, 0x6789, 0x789A, 0x0ABC, 0x1BCD, 0x2CDE, 0x3DEF};

Bytes PaletteBytes(PaletteWords16 words) {
    return WordsToBytes(words);
}

PaletteWords16 Changed(int index, ColorWord word) {
    PaletteWords16 words = kWanted;
    words[index] = word;
    return words;
}

PaletteLocation Raw(std::uint32_t at) {
    return {at, false, 0};
}

TEST(PaletteFind, RawPlacesAreTwoByteAlignedAndBit15IsIgnored) {
    PaletteWords16 marked = kWanted;
    for (ColorWord& word : marked)
        word |= 0x8000;
    Bytes rom(0x400, 0xFF);
    rom = With(rom, 0x102, PaletteBytes(marked));
    rom = With(rom, 0x201, PaletteBytes(kWanted));      // odd: no colour starts there
    rom = With(rom, 0x400 - 32, PaletteBytes(kWanted)); // ends with the file
    const FindResult result = FindPalette(rom, kWanted);
    EXPECT_EQ(result.matches, (std::vector<PaletteMatch>{{Raw(0x102), 0, 0}, {Raw(0x3E0), 0, 0}}));
}

// The raw places are searched a part at a time on the machine's threads: a palette across the
// end of a part is found once, like those on either side of it and one at the start of a part.
TEST(PaletteFind, APaletteAcrossTheEndOfAPartIsFoundOnce) {
    constexpr auto kPart = static_cast<std::uint32_t>(kSharedPartBytes);
    Bytes rom(2 * kPart + 0x100, 0xFF);
    for (const std::uint32_t at : {kPart - 64, kPart - 16, 2 * kPart, 2 * kPart + 0x100 - 32})
        rom = With(rom, at, PaletteBytes(kWanted));
    const FindResult result = FindPalette(rom, kWanted);
    EXPECT_EQ(result.found, 4u);
    EXPECT_EQ(result.matches, (std::vector<PaletteMatch>{{Raw(kPart - 64), 0, 0},
                                                         {Raw(kPart - 16), 0, 0},
                                                         {Raw(2 * kPart), 0, 0},
                                                         {Raw(2 * kPart + 0x100 - 32), 0, 0}}));
}

// Each case: what lies in the file, the options, and the match expected (or none).
TEST(PaletteFind, ToleranceColoursAndSkipFirstDecideWhatMatches) {
    const struct {
        PaletteWords16 stored;
        FindOptions options;
        std::optional<PaletteMatch> expected;
    } cases[] = {
        {Changed(3, 0x03E0 + 2), {1, 16, false}, std::nullopt}, // red 2 steps off
        {Changed(3, 0x03E0 + 2), {2, 16, false}, {{Raw(0), 2, 1}}},
        {Changed(4, 0x7C00 - (3 << 10)), {2, 16, false}, std::nullopt}, // blue 3 down
        {Changed(4, 0x7C00 - (3 << 10)), {3, 16, false}, {{Raw(0), 3, 1}}},
        {Changed(15, 0), {0, 16, false}, std::nullopt},     // the last colour counts
        {Changed(15, 0), {0, 15, false}, {{Raw(0), 0, 0}}}, // only 15 compared
        {Changed(0, 0x7FFF), {0, 16, false}, std::nullopt},
        {Changed(0, 0x7FFF), {0, 16, true}, {{Raw(0), 0, 0}}},
        {Changed(0, 0x7FFF), {31, 16, false}, {{Raw(0), 31, 1}}},
        {kWanted, {0, 1, true}, std::nullopt}, // no colour left to compare
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const FindResult result = FindPalette(PaletteBytes(c.stored), kWanted, c.options);
        EXPECT_EQ(result.matches.empty() ? std::nullopt : std::optional(result.matches[0]),
                  c.expected);
    }
}

// Blocks are found at 4-byte aligned headers, searched at even bytes up to the last a location
// names (+FFFE), and counted.
TEST(PaletteFind, DecompressedBlocksAreSearchedUpToTheLastByteALocationNames) {
    Bytes data(0x10000 + 64, 0xEE);
    data = With(data, 0x20, PaletteBytes(kWanted));
    data = With(data, 0xFFFE, PaletteBytes(kWanted));
    data = With(data, 0x10020, PaletteBytes(kWanted)); // past +FFFF
    Bytes rom(0x14000, 0xFF);
    rom = With(rom, 0x10, LiteralLz77(data));
    const FindResult result = FindPalette(rom, kWanted);
    ASSERT_EQ(result.blocks, 1u);
    EXPECT_EQ(result.matches, (std::vector<PaletteMatch>{{{0x10, true, 0x20}, 0, 0},
                                                         {{0x10, true, 0xFFFE}, 0, 0}}));
}

TEST(PaletteFind, ExactBeforeNearFewestStepsFirstThenFileOrder) {
    Bytes rom(0x200, 0xFF);
    rom = With(rom, 0x000, PaletteBytes(Changed(5, 0x1234 + 3)));
    rom = With(rom, 0x040, PaletteBytes(Changed(5, 0x1234 + 1)));
    rom = With(rom, 0x080, PaletteBytes(kWanted));
    rom = With(rom, 0x0C0, PaletteBytes([] {
                   PaletteWords16 two = Changed(5, 0x1234 + 1);
                   two[6] += 1;
                   return two;
               }()));
    rom = With(rom, 0x100, PaletteBytes(kWanted));
    const FindResult result = FindPalette(rom, kWanted, {3, 16, false});
    EXPECT_EQ(result.matches, (std::vector<PaletteMatch>{{Raw(0x80), 0, 0},
                                                         {Raw(0x100), 0, 0},
                                                         {Raw(0x40), 1, 1},
                                                         {Raw(0xC0), 1, 2},
                                                         {Raw(0), 3, 1}}));
}

// A file that matches everywhere keeps the best kMostMatches, in file order, and counts all.
TEST(PaletteFind, MatchesEverywhereKeepTheFirstOnesThatADefinitionFileHolds) {
    const PaletteWords16 zeros{};
    const Bytes rom(4 * kMostMatches * 2 + 30, 0);
    const FindResult result = FindPalette(rom, zeros);
    EXPECT_EQ(result.found, 4 * kMostMatches);
    ASSERT_EQ(result.matches.size(), kMostMatches);
    EXPECT_EQ(result.matches.front().where, Raw(0));
    EXPECT_EQ(result.matches.back().where, Raw(2 * (kMostMatches - 1)));
}

TEST(PaletteFind, MatchNamesSayHowClose) {
    EXPECT_EQ(MatchName({Raw(0), 0, 0}), "exata");
    EXPECT_EQ(MatchName({Raw(0), 1, 1}), "próxima: 1 cor a até 1 passo");
    EXPECT_EQ(MatchName({Raw(0), 4, 3}), "próxima: 3 cores a até 4 passos");
}

} // namespace
} // namespace zandrel::testing
