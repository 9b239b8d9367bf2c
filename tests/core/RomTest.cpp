// Palettes inside a ROM: LZ77, compressed palettes in place, row locations, the scanner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "TempDir.h"
#include "rom/CompressedPalette.h"
#include "rom/Lz77.h"
#include "rom/Lz77Encoder.h"
#include "rom/PaletteAccess.h"
#include "rom/PaletteIO.h"
#include "rom/PaletteLocation.h"
#include "scan/CompressedCandidates.h"
#include "scan/Overlaps.h"
#include "scan/PaletteScanner.h"
#include "scan/PaletteScore.h"
#include "scan/RawCandidates.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

void Put(Bytes& file, std::size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Made by the independent encoder of tools/make_synthetic_rom.py (literals; references).
const Bytes kTwoPalettes = FromHex(
    "0000841CE62C483DE0030E62B2724108C4186829EB396E4A007C410C0535CA610000A2086411471E0B2F40041F"
    "001F00EE4B4410AB3033511B76E318673ED16B");
const Bytes kTwoPalettesStream = FromHex(
    "10400000000000841CE62C483D00E0030E62B272410800C4186829EB396E4A00007C410C0535CA61000000A208"
    "6411471E000B2F40041F001F0000EE4B4410AB303351001B76E318673ED16B");
const Bytes kRepeatsStream =
    FromHex("105300000000010203040506070008090A0B0C0D0E0FC0F00FB00F5A414E445245604CF006700600");
const Bytes kRepeats = FromHex(
    "000102030405060708090A0B0C0D0E0F000102030405060708090A0B0C0D0E0F000102030405060708090A0B0C"
    "0D0E0F5A414E4452454C5A414E4452454C5A414E4452454C5A414E4452454C5A414E4452454C");

Bytes Noise(std::size_t size) {
    Bytes bytes(size);
    std::uint32_t seed = 12345;
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    return bytes;
}

TEST(Lz77, IndependentStreamsDecompressAndEveryInputRoundTrips) {
    const Lz77Block palettes = DecompressLz77(kTwoPalettesStream, 0);
    EXPECT_EQ(palettes.data, kTwoPalettes);
    EXPECT_EQ(palettes.streamLength, 76u);
    const Lz77Block repeats = DecompressLz77(Cat(Cat({0xAA, 0xBB}, kRepeatsStream), {0x10}), 2);
    EXPECT_EQ(repeats.data, kRepeats);
    EXPECT_EQ(repeats.streamLength, 39u);
    // Its start comes again 4097 bytes on, just out of the window's reach.
    const Bytes noise = Noise(4097);
    const Bytes farRepeat = Cat(noise, Bytes(noise.begin(), noise.begin() + 18));
    for (const Bytes& data : {kTwoPalettes, kRepeats, Bytes(5000, 0x42), farRepeat}) {
        const Bytes stream = CompressLz77(data);
        EXPECT_EQ(stream.size() % 4, 0u);
        EXPECT_EQ(DecompressLz77(stream, 0).data, data);
    }
    EXPECT_EQ(CompressLz77(Bytes{'A', 'B', 'C', 'A', 'B', 'C', 'A', 'B', 'C', 'A'}),
              FromHex("100A00001041424340020000")); // "ABC", then 7 bytes from 3 back
    // Displacement 1 would corrupt VRAM's 16-bit writes: two literals, 17 bytes from 2 back.
    EXPECT_EQ(CompressLz77(Bytes(19, 0x42)), FromHex("10130000204242E001000000"));
    EXPECT_EQ(CompressLz77(Bytes{}), FromHex("10000000"));
}

// The bytes a stream's decompression consumes, or 0 when it is not one the BIOS writes to
// VRAM whole: a reference of displacement 1 or one running past the declared size.
std::size_t VramSafeLength(const Bytes& stream, const Bytes& data) {
    std::size_t in = 4;
    Bytes out;
    for (std::uint8_t flags = 0, block = 0; out.size() < data.size(); flags <<= 1, ++block) {
        if (block % 8 == 0)
            flags = stream.at(in++);
        if ((flags & 0x80) == 0) {
            out.push_back(stream.at(in++));
            continue;
        }
        const std::size_t length = (stream.at(in) >> 4) + 3u;
        const std::size_t back = ((stream.at(in) & 0xF) << 8 | stream.at(in + 1)) + 1u;
        in += 2;
        if (back < 2 || back > out.size() || out.size() + length > data.size())
            return 0;
        for (std::size_t k = 0; k < length; ++k)
            out.push_back(out[out.size() - back]);
    }
    return out == data && stream.size() == in ? in : 0;
}

// Every length a stream of `data` can take, from every parse into literals and references.
std::set<std::size_t> StreamLengths(const Bytes& data) {
    std::vector<std::set<std::size_t>> bits(data.size() + 1);
    bits[data.size()] = {0};
    for (std::size_t i = data.size(); i-- > 0;) {
        for (const std::size_t rest : bits[i + 1])
            bits[i].insert(rest + 9);
        for (std::size_t length = 3; length <= 18 && i + length <= data.size(); ++length)
            for (std::size_t back = 2; back <= i; ++back)
                if (std::equal(data.begin() + i, data.begin() + i + length,
                               data.begin() + i - back)) {
                    for (const std::size_t rest : bits[i + length])
                        bits[i].insert(rest + 17);
                    break;
                }
    }
    std::set<std::size_t> lengths;
    for (const std::size_t b : bits[0])
        lengths.insert(4 + (b + 7) / 8);
    return lengths;
}

// For every room: the longest stream any parse gives within it (the room itself whenever one
// does), the shortest as the measure of a refusal.
TEST(Lz77, AStreamTakesTheWholeRoomWhenAnyParseDoes) {
    std::uint32_t seed = 7;
    for (int trial = 0; trial < 300; ++trial) {
        Bytes data(static_cast<std::size_t>(trial) % 41);
        for (std::uint8_t& b : data)
            b = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16) %
                (1 + trial % 4);
        const std::set<std::size_t> lengths = StreamLengths(data);
        for (std::size_t room = *lengths.begin() - 1; room <= *lengths.rbegin() + 1; ++room) {
            const Lz77Fit fit = CompressLz77ToFit(data, room);
            EXPECT_EQ(fit.shortest, *lengths.begin());
            const std::size_t longest = room < fit.shortest ? 0 : *--lengths.upper_bound(room);
            EXPECT_EQ(fit.stream.empty() ? 0 : VramSafeLength(fit.stream, data), longest)
                << trial << " " << room;
        }
        const Bytes padded = CompressLz77(data);
        ASSERT_GE(padded.size(), *lengths.begin());
        EXPECT_EQ(VramSafeLength({padded.begin(), padded.begin() + *lengths.begin()}, data),
                  *lengths.begin());
    }
    // Before the last KiB of longer data, references are kept, shortened or made literals.
    Bytes data = Noise(3000);
    for (std::uint8_t& b : data)
        b %= 4;
    const std::size_t shortest = CompressLz77ToFit(data, 0).shortest;
    const std::size_t literals = 4 + 3000 + 375;
    for (const std::size_t room : {shortest + 1, (shortest + literals) / 2, literals - 9})
        EXPECT_EQ(VramSafeLength(CompressLz77ToFit(data, room).stream, data), room) << room;
}

