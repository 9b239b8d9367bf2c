// Palettes inside LZ77 blocks of a file: read, and written back in place only where the new
// stream fits. The codec itself is checked against an independent encoder in Lz77Test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "rom/Lz77.h"
#include "rom/PaletteAccess.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<ColorWord>;

// Sixteen colours no two alike and without ramps: they compress to literals only.
Words Colours(int seed) {
    Words words;
    for (int i = 0; i < 16; ++i)
        words.push_back(static_cast<ColorWord>((seed * 0x2345 + i * 0x1B3D) & 0x7FFF));
    return words;
}

Bytes DataOf(const Words& first, const Words& second) {
    Bytes data;
    for (const Words* words : {&first, &second})
        for (const ColorWord word : *words) {
            data.push_back(static_cast<std::uint8_t>(word));
            data.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    return data;
}

void Put(Bytes& file, std::size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

// 512 bytes: a block of two unlike palettes at 40 (literals only), one palette twice at 100
// (the copy is two references), a stream referring before its start at 1E0 and a header
// whose size runs past the end at 1F8.
class CompressedFile : public ::testing::Test {
  protected:
    TempDir dir;
    const Words p = Colours(1);
    const Words q = Colours(2);
    Bytes before = [this] {
        Bytes file = PatternBytes(0x200);
        Put(file, 0x40, CompressLz77(DataOf(p, q)));
        Put(file, 0x100, CompressLz77(DataOf(p, p)));
        Put(file, 0x1E0, {0x10, 0x04, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00});
        Put(file, 0x1F8, {0x10, 0xFF, 0x00, 0x00, 0x00, 0x41, 0x42, 0x43});
        return file;
    }();
    std::string path = dir.Write("game.gba", before);
};

TEST_F(CompressedFile, ASaveThatFitsWritesExactlyTheNewStreamAndOneThatDoesNotWritesNothing) {
    Words read;
    ASSERT_TRUE(ReadPalette(path, {0x40, true, 0x20}, 16, read).ok());
    EXPECT_EQ(read, q);
    // The same words: the block keeps its own encoding.
    ASSERT_TRUE(WritePalette(path, {0x40, true, 0x20}, q).ok());
    EXPECT_EQ(ReadBytes(path), before);

    // The second palette made a copy of the first: a shorter stream, written without its
    // padding, and the rest of the original's space keeps its bytes.
    Words edited = p;
    edited[3] |= 0x8000; // bit 15 is written as 0
    ASSERT_TRUE(WritePalette(path, {0x40, true, 0x20}, edited).ok());
    const Bytes data = DataOf(p, p);
    Bytes stream = CompressLz77(data);
    stream.resize(DecompressLz77(stream, 0).streamLength);
    ASSERT_LT(stream.size() + 4, DecompressLz77(before, 0x40).streamLength);
    Bytes expected = before;
    Put(expected, 0x40, stream);
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(DecompressLz77(ReadBytes(path), 0x40).data, data);

    // One colour of the copy changed: the copy no longer compresses to two references.
    const Bytes saved = ReadBytes(path);
    Words copy = p;
    copy[0] = 0x001F;
    const Failure failure = WritePalette(path, {0x100, true, 0x20}, copy);
    ASSERT_EQ(failure.result, Result::DoesNotFit);
    const std::size_t original = DecompressLz77(saved, 0x100).streamLength;
    EXPECT_GT(failure.length, static_cast<std::int64_t>(original));
    EXPECT_EQ(ErrorMessage(failure),
              "A paleta LZ:100+20 (hex) não cabe mais no seu bloco comprimido no arquivo \"" +
                  path + "\": recomprimido, o bloco tem " + std::to_string(failure.length) +
                  " bytes, e o original tem " + std::to_string(original) +
                  " bytes. Nada foi gravado.");
    EXPECT_EQ(ReadBytes(path), saved);
}

TEST_F(CompressedFile, HostileBlocksAreReportedAndNeitherReadNorWritten) {
    const std::string file = "\"" + path + "\"";
    const auto bad = [&file](const char* at, const char* reason) {
        return std::string("O bloco comprimido LZ77 na localização hex ") + at + " do arquivo " +
               file + " não pode ser lido: " + reason + ". Nada foi gravado.";
    };
    const struct {
        PaletteLocation where;
        std::string message;
    } cases[] = {
        {{0x200, true, 0}, bad("200", "a localização fica fora do arquivo, que tem 512 bytes")},
        {{0x41, true, 0}, bad("41", "não há um cabeçalho LZ77 (o byte 10 hex) nessa localização")},
        {{0x1F8, true, 0}, bad("1F8", "o arquivo termina antes do fim dos dados comprimidos")},
        {{0x1E0, true, 0}, bad("1E0", "uma referência aponta para antes do início dos dados")},
        {{0x40, true, 0x30},
         "A paleta LZ:40+30 (hex; 32 bytes) não está dentro dos dados do seu bloco comprimido no "
         "arquivo " +
             file + ", que tem 64 bytes descomprimidos. Nada foi lido nem gravado."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Words words;
        EXPECT_EQ(ErrorMessage(ReadPalette(path, c.where, 16, words)), c.message);
        Bytes bytes;
        EXPECT_EQ(ErrorMessage(ReadPaletteBytes(path, c.where, 16, bytes)), c.message);
        EXPECT_EQ(ErrorMessage(WritePalette(path, c.where, Colours(3))), c.message);
        EXPECT_EQ(ReadBytes(path), before);
    }
}

} // namespace
} // namespace zandrel::testing
