#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rom/CompressedPalette.h"
#include "rom/Lz77.h"

using namespace zandrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// Streams made by the independent encoder of tools/make_synthetic_rom.py.
// Two palettes (64 bytes), all literals: 76 bytes, no padding.
const Bytes kTwoPalettes = FromHex(
    "0000841CE62C483DE0030E62B2724108C4186829EB396E4A007C410C0535CA610000A2086411471E0B2F40041F"
    "001F00EE4B4410AB3033511B76E318673ED16B");
const Bytes kTwoPalettesStream = FromHex(
    "10400000000000841CE62C483D00E0030E62B272410800C4186829EB396E4A00007C410C0535CA61000000A208"
    "6411471E000B2F40041F001F0000EE4B4410AB303351001B76E318673ED16B");
// 00..0F three times, then "ZANDREL" five times (83 bytes): 39 bytes and one of padding.
const Bytes kRepeatsStream =
    FromHex("105300000000010203040506070008090A0B0C0D0E0FC0F00FB00F5A414E445245604CF006700600");

Bytes Repeats() {
    Bytes data;
    for (int k = 0; k < 3; ++k)
        for (std::uint8_t b = 0; b < 16; ++b)
            data.push_back(b);
    for (int k = 0; k < 5; ++k)
        for (const char c : std::string("ZANDREL"))
            data.push_back(static_cast<std::uint8_t>(c));
    return data;
}

// Every back-reference's displacement in a stream (which must decompress).
std::vector<int> Displacements(const Bytes& stream) {
    std::vector<int> found;
    const std::size_t size = stream[1] | stream[2] << 8 | stream[3] << 16;
    std::size_t in = 4, out = 0;
    while (out < size) {
        const std::uint8_t flags = stream[in++];
        for (int bit = 0; bit < 8 && out < size; ++bit) {
            if ((flags & (0x80 >> bit)) == 0) {
                ++in, ++out;
                continue;
            }
            found.push_back(((stream[in] & 0x0F) << 8 | stream[in + 1]) + 1);
            out += (stream[in] >> 4) + 3;
            in += 2;
        }
    }
    return found;
}

} // namespace

TEST(Lz77, DecompressesTheIndependentEncodersStreamsAndTellsTheirLength) {
    const Lz77Block palettes = DecompressLz77(kTwoPalettesStream, 0);
    ASSERT_TRUE(palettes.ok());
    EXPECT_EQ(palettes.data, kTwoPalettes);
    EXPECT_EQ(palettes.streamLength, 76u);

    // At an offset inside a larger file, the padding and what follows not counted.
    Bytes file = {0xAA, 0xBB, 0xCC, 0xDD};
    file.insert(file.end(), kRepeatsStream.begin(), kRepeatsStream.end());
    file.push_back(0x10);
    const Lz77Block repeats = DecompressLz77(file, 4);
    ASSERT_TRUE(repeats.ok());
    EXPECT_EQ(repeats.data, Repeats());
    EXPECT_EQ(repeats.streamLength, 39u);
}

TEST(Lz77, CompressionRoundTripsNoLongerThanTheGreedyEncoderAndPadsToFourBytes) {
    for (const Bytes& data : {kTwoPalettes, Repeats()}) {
        const Bytes stream = CompressLz77(data);
        EXPECT_EQ(stream.size() % 4, 0u);
        const Lz77Block back = DecompressLz77(stream, 0);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.data, data);
    }
    EXPECT_LE(CompressLz77(Repeats()).size(), kRepeatsStream.size());
    // A hand-made vector: "ABC" and one reference of 7 bytes, 3 back.
    EXPECT_EQ(CompressLz77(Bytes{'A', 'B', 'C', 'A', 'B', 'C', 'A', 'B', 'C', 'A'}),
              FromHex("100A0000104142434002"
                      "0000"));
    EXPECT_EQ(CompressLz77(Bytes{}), FromHex("10000000"));
}

TEST(Lz77, CompressedStreamsAreVramSafe) {
    // A run of one byte invites displacement 1, which VRAM's 16-bit writes would corrupt.
    for (const std::size_t length : {2u, 3u, 19u, 300u, 5000u}) {
        const Bytes run(length, 0x42);
        const Bytes stream = CompressLz77(run);
        ASSERT_EQ(DecompressLz77(stream, 0).data, run) << length;
        for (const int displacement : Displacements(stream))
            EXPECT_GE(displacement, 2) << length;
    }
}