TEST(Lz77, HostileStreamsAreRefusedWithTheirReason) {
    const std::tuple<const char*, std::size_t, Lz77Error> cases[] = {
        {"11200000000102", 0, Lz77Error::NotLz77},
        {"1008000020414243", 0, Lz77Error::Truncated},
        {"1004000080000000", 0, Lz77Error::BeforeStart}};
    for (const auto& [hex, offset, error] : cases) {
        const Lz77Block block = DecompressLz77(FromHex(hex), offset);
        EXPECT_EQ(block.error, error) << hex;
        EXPECT_TRUE(block.data.empty()) << hex;
    }
    // A last reference running past the declared size stops there.
    EXPECT_EQ(DecompressLz77(FromHex("10050000104142432002"), 0).data, FromHex("4142434142"));
}

// 32 pattern bytes from `from`, bit 15 of each word clear: they compress to literals.
Bytes Palette(std::size_t from) {
    Bytes bytes = PatternBytes(from + 32);
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(from));
    for (std::size_t i = 1; i < bytes.size(); i += 2)
        bytes[i] &= 0x7F;
    return bytes;
}

// Two unlike palettes at 40, one twice at 100 (a copy), a stream cut by the end at 1F8.
class CompressedFile : public ::testing::Test {
  protected:
    TempDir dir;
    const Bytes p = Palette(0x100), q = Palette(0x180);
    Bytes before = [this] {
        Bytes file = PatternBytes(0x200);
        Put(file, 0x40, CompressLz77(Cat(p, q)));
        Put(file, 0x100, CompressLz77(Cat(p, p)));
        Put(file, 0x1F8, {0x10, 0xFF, 0x00, 0x00, 0x00, 0x41, 0x42, 0x43});
        return file;
    }();
    std::string path = dir.Write("game.gba", before);
};

// The two palettes stored as literals (76 bytes) at 100: another palette and then the
// original one go in, each in exactly the block's room, and the file ends as it began.
TEST(CompressedRoom, EveryWriteTakesTheWholeRoomSoTheOriginalColoursAlwaysGoBack) {
    TempDir dir;
    Bytes before = PatternBytes(0x200);
    Put(before, 0x100, kTwoPalettesStream);
    const std::string path = dir.Write("game.gba", before);
    const Bytes first(kTwoPalettes.begin(), kTwoPalettes.begin() + 32);
    const PaletteLocation second{0x100, true, 0x20};
    ASSERT_TRUE(WritePalette(path, second, BytesToWords(first, 16)).ok());
    Bytes after = ReadBytes(path);
    const Lz77Block block = DecompressLz77(after, 0x100);
    EXPECT_EQ(block.data, Cat(first, first));
    EXPECT_EQ(block.streamLength, 76u);
    EXPECT_LT(CompressLz77ToFit(block.data, 0).shortest, 50u);
    Put(after, 0x100, kTwoPalettesStream); // nothing outside the room changed
    EXPECT_EQ(after, before);

    const Bytes last(kTwoPalettes.begin() + 32, kTwoPalettes.end());
    ASSERT_TRUE(WritePalette(path, second, BytesToWords(last, 16)).ok());
    EXPECT_EQ(ReadBytes(path), before);
}

// Words 5 and 9 of a block's palette have bit 15 set: a write changes only the words it
// sets (with bit 15 as 0), and a word set to its value writes nothing. The first block starts
// at the file's first byte.
TEST(CompressedRoom, AChangeWritesOnlyTheWordsItSets) {
    Bytes data = Palette(0x100);
    data[11] |= 0x80;
    data[19] |= 0x80;
    const Bytes stream = CompressLz77(data);
    const auto set = [&](std::size_t index, ColorWord word) {
        Bytes expected = data;
        expected[2 * index] = static_cast<std::uint8_t>(word);
        expected[2 * index + 1] = static_cast<std::uint8_t>(word >> 8);
        return std::pair{std::pair{index, word}, expected};
    };
    for (const auto& [change, expected] :
         {set(0, 0x7FFF), set(5, StoredWord(data, 10)), set(3, StoredWord(data, 6))}) {
        TempDir dir;
        const std::size_t at = change.first == 0 ? 0 : 0x40;
        const std::string path =
            dir.Write("game.gba", Cat(Cat(Bytes(at, 0xEE), stream), Bytes(8, 0xEE)));
        const Bytes before = ReadBytes(path);
        ASSERT_TRUE(ChangeCompressedPalette(path, {static_cast<std::uint32_t>(at), true, 0}, 16,
                                            [&change](std::vector<ColorWord>& words) {
                                                words[change.first] = change.second;
                                            })
                        .ok());
        const Bytes after = ReadBytes(path);
        const Lz77Block block = DecompressLz77(after, at);
        EXPECT_EQ(block.data, expected) << change.first;
        EXPECT_EQ(block.streamLength, DecompressLz77(before, at).streamLength);
        EXPECT_EQ(Bytes(after.end() - 8, after.end()), Bytes(8, 0xEE));
        if (expected == data) {
            EXPECT_EQ(after, before);
        }
    }
}

