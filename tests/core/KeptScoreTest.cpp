// What a kept raw window's place says beyond its own evidence: its row, the windows it beat,
// the words at its ends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "scan/KeptScore.h"

namespace zandrel::testing {
namespace {

float LogOdds(double p) {
    return static_cast<float>(std::log(p / (1 - p)));
}

std::vector<std::uint8_t> LittleEndian(const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t w : words)
        bytes.insert(bytes.end(), {std::uint8_t(w & 0xFF), std::uint8_t(w >> 8)});
    return bytes;
}

// Words 0-47: a row of three kept windows (0, 16, 32) headed by a word of 3 and pointed at;
// rivals at 2 and 18; then a 16-bit count at 48 and a window 2 bytes off the boundary at 49
// whose last four words are unused, followed by a zero. Chances of rows: 0.45, 0.7, 0.8.
// Pointers at words 70-75: to the first row, 6 bytes after its end, and to the end of the
// window at 49.
TEST(KeptScore, ARowAndTheWindowsItBeatSayWhereTheTableLies) {
    std::vector<std::uint16_t> words(76);
    for (std::size_t w = 0; w < words.size(); ++w)
        words[w] = static_cast<std::uint16_t>(0x2345 + 3 * w); // no two alike
    for (const std::size_t w : {0, 16, 32})
        words[w] = 3; // the same small colour 0, which also heads the row
    words[15] = words[31] = 0x1234;
    words[48] = 0x10;
    for (std::size_t w = 61; w <= 65; ++w)
        words[w] = 0;
    words[70] = 0x0000, words[71] = 0x0800; // a ROM pointer to offset 0
    words[72] = 2 * 48 + 6, words[73] = 0x0800;
    words[74] = 2 * 65, words[75] = 0x0800;
    const std::vector<std::uint8_t> bytes = LittleEndian(words);
    const scan::RomView rom(bytes);
    const scan::AlignedWords aligned(bytes);
    const std::vector<scan::ScoredWindow> kept = {
        {0, 0.45, true}, {16, 0.7, false}, {32, 0.8, false}, {49, 0.4, true}};
    const std::vector<scan::ScoredWindow> scored = {{0, 0.45, true},  {2, 0.3, false},
                                                    {16, 0.7, false}, {18, 0.9, false},
                                                    {32, 0.8, false}, {49, 0.4, true}};
    const auto e = scan::KeptEvidenceOf(rom, aligned, scored, kept);
    ASSERT_EQ(e.size(), kept.size());
    const struct {
        std::size_t window;
        scan::KeptEvidence evidence;
        float value;
    } cases[] = {
        {0, scan::kOwnLogit, LogOdds(0.45)},
        {0, scan::kRowLength, std::log2(3.0f)},
        {0, scan::kRowFirst, 1},
        {1, scan::kRowFirst, 0},
        {2, scan::kRowLast, 1},
        {1, scan::kRowLast, 0},
        {3, scan::kRowLength, 0},
        {0, scan::kRowOthers, (LogOdds(0.7) + LogOdds(0.8)) / 2},
        {3, scan::kRowOthers, 0},
        {2, scan::kKeptJustAfter, 1}, // the window at 49 starts a word after its end
        {1, scan::kKeptJustAfter, 0}, // the next of its row starts at its end
        {3, scan::kKeptJustBefore, 1},
        {1, scan::kKeptJustBefore, 0},
        {0, scan::kKeptPointed, 1},
        {1, scan::kKeptPointed, 0},
        {2, scan::kRowPointed, 1},
        {3, scan::kRowPointed, 0},
        {0, scan::kRivalLogit, LogOdds(0.3)},
        {1, scan::kRivalAbove, LogOdds(0.9) - LogOdds(0.7)},
        {2, scan::kRivalLogit, LogOdds(0.9)}, // the window at 18 reaches into it
        {3, scan::kRivalLogit, -6},           // no window overlaps it
        {0, scan::kKeptAligned, 1},
        {3, scan::kKeptAligned, 0},
        {3, scan::kKeptAfterCount, 1},
        {2, scan::kKeptAfterCount, 0},
        {0, scan::kRowLikely, 2.0f / 3},
        {3, scan::kRowLikely, 0},
        {3, scan::kZeroFirst, 0},
        {3, scan::kZeroSlots, 4.0f / 16},
        {3, scan::kZeroLast, 1},
        {3, scan::kZeroAfterIt, 1},
        {2, scan::kZeroAfterIt, 0},
        {3, scan::kZeroBeforeIt, 0},
        {2, scan::kSameFirst, 1}, // colour 0 of the window 32 bytes before
        {3, scan::kSameFirst, 0},
        {0, scan::kSameLast, 1}, // 0x1234 32 bytes after
        {1, scan::kSameLast, 1}, // and before
        {2, scan::kSameLast, 0},
        {3, scan::kSameLast, 0}, // zeros are no colour
        {1, scan::kRowHeadSmall, 1},
        {3, scan::kRowHeadSmall, 0},
        {3, scan::kRowEndPointed, 1},
        {3, scan::kRowEndNear, 0}, // the pointer to its end is no near one
        {1, scan::kRowEndPointed, 0},
        {1, scan::kRowEndNear, 1},
        {1, scan::kCountCrossed, 1}, // colour 0 of 3 on a 4-byte boundary
        {3, scan::kCountCrossed, 0}, // off the boundary
        {2, scan::kRowRivalAbove,
         (LogOdds(0.3) - LogOdds(0.45) + LogOdds(0.9) - LogOdds(0.7) + LogOdds(0.9) -
          LogOdds(0.8)) /
             3},
        {3, scan::kRowRivalAbove, -6 - LogOdds(0.4)},
        {0, scan::kRowSameFirst, 1},
        {0, scan::kRowSameLast, 0.5f}, // 0x1234 ends the first two, not the third
        {3, scan::kRowSameFirst, 0},
        {0, scan::kRowHeadGap, 0},  // the file starts there
        {0, scan::kRowTailGap, 13}, // the count and the words up to the zero at 61
        {3, scan::kRowHeadGap, 16}, // at most 16
        {3, scan::kRowTailGap, 0},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(e[c.window][c.evidence], c.value) << c.window << " " << c.evidence;
}

// Both sides of the limits: a count of palettes is 1 to 16, carried along its row, and a
// pointer 8 bytes after a row is no longer near it. Rows: 0 and 16, then 48, then 80, then one
// 2 bytes off a 4-byte boundary that ends the file.
TEST(KeptScore, ACountIsOneToSixteenAndANearPointerSixBytesAway) {
    std::vector<std::uint16_t> words(127);
    for (std::size_t w = 0; w < words.size(); ++w)
        words[w] = static_cast<std::uint16_t>(0x2345 + 3 * w);
    words[0] = 16, words[48] = 17, words[80] = 0;
    words[32] = 2 * 32 + 8, words[33] = 0x0800; // 8 bytes after the first row
    words[34] = 2 * 64 + 6, words[35] = 0x0800; // 6 bytes after the second
    const std::vector<std::uint8_t> bytes = LittleEndian(words);
    const std::vector<scan::ScoredWindow> kept = {
        {0, 0.6, true}, {16, 0.6, false}, {48, 0.6, false}, {80, 0.6, false}, {111, 0.6, true}};
    const auto e =
        scan::KeptEvidenceOf(scan::RomView(bytes), scan::AlignedWords(bytes), kept, kept);
    EXPECT_EQ(e[1][scan::kCountCrossed], 1); // the count of 16 heads its row
    EXPECT_EQ(e[2][scan::kCountCrossed], 0);
    EXPECT_EQ(e[3][scan::kCountCrossed], 0);
    EXPECT_EQ(e[1][scan::kRowEndNear], 0);
    EXPECT_EQ(e[2][scan::kRowEndNear], 1);
    EXPECT_EQ(e[4][scan::kRowEndPointed] + e[4][scan::kRowEndNear], 0);
}

// The ends of a window: colours within kJoins of the word beyond them, zeros that join nothing,
// and a row headed by a ROM pointer. The words around are far apart (31 in red or blue).
// Rows: 0, 16 and 32 (headed by a pointer), then 40, 66, 90, 120, 138 and 157 alone.
TEST(KeptScore, AWindowWhoseColoursRunOnAcrossAnEndIsAWordOff) {
    std::vector<std::uint16_t> words(176);
    for (std::size_t w = 0; w < words.size(); ++w)
        words[w] = static_cast<std::uint16_t>(w % 2 == 0 ? 0x001F | (w & 15) << 10
                                                         : 0x7C00 | (w & 15) << 5);
    words[0] = 0x0040, words[1] = 0x0800;   // a pointer into the file
    words[15] = 0x0421, words[16] = 0x0C63; // 2 apart
    words[39] = 0x0421, words[40] = 0x1084; // 3 apart
    words[42] = 0x0040, words[43] = 0x0800; // a pointer, but not at the head of its row
    words[65] = 0x0421, words[66] = 0x14A5; // 4 apart
    words[89] = 0, words[90] = 0x0421, words[105] = 0x0421, words[106] = 0;
    words[120] = 0x0160, words[121] = 0x0800; // just past the end of the file
    words[138] = 0x015E, words[139] = 0x0800; // its last word
    words[157] = 0x0040, words[158] = 0x0800; // off a 4-byte boundary
    const std::vector<std::uint8_t> bytes = LittleEndian(words);
    std::vector<scan::ScoredWindow> kept;
    for (const std::size_t w : {0, 16, 32, 40, 66, 90, 120, 138, 157})
        kept.push_back({w, 0.6, false});
    const auto e =
        scan::KeptEvidenceOf(scan::RomView(bytes), scan::AlignedWords(bytes), kept, kept);
    const struct {
        std::size_t window;
        scan::KeptEvidence evidence;
        float value;
    } cases[] = {
        {0, scan::kEndsJoin, 2},           {1, scan::kEndsJoin, 2},
        {2, scan::kEndsJoin, 31},          {3, scan::kEndsJoin, 3},
        {4, scan::kEndsJoin, 4},           {5, scan::kEndsJoin, kNoJoin},
        {2, scan::kRowEndsJoin, 2.0f / 3}, {3, scan::kRowEndsJoin, 1},
        {4, scan::kRowEndsJoin, 0},        {2, scan::kRowHeadPointer, 1},
        {3, scan::kRowHeadPointer, 0},     {6, scan::kRowHeadPointer, 0},
        {7, scan::kRowHeadPointer, 1},     {8, scan::kRowHeadPointer, 0},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(e[c.window][c.evidence], c.value) << c.window << " " << c.evidence;
}

// The colour words beyond a row's ends stop at a word with bit 15 set, at a zero and at the end
// of the file. Rows: 20 alone, 60 alone, then the file ends 3 words after it.
TEST(KeptScore, TheColoursOutsideARowStopAtAWordThatIsNoColour) {
    std::vector<std::uint16_t> words(79, 0x0421);
    words[4] = 0x8000, words[38] = 0;
    const std::vector<std::uint8_t> bytes = LittleEndian(words);
    const std::vector<scan::ScoredWindow> kept = {{20, 0.6, false}, {60, 0.6, false}};
    const auto e =
        scan::KeptEvidenceOf(scan::RomView(bytes), scan::AlignedWords(bytes), kept, kept);
    EXPECT_EQ(e[0][scan::kRowHeadGap], 15);
    EXPECT_EQ(e[0][scan::kRowTailGap], 2);
    EXPECT_EQ(e[1][scan::kRowHeadGap], 16);
    EXPECT_EQ(e[1][scan::kRowTailGap], 3);
}

} // namespace
} // namespace zandrel::testing