TEST(Lz77, HostileStreamsAreRefusedWithTheirReason) {
    struct Case {
        const char* what;
        Bytes file;
        std::size_t offset;
        Lz77Error error;
    };
    const Case cases[] = {
        {"another header", FromHex("11200000000102"), 0, Lz77Error::NotLz77},
        {"offset past the end", FromHex("10040000"), 4, Lz77Error::NotLz77},
        {"header cut short", FromHex("102000"), 0, Lz77Error::Truncated},
        {"size past the file", FromHex("10FFFFFF00414243"), 0, Lz77Error::Truncated},
        {"literals run out", FromHex("1004000000414243"), 0, Lz77Error::Truncated},
        {"reference cut in half", FromHex("1008000020414243"), 0, Lz77Error::Truncated},
        {"reference before the start", FromHex("1004000080000000"), 0, Lz77Error::BeforeStart},
        {"reference 3 back after 2 bytes", FromHex("10060000204142000200"), 0,
         Lz77Error::BeforeStart},
    };
    for (const Case& c : cases) {
        const Lz77Block block = DecompressLz77(c.file, c.offset);
        EXPECT_EQ(block.error, c.error) << c.what;
        EXPECT_TRUE(block.data.empty()) << c.what;
    }
    // A last reference running past the declared size stops there: 5 bytes, not 6.
    const Lz77Block cut = DecompressLz77(FromHex("10050000104142432002"), 0);
    ASSERT_TRUE(cut.ok());
    EXPECT_EQ(cut.data, (Bytes{'A', 'B', 'C', 'A', 'B'}));
}

TEST(CompressedPalette, ReadsWordsAtAnOffsetOfTheBlockAndRefusesOutsideIt) {
    Bytes file(8, 0xEE);
    file.insert(file.end(), kTwoPalettesStream.begin(), kTwoPalettesStream.end());
    const BlockPaletteRead second = ReadBlockPalette(file, 8, 0x20, 16);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.words.front(), 0x0000);
    EXPECT_EQ(second.words[1], 0x08A2);
    EXPECT_EQ(second.words.back(), 0x6BD1);

    EXPECT_EQ(ReadBlockPalette(file, 8, 0x22, 16).error, BlockPaletteError::OutsideBlock);
    EXPECT_EQ(ReadBlockPalette(file, 8, 0x21, 1).error, BlockPaletteError::OutsideBlock);
    const BlockPaletteRead bad = ReadBlockPalette(file, 0, 0, 16);
    EXPECT_EQ(bad.error, BlockPaletteError::BadBlock);
    EXPECT_EQ(bad.blockError, Lz77Error::NotLz77);
}

TEST(CompressedPalette, APatchThatFitsGivesExactlyTheNewStreamAndOneThatDoesNotGivesBothSizes) {
    std::vector<ColorWord> words(16);
    for (int i = 0; i < 16; ++i)
        words[i] = static_cast<ColorWord>(0x8000 | (i * 0x0421)); // bit 15 is written as 0
    const BlockPaletteWrite fits = PatchBlockPalette(kTwoPalettesStream, 0, 0x20, words);
    ASSERT_TRUE(fits.ok()); // as long as the original, to the byte: that still fits
    EXPECT_EQ(fits.newLength, 76u);
    EXPECT_EQ(fits.originalLength, 76u);
    EXPECT_EQ(fits.stream.size(), fits.newLength);
    Bytes expected = kTwoPalettes;
    for (int i = 0; i < 16; ++i) {
        expected[0x20 + 2 * i] = static_cast<std::uint8_t>(i * 0x0421);
        expected[0x21 + 2 * i] = static_cast<std::uint8_t>(i * 0x0421 >> 8);
    }
    EXPECT_EQ(DecompressLz77(fits.stream, 0).data, expected);

    // The repeats compress to 39 bytes; sixteen unrelated colours in them cannot.
    const BlockPaletteWrite tooLong = PatchBlockPalette(kRepeatsStream, 0, 0, words);
    EXPECT_EQ(tooLong.error, BlockPaletteError::DoesNotFit);
    EXPECT_EQ(tooLong.originalLength, 39u);
    EXPECT_GT(tooLong.newLength, 39u);
    EXPECT_TRUE(tooLong.stream.empty());
}