TEST_F(CompressedFile, AWriteLongerThanTheRoomEvenAtItsShortestWritesNothing) {
    std::vector<ColorWord> words = BytesToWords(p, 16);
    words[3] = 0x001F; // the copy at 100 no longer compresses to two references
    const Failure failure = WritePalette(path, {0x100, true, 0x20}, words);
    const std::size_t room = DecompressLz77(before, 0x100).streamLength;
    ASSERT_GT(failure.length, static_cast<std::int64_t>(room));
    EXPECT_EQ(ErrorMessage(failure),
              "A paleta LZ:100+20 (hex) não cabe mais no seu bloco comprimido no arquivo \"" +
                  path + "\": recomprimido, o bloco precisa de " + std::to_string(failure.length) +
                  " bytes, e o espaço do bloco tem " + std::to_string(room) +
                  " bytes. Nada foi gravado.");
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(CompressedFile, HostileBlocksAreReportedAndNeitherReadNorWritten) {
    const std::string file = " do arquivo \"" + path + "\" não pode ser lido: ";
    const std::pair<PaletteLocation, std::string> cases[] = {
        {{0x200, true, 0}, "200" + file + "a localização fica fora do arquivo, que tem 512 bytes"},
        {{0x41, true, 0},
         "41" + file + "não há um cabeçalho LZ77 (o byte 10 hex) nessa localização"},
        {{0x1F8, true, 0}, "1F8" + file + "o arquivo termina antes do fim dos dados comprimidos"},
    };
    for (const auto& [where, message] : cases) {
        std::vector<ColorWord> words;
        EXPECT_EQ(ErrorMessage(ReadPalette(path, where, 16, words)),
                  "O bloco comprimido LZ77 na localização hex " + message + ". Nada foi gravado.");
        EXPECT_EQ(WritePalette(path, where, BytesToWords(p, 16)).result, Result::BadBlock);
    }
    EXPECT_EQ(ReadBlockPalette(before, 0x40, 0x21, 1).error, BlockPaletteError::OutsideBlock);
    Bytes bytes;
    EXPECT_EQ(ErrorMessage(ReadPaletteBytes(path, {0x40, true, 0x30}, 16, bytes)),
              "A paleta LZ:40+30 (hex; 32 bytes) não está dentro dos dados do seu bloco "
              "comprimido no arquivo \"" +
                  path + "\", que tem 64 bytes descomprimidos. Nada foi lido nem gravado.");
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(PaletteLocation, ParsesStrictHexAndTheCompressedFormAndRefusesTheRest) {
    const std::pair<const char*, std::optional<PaletteLocation>> cases[] = {
        {"1a0", PaletteLocation{0x1A0, false, 0}},
        {"7FFFFFFF", PaletteLocation{0x7FFFFFFF, false, 0}},
        {"LZ:3B8A8C+20", PaletteLocation{0x3B8A8C, true, 0x20}},
        {"LZ:0+FFFE", PaletteLocation{0, true, 0xFFFE}},
        {"0000001A0", PaletteLocation{0x1A0, false, 0}},
        {"00000000007FFFFFFF", PaletteLocation{0x7FFFFFFF, false, 0}},
        {"LZ:0000000003B8A8C+00020", PaletteLocation{0x3B8A8C, true, 0x20}},
    };
    for (const auto& [text, where] : cases)
        EXPECT_EQ(ParsePaletteLocation(text), where) << text;
    for (const char* text :
         {"", "80000000", "0000080000000", "0x1A0", "lz:3B8A8C", "LZ:3b8a8c", "LZ:3B8A8C+",
          "LZ:3B8A8C+21", "LZ:3B8A8C+10000", "LZ:3B8A8C+0010000", "LZ:80000000", "LZ:0080000000"})
        EXPECT_EQ(ParsePaletteLocation(text), std::nullopt) << text;
}

// The locations found, in order.
std::string Found(const std::vector<PaletteCandidate>& candidates) {
    std::vector<std::string> texts;
    for (const PaletteCandidate& c : candidates)
        texts.push_back(PaletteLocationText(c.where) + " ");
    std::sort(texts.begin(), texts.end());
    return std::accumulate(texts.begin(), texts.end(), std::string());
}

// The evidence of the raw window at `at`, if it is judged.
std::optional<EvidenceValues> RawEvidenceAt(const Bytes& rom, std::size_t at) {
    std::optional<EvidenceValues> seen;
    scan::EachRawWindow(scan::RomView(rom), scan::AlignedWords(rom),
                        [&](std::size_t where, const EvidenceValues& e) {
                            if (where == at)
                                seen = e;
                        });
    return seen;
}

// Black, then one dark-to-light ramp of the hue (red, green, blue weights out of 4).
Bytes RampPalette(int red, int green, int blue) {
    Bytes bytes = {0, 0};
    for (int i = 1; i < 16; ++i) {
        const int word = (i * 2 * red / 4) | (i * 2 * green / 4) << 5 | (i * 2 * blue / 4) << 10;
        bytes.push_back(static_cast<std::uint8_t>(word));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
}

// Noise, palettes at 1000 and LZ:2000 pointed to from 8000, and text. Without the pointers
// the palettes are still found, and the raw ones' evidence no longer has them pointed.
TEST(PaletteScanner, FindsThePlantedPalettesAndNothingElseBestFirst) {
    Bytes rom = Noise(0x10000);
    Put(rom, 0x1000, Cat(RampPalette(4, 2, 1), RampPalette(1, 3, 4)));
    Put(rom, 0x2000, CompressLz77(Cat(RampPalette(4, 4, 1), RampPalette(2, 4, 2))));
    const std::string text = "Era uma vez um castelo no meio da floresta, e nele vivia um rei. ";
    Put(rom, 0x4000, Bytes(text.begin(), text.end()));
    Put(rom, 0x8000, {0x00, 0x10, 0x00, 0x08, 0x00, 0x20, 0x00, 0x08}); // 08001000, 08002000
    const auto all = ScanPalettes(rom);
    EXPECT_EQ(Found(all), "1000 1020 LZ:2000 LZ:2000+20 ");
    EXPECT_EQ(Found(ScanPalettes(rom, {kDefaultMinimumScore, true, false})), "1000 1020 ");
    const auto pointed = RawEvidenceAt(rom, 0x1000);
    Put(rom, 0x8000, Bytes(8, 0));
    EXPECT_EQ(Found(ScanPalettes(rom)), "1000 1020 LZ:2000 LZ:2000+20 ");
    const auto unpointed = RawEvidenceAt(rom, 0x1000);
    ASSERT_TRUE(pointed && unpointed);
    EXPECT_EQ((*pointed)[kPointed], 1);
    EXPECT_EQ((*unpointed)[kPointed], 0);
    EXPECT_EQ(CandidateName({{0x3B8A8C, true, 0x20}, 100}),
              "Paleta comprimida LZ77 3B8A8C+20 (pontuação 100)");
}

Bytes Words(const std::vector<int>& words) {
    Bytes bytes;
    for (const int w : words)
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
    return bytes;
}

// Palettes as games store them, judged as palettes rather than ramps, each planted alone at
// 1000 among noise with a pointer to it; and data that is not, planted the same way.
TEST(PaletteScanner, JudgesPalettesAsPalettesAndNumbersAsNumbers) {
    const std::pair<const char*, Bytes> palettes[] = {
        {"dark", Words({0, 0x0421, 0x0842, 0x0C63, 0x0443, 0x0825, 0x0C26, 0x1048, 0x0402, 0x0804,
                        0x0C06, 0x1008, 0x0020, 0x0041, 0x0062, 0x0083})},
        {"pale", Words({0x7FFF, 0x7BDE, 0x77BD, 0x6F7B, 0x7F9C, 0x7F5A, 0x7F18, 0x7EF7, 0x73FC,
                        0x6BFA, 0x63F8, 0x7FDC, 0x7FBA, 0x7F98, 0x7B9C, 0x777B})},
        {"three colours, unused slots", Cat(Words({0x7C1F, 0x0C63, 0x2D6B}), Bytes(26, 0))},
        {"EGA colours", Words({0, 0x5400, 0x02A0, 0x56A0, 0x0015, 0x5415, 0x0155, 0x56B5, 0x294A,
                               0x7D4A, 0x2BEA, 0x7FEA, 0x295F, 0x7D5F, 0x2BFF, 0x7FFF})},
    };
    for (const auto& [kind, words] : palettes) {
        Bytes rom = Noise(0x4000);
        Put(rom, 0x1000, words);
        Put(rom, 0x3000, {0x00, 0x10, 0x00, 0x08}); // 08001000
        EXPECT_EQ(Found(ScanPalettes(rom, {kDefaultMinimumScore, true, false})), "1000 ") << kind;
    }
    Bytes sine, tilemap;
    for (int k = 0; k < 64; ++k) {
        const int value = static_cast<int>(std::lround(0x1000 * std::sin(k * 3.14159 / 128)));
        sine.insert(sine.end(),
                    {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)});
        tilemap.insert(tilemap.end(), {static_cast<std::uint8_t>(k + 1),
                                       static_cast<std::uint8_t>(0x10 | (k % 8 == 7 ? 4 : 0))});
    }
    const std::string text = "Era uma vez um castelo no meio da floresta, e nele vivia um rei. ";
    for (const auto& [kind, data] : {std::pair{"sine", sine},
                                     {"tilemap", tilemap},
                                     {"text", Bytes(text.begin(), text.end())}}) {
        Bytes rom = Noise(0x4000);
        Put(rom, 0x1000, data);
        Put(rom, 0x3000, {0x00, 0x10, 0x00, 0x08});
        EXPECT_EQ(Found(ScanPalettes(rom)), "") << kind;
    }
}

// Words of up to 8 used slots whose every nibble is below their count are 4bpp pixels of those
// slots (sparse tiles read as colours), on both sides of each bound.
TEST(PaletteScanner, TakesFewSlotsOfLowNibblesForPixels) {
    const std::pair<std::vector<int>, float> cases[] = {
        {{0, 0x1110, 0, 0x1000}, 1},      // 4 slots, pixels 0 and 1
        {{0, 0x0421, 0x0842, 0x0C63}, 0}, // a nibble of 4 in 4 slots: colours
        {{0x7654, 0x3210, 0x1234, 0x5670, 0x0123, 0x4567, 0x7766, 0x5544},
         1}, // 8 slots, pixels 0 to 7
        {{0x7654, 0x3210, 0x1234, 0x5670, 0x0123, 0x4567, 0x7766, 0x5548}, 0},         // a pixel 8
        {{0x7654, 0x3210, 0x1234, 0x5670, 0x0123, 0x4567, 0x7766, 0x5544, 0x0001}, 0}, // 9 slots
    };
    for (const auto& [words, pixels] : cases) {
        Bytes rom(0x100, 0xFF);
        std::vector<int> padded = words;
        padded.resize(kPaletteColours, 0);
        Put(rom, 0x40, Words(padded));
        Put(rom, 0xF0, {0x40, 0x00, 0x00, 0x08}); // 08000040: judged whatever its counts
        const auto seen = RawEvidenceAt(rom, 0x40);
        ASSERT_TRUE(seen) << std::hex << words[1];
        EXPECT_EQ((*seen)[kSelfTiles], pixels) << std::hex << words[1];
    }
}

// Colour 0 or the last word within kJoins of the word beyond it in its run: a window a word off
// a palette's place; on both sides of the limit, at each end, and not past the run's ends (a
// word with bit 15 set).
TEST(PaletteScanner, AWindowWhoseEndRunsOnIntoItsRunJoinsIt) {
    const struct {
        int before, first, last, after;
        float joins;
    } cases[] = {
        {0x0421, 0x1084, 0x7C00, 0x001F, 1}, // colour 0 3 from the word before
        {0x0421, 0x14A5, 0x7C00, 0x001F, 0}, // 4
        {0x001F, 0x7C00, 0x0421, 0x1084, 1}, // the last word 3 from the word after
        {0x001F, 0x7C00, 0x0421, 0x14A5, 0}, // 4
        {0xFFFF, 0x7FFF, 0x7C00, 0x001F, 0}, // the word before ends the run
        {0x001F, 0x7C00, 0x7FFF, 0xFFFF, 0}, // the word after ends it
    };
    for (const auto& c : cases) {
        std::vector<int> words = {c.before, c.first};
        for (int k = 1; k < kPaletteColours - 1; ++k)
            words.push_back(k % 2 == 0 ? 0x03E0 + k : 0x7C00 + 32 * k);
        words.insert(words.end(), {c.last, c.after});
        Bytes rom(0x100, 0xFF);
        Put(rom, 0x3E, Words(words));
        Put(rom, 0xF0, {0x40, 0x00, 0x00, 0x08}); // 08000040: judged whatever its counts
        const auto seen = RawEvidenceAt(rom, 0x40);
        ASSERT_TRUE(seen) << std::hex << c.before << " " << c.after;
        EXPECT_EQ((*seen)[kEndJoins], c.joins) << std::hex << c.before << " " << c.after;
    }
}

// A table may start right after a ROM pointer on a 4-byte boundary, as at the start of a run:
// the windows whole palettes after the pointer are on a grid, up to sixteen palettes on; not
// after a pointer out of the file or off the boundary. The run starts at 100, so that its own
// grid is 4 bytes off the pointer's.
TEST(PaletteScanner, APointerBeforeAWindowStartsAGrid) {
    const struct {
        std::size_t pointerAt;
        int target; // 0800xxxx
        std::size_t window;
        float runStart, onGrid;
    } cases[] = {
        {0x200, 0x0FFE, 0x204, 1, 1}, // a pointer to the file's last word
        {0x200, 0x1000, 0x204, 0, 0}, // past the file's end
        {0x202, 0x0FFE, 0x206, 0, 0}, // off the boundary
        {0x200, 0x0FFE, 0x224, 0, 1}, // a palette after it
        {0x200, 0x0FFE, 0x226, 0, 0}, // a word later
        {0x200, 0x0FFE, 0x404, 0, 1}, // sixteen palettes after it
        {0x200, 0x0FFE, 0x424, 0, 0}, // seventeen: the run's grid again
    };
    for (const auto& c : cases) {
        Bytes rom(0x1000, 0xFF);
        std::vector<int> run;
        for (int k = 0; k < 0x300; ++k)
            run.push_back(0x2000 + 33 * k % 0x1000);
        Put(rom, 0x100, Words(run));
        Put(rom, c.pointerAt, Words({c.target, 0x0800}));
        Put(rom, 0xF0, Words({static_cast<int>(c.window), 0x0800})); // judged whatever its counts
        const auto seen = RawEvidenceAt(rom, c.window);
        ASSERT_TRUE(seen) << std::hex << c.window;
        EXPECT_EQ((*seen)[kRunStart], c.runStart) << std::hex << c.pointerAt << " " << c.window;
        EXPECT_EQ((*seen)[kOnRunGrid], c.onGrid) << std::hex << c.pointerAt << " " << c.window;
    }
}

// A count of palettes (1 to 16) on a 4-byte boundary names the palettes 2 bytes after it: the
// windows on their grid lie in its table, the windows a word earlier take the count (or a
// palette's last slot) for colour 0; on both sides of the count, of 16 and of the boundary.
// The third palette is judged though the second has too few colours to be one.
TEST(PaletteScanner, ACountOfPalettesSetsTheGridOfTheTableAfterIt) {
    struct Case {
        int count;
        std::size_t countAt;
        std::size_t palette;
        float counted; // in the table, and taking the count for a colour
    };
    const Case cases[] = {{3, 0x100, 0, 1},  {3, 0x100, 2, 1},  {2, 0x100, 2, 0},
                          {16, 0x100, 3, 1}, {17, 0x100, 0, 0}, {3, 0x102, 0, 0}};
    for (const auto& [count, countAt, palette, counted] : cases) {
        Bytes rom(0x400, 0xFF);
        Bytes table = Words({count});
        for (int p = 0; p < 4; ++p)
            table = Cat(table, p == 1 ? Cat(Words({0, 0x1234}), Bytes(28, 0))
                                      : Cat(Words({0, 0x0C63 + p, 0x1CE7, 0x2D6B, 0x3DEF + 32 * p,
                                                   0x4E73, 0x5EF7 - p, 0x6F7B}),
                                            Bytes(16, 0)));
        Put(rom, countAt, table);
        const std::size_t at = countAt + 2 + scan::kPaletteBytes * palette;
        const auto inTable = RawEvidenceAt(rom, at);
        const auto wordEarlier = RawEvidenceAt(rom, at - 2);
        ASSERT_TRUE(inTable && wordEarlier) << count << " " << palette;
        EXPECT_EQ((*inTable)[kInCountedTable], counted) << count << " " << palette;
        EXPECT_EQ((*wordEarlier)[kCountedAsColour], counted) << count << " " << palette;
    }
}

// A pointed place's grid marks the windows across it two palettes on, not further: beyond, it
// would run on into the next table. Windows 4 bytes off a pointed table's grid, 30 words and 34
// words after it.
TEST(PaletteScanner, APointedGridMarksTheWindowsAcrossItTwoPalettesOn) {
    Bytes rom(0x400, 0xFF);
    Put(rom, 0x40,
        Cat(Cat(RampPalette(4, 2, 1), RampPalette(1, 3, 4)),
            Cat(RampPalette(2, 4, 1), RampPalette(3, 1, 4))));
    Put(rom, 0x3F0, {0x40, 0x00, 0x00, 0x08}); // 08000040
    for (const auto& [at, offGrid] : {std::pair{0x7Cu, 1.0f}, {0x84u, 0.0f}}) {
        const auto seen = RawEvidenceAt(rom, at);
        ASSERT_TRUE(seen) << std::hex << at;
        EXPECT_EQ((*seen)[kOffGrid], offGrid) << std::hex << at;
    }
}

// A table 2 bytes off a 4-byte boundary after a count of palettes keeps its grid when a small
// word of its first palette (2 colours, no palette) would start another grid: its second palette
// is still judged. Without the count nothing starts the table's grid.
TEST(PaletteScanner, ATableAfterACountKeepsItsGridPastSmallWordsOfAnother) {
    const Bytes ega = Words({0, 0x5400, 0x02A0, 0x56A0, 0x0015, 0x5415, 0x0155, 0x56B5, 0x294A,
                             0x7D4A, 0x2BEA, 0x7FEA, 0x295F, 0x7D5F, 0x2BFF, 0x7FFF});
    Bytes first(scan::kPaletteBytes, 0);
    first[6] = 5; // its fourth colour, on a 4-byte boundary: a count before the window after it
    for (const auto& [count, judged] : {std::pair{0x0003, true}, {0x0000, false}}) {
        Bytes rom(0x200, 0xFF);
        Put(rom, 0x100, Cat(Cat(Words({count}), first), ega));
        EXPECT_EQ(RawEvidenceAt(rom, 0x122).has_value(), judged) << count;
    }
}

// A palette likely enough alone (a chance of 0.2) names the windows a palette before and after
// it: they are judged though their counts are a little below the bar. Three palettes of a bank
// cut from a ROM of real material, the outer ones made less likely by a few number-like words:
// the middle one is judged next to either outer one at 0.43 alone, not at 0.05 to 0.09, nor
// alone; a window whose counts are far below the bar is not judged next to one.
TEST(PaletteScanner, ALikelyPaletteNamesTheWindowsBeforeAndAfterIt) {
    using Slots = std::vector<std::pair<int, int>>;
    const auto bank = [](std::vector<int> words, const Slots& changed) {
        words.resize(kPaletteColours, 0);
        for (const auto& [slot, word] : changed)
            words[slot] = word;
        Bytes bytes;
        for (const int word : words)
            bytes = Cat(bytes, Words({word}));
        return bytes;
    };
    const std::vector<int> before = {0x2108, 0,      0x1131, 0x1553, 0x15B6, 0x7FFF,
                                     0x15B6, 0x1131, 0x19D7, 0x1553, 0x1131};
    const std::vector<int> after = {0x2108, 0,      0x1595, 0x15B7, 0x1596, 0x19B7,
                                    0x15B6, 0x7FFF, 0x1573, 0x19B7, 0x1596};
    const Slots likely = {{4, 0x14}, {5, 0x15}, {10, 0x1A}, {11, 0x1B}};
    const Slots unlikely = {{1, 0x211}, {7, 0x217}, {13, 0x21D}};
    Bytes sequence;
    for (int k = 0; k < kPaletteColours; ++k)
        sequence = Cat(sequence, Words({0x1000 + 3 * k}));
    const Bytes middle = bank(
        {0x2108, 0, 0x1552, 0x1573, 0x1551, 0x1132, 0x1152, 0x1552, 0x7FFF, 0x1552, 0x1574}, {});
    struct Case {
        const char* name;
        Bytes first, second; // at 0x80 and 0xA0
        std::size_t named;   // the window asked about
        bool judged;
    };
    const Case cases[] = {
        {"alone", Bytes(32, 0xFF), middle, 0xA0, false},
        {"after a likely one", bank(before, likely), middle, 0xA0, true},
        {"after an unlikely one", bank(before, unlikely), middle, 0xA0, false},
        {"before a likely one", middle, bank(after, likely), 0x80, true},
        {"before an unlikely one", middle, bank(after, unlikely), 0x80, false},
        {"numbers after", bank(before, {}), sequence, 0xA0, false},
        {"numbers before", sequence, bank(after, {}), 0x80, false},
    };
    for (const auto& [name, first, second, named, judged] : cases) {
        Bytes rom(0x200, 0xFF);
        Put(rom, 0x80, Cat(first, second));
        EXPECT_EQ(RawEvidenceAt(rom, named).has_value(), judged) << name;
    }
}

// A clean LZ77 block whose every nibble is below 8 holds 4bpp pixels of at most 8 slots, not
// colours: one nibble of 8 and it may hold palettes.
TEST(PaletteScanner, TakesABlockOfLowNibblesForPixels) {
    for (const auto& [last, pixels] : {std::pair{0x77, 1.0f}, {0x78, 0.0f}}) {
        Bytes data;
        for (int i = 0; i < 64; ++i)
            data.push_back(static_cast<std::uint8_t>(i % 8 * 0x11));
        data.back() = static_cast<std::uint8_t>(last);
        Bytes rom = Noise(0x1000);
        Put(rom, 0x400, CompressLz77(data));
        std::optional<float> seen;
        const scan::RomView view(rom);
        scan::EachCompressedPalette(view, scan::AlignedWords(rom),
                                    [&](std::size_t at, std::size_t inBlock, std::size_t,
                                        const std::optional<EvidenceValues>& e) {
                                        if (at == 0x400 && inBlock == scan::kPaletteBytes && e)
                                            seen = (*e)[kSelfTiles];
                                    });
        ASSERT_TRUE(seen) << last;
        EXPECT_EQ(*seen, pixels) << last;
    }
}

// A table of palettes 2 bytes off a 4-byte boundary, after a pointed 16-bit count, with unused
// slots: every place offered is one of its palettes, none across two of them.
TEST(PaletteScanner, KeepsTheGridOfATableOfPalettes) {
    Bytes rom = Noise(0x4000);
    Bytes table = Words({3});
    for (int p = 0; p < 3; ++p)
        table = Cat(table, Cat(Words({0, 0x0C63 + p, 0x1CE7, 0x2D6B, 0x3DEF + 32 * p, 0x4E73,
                                      0x5EF7 - p, 0x6F7B}),
                               Bytes(16, 0)));
    Put(rom, 0x1000, table);
    Put(rom, 0x3000, {0x00, 0x10, 0x00, 0x08}); // 08001000, the count
    EXPECT_EQ(Found(ScanPalettes(rom, {0, true, false})), "1002 1022 1042 ");
}

// A sprite's palette, then a 16-bit count and a table of five palettes 2 bytes off the 4-byte
// boundary, the first named by a pointer (cut from a ROM of real material). A window 2 bytes
// earlier takes an unused slot for a black colour 0 and looks more like a palette than the
// table's own, but cuts across two of them: the pointer sets the table's grid, and no candidate
// lies across it.
TEST(PaletteScanner, APointerSetsTheGridOfTheTableAfterIt) {
    Bytes rom = Noise(0x4000);
    Put(rom, 0x1000,
        Words({0x03E0, 0x0000, 0x739C, 0x00D4, 0x331E, 0x4DEF, 0x418C, 0x2084, 0x3D6B, 0x5A73,
               0x3D6B, 0x5210, 0x2CE7, 0x6294, 0x2CE7, 0x7318, 0x0006, 0x0841, 0x1082, 0x14C2,
               0x1D03, 0x2544, 0x2D85, 0x35C6, 0x3A07, 0x4227, 0x4A68, 0x52A9, 0x5AEA, 0x632B,
               0x676C, 0x6FAC, 0x77ED, 0x0842, 0x0421, 0x0843, 0x0000, 0x0422, 0x0401, 0x0C43,
               0x0001, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0438,
               0x075B, 0x01BD, 0x181D, 0x0431, 0x02BC, 0x000E, 0x0000, 0x0000, 0x0000, 0x0000,
               0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x1064, 0x20C7, 0x312B, 0x418F, 0x4DF2,
               0x5E56, 0x6EBA, 0x7F1E, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,
               0x0000, 0x3199, 0x319F, 0x1813, 0x4CD9, 0x659F, 0x4C1F, 0x03E6, 0x1BEC, 0x0266,
               0x032C, 0x1BF3, 0x4F39, 0x4FFF, 0x3279, 0x0199, 0x4E79}));
    Put(rom, 0x3000, {0x22, 0x10, 0x00, 0x08}); // 08001022
    EXPECT_EQ(Found(ScanPalettes(rom, {0, true, false})), "1000 1022 1042 1062 1082 10A2 ");
}

// The raw scan shares a ROM among threads in parts that end between runs of clear words:
// however it is cut, it keeps the same candidates, and only the calling thread hears of the
// progress. The tables of palettes lie across where parts of 0x1000 bytes would end.
TEST(PaletteScanner, AScanInPartsKeepsWhatAWholeScanKeeps) {
    Bytes rom = Noise(0x8000);
    for (const std::size_t table : {0x0FC0, 0x2FF0, 0x4FE0})
        Put(rom, table, Cat(Cat(RampPalette(4, 2, 1), RampPalette(1, 4, 2)), RampPalette(2, 1, 4)));
    const scan::RomView view(rom);
    const scan::AlignedWords aligned(rom);
    const auto kept = [&](std::size_t partBytes) {
        std::vector<scan::Found> found;
        const std::thread::id caller = std::this_thread::get_id();
        int heardElsewhere = 0;
        scan::FindRawCandidates(
            view, aligned, found,
            [&](std::size_t, std::size_t) {
                heardElsewhere += std::this_thread::get_id() != caller;
            },
            partBytes);
        EXPECT_EQ(heardElsewhere, 0) << partBytes;
        std::string text = " ";
        for (const scan::Found& f : found)
            text += PaletteLocationText(f.candidate.where) + ":" +
                    std::to_string(f.candidate.score) + " ";
        return text;
    };
    const std::string whole = kept(rom.size());
    for (const std::string planted :
         {"FC0:", "FE0:", "1000:", "2FF0:", "3010:", "3030:", "4FE0:", "5000:", "5020:"})
        EXPECT_NE(whole.find(" " + planted), std::string::npos) << planted;
    EXPECT_EQ(kept(0x1000), whole);
    EXPECT_EQ(kept(2), whole);
}

// Every palette of a clean block is a candidate, however low it scores: --min 0 lists them.
// Raw windows compete for bytes only when asked for: a pointed raw palette over the last words
// of a block of text beats the block in a scan of both kinds, and leaves it alone in a scan of
// blocks only.
TEST(PaletteScanner, EveryPaletteOfACompressedBlockIsACandidate) {
    Bytes rom = Noise(0x1000);
    Put(rom, 0x400, CompressLz77(Cat(RampPalette(4, 2, 1), Bytes(32, 0))));
    const std::string text = "Era uma vez um castelo no meio d";
    const Bytes stream = CompressLz77(Bytes(text.begin(), text.end()));
    Put(rom, 0x800, stream);
    Put(rom, 0x800 + stream.size(),
        Words({0x5400, 0x02A0, 0x56A0, 0x0015, 0x5415, 0x0155, 0x56B5, 0x294A, 0x7D4A, 0x2BEA,
               0x7FEA, 0x295F}));
    Put(rom, 0xF00, {0x20, 0x08, 0x00, 0x08}); // 08000820, 8 bytes before the stream's end
    EXPECT_EQ(Found(ScanPalettes(rom, {0, false, true})), "LZ:400 LZ:400+20 LZ:800 ");
    EXPECT_EQ(Found(ScanPalettes(rom, {0, true, true})), "820 LZ:400 LZ:400+20 ");
}

// Where candidates claim the same bytes, the better keeps them; a block scoring 50 or more
// (a clean stream of likely palettes) keeps its stream's bytes against any raw window, and its
// other palettes share them.
TEST(PaletteScanner, TheBetterOfOverlappingCandidatesKeepsTheBytes) {
    const auto raw = [](std::uint32_t at, int score) {
        return scan::Found{{{at, false, 0}, score}, at, at + 32};
    };
    const auto block = [](std::uint32_t offset, int score) {
        return scan::Found{{{0x100, true, offset}, score}, 0x100, 0x140};
    };
    const std::pair<std::vector<scan::Found>, std::string> cases[] = {
        {{raw(0x120, 90), block(0, 60), block(0x20, 70)}, "LZ:100 LZ:100+20 "},
        {{raw(0x120, 90), block(0, 49)}, "120 "},
        {{raw(0x120, 40), block(0, 45)}, "LZ:100 "},
        {{raw(0x0E0, 70), raw(0x0F0, 80), raw(0x110, 75)}, "110 F0 "},
        {{raw(0x0E0, 70), raw(0x100, 60)}, "100 E0 "},
    };
    for (const auto& [found, kept] : cases) {
        std::vector<PaletteCandidate> candidates;
        for (const scan::Found& f : scan::KeepBestOfOverlaps(found))
            candidates.push_back(f.candidate);
        EXPECT_EQ(Found(candidates), kept);
    }
}

// Headers whose first bytes cannot start palettes are not tried: the first block must be a
// literal, and a literal second byte is colour 0's high byte, bit 15 clear.
TEST(PaletteScanner, HeadersAreTriedOnlyWhenTheirStreamCanStartPalettes) {
    const std::pair<const char*, bool> cases[] = {{"10200000"
                                                   "00"
                                                   "1F00",
                                                   true},
                                                  {"10200000"
                                                   "80"
                                                   "1F00",
                                                   false},
                                                  {"10200000"
                                                   "00"
                                                   "1F80",
                                                   false},
                                                  {"10200000"
                                                   "40"
                                                   "1F80",
                                                   true},
                                                  {"10200000"
                                                   "3F"
                                                   "1F7F",
                                                   true},
                                                  {"10200000"
                                                   "00"
                                                   "1F",
                                                   false}};
    for (const auto& [hex, tried] : cases)
        EXPECT_EQ(scan::AlignedWords(FromHex(hex)).PaletteSizedBlocks().size(), tried ? 1u : 0u)
            << hex;
}

// One scan decompresses at most twice the file's size and one block more, whatever the file
// holds: a file of nothing but headers stops there.
TEST(PaletteScanner, DecompressionStopsAtTheBudget) {
    Bytes rom;
    for (int i = 0; i < 0x4000; ++i)
        rom.insert(rom.end(), {0x10, 0x00, 0x02, 0x00}); // 512 bytes each, all clean
    const scan::RomView view(rom);
    const scan::AlignedWords aligned(rom);
    std::vector<scan::Found> found;
    const std::size_t spent = scan::FindCompressedCandidates(view, aligned, found);
    EXPECT_EQ(scan::DecompressionBudget(rom.size()), 2 * rom.size() + 512);
    EXPECT_LE(spent, scan::DecompressionBudget(rom.size()));
    EXPECT_GT(spent + 512, scan::DecompressionBudget(rom.size()));
    EXPECT_EQ(found.size(), spent / 32);
}

// The README's recall and precision were measured with this scoring; a change of any weight
// changes the example ROM's list, and the figures must then be measured again.
TEST(PaletteScanner, ExampleRomScansAsMeasured) {
    const auto all = ScanPalettes(ReadBytes(ZANDREL_SOURCE_DIR "/examples/synthetic.gba"), {0});
    const int total =
        std::accumulate(all.begin(), all.end(), 0,
                        [](int sum, const PaletteCandidate& c) { return sum + c.score; });
    EXPECT_EQ(all.size(), 76u);
    EXPECT_EQ(total, 6151);
}

} // namespace
} // namespace zandrel::testing
