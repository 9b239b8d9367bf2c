// Palettes inside LZ77 blocks of a file: read, and written back in place only where the new
// stream fits. The codec itself is checked against an independent encoder in Lz77Test.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "rom/Lz77.h"
#include "rom/PaletteAccess.h"
#include "rom/PaletteIO.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 32 unlike pattern bytes from `from`, bit 15 of each word clear: they compress to literals.
Bytes Palette(std::size_t from) {
    Bytes bytes = PatternBytes(from + 32);
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(from));
    for (std::size_t i = 1; i < bytes.size(); i += 2)
        bytes[i] &= 0x7F;
    return bytes;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void Put(Bytes& file, std::size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

// 512 bytes: two unlike palettes at 40 (literals), one palette twice at 100 (its copy two
// references) and a stream cut by the file's end at 1F8.
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

TEST_F(CompressedFile, ASaveThatFitsWritesExactlyTheNewStreamAndOneThatDoesNotWritesNothing) {
    std::vector<ColorWord> words;
    ASSERT_TRUE(ReadPalette(path, {0x40, true, 0x20}, 16, words).ok());
    EXPECT_EQ(words, BytesToWords(q, 16));
    ASSERT_TRUE(WritePalette(path, {0x40, true, 0x20}, words).ok()); // the same words:
    EXPECT_EQ(ReadBytes(path), before); // the block keeps its own encoding

    // The second palette made a copy of the first: a shorter stream, written without its
    // padding; the rest of the original's space keeps its bytes.
    words = BytesToWords(p, 16);
    words[3] |= 0x8000; // written as 0
    ASSERT_TRUE(WritePalette(path, {0x40, true, 0x20}, words).ok());
    Bytes stream = CompressLz77(Cat(p, p));
    stream.resize(DecompressLz77(stream, 0).streamLength);
    ASSERT_LT(stream.size() + 4, DecompressLz77(before, 0x40).streamLength);
    Bytes expected = before;
    Put(expected, 0x40, stream);
    EXPECT_EQ(ReadBytes(path), expected);

    // One colour of the copy at 100 changed: it no longer compresses to two references.
    words[3] = 0x001F;
    const Failure failure = WritePalette(path, {0x100, true, 0x20}, words);
    const std::size_t original = DecompressLz77(before, 0x100).streamLength;
    ASSERT_GT(failure.length, static_cast<std::int64_t>(original));
    EXPECT_EQ(ErrorMessage(failure),
              "A paleta LZ:100+20 (hex) não cabe mais no seu bloco comprimido no arquivo \"" +
                  path + "\": recomprimido, o bloco tem " + std::to_string(failure.length) +
                  " bytes, e o original tem " + std::to_string(original) +
                  " bytes. Nada foi gravado.");
    EXPECT_EQ(ReadBytes(path), expected);
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
    Bytes bytes;
    EXPECT_EQ(ErrorMessage(ReadPaletteBytes(path, {0x40, true, 0x30}, 16, bytes)),
              "A paleta LZ:40+30 (hex; 32 bytes) não está dentro dos dados do seu bloco "
              "comprimido no arquivo \"" +
                  path + "\", que tem 64 bytes descomprimidos. Nada foi lido nem gravado.");
    EXPECT_EQ(ReadBytes(path), before);
}

} // namespace
} // namespace zandrel::testing
