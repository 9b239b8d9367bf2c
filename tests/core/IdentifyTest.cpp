#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "app/Identify.h"

using namespace zandrel;
using zandrel::testing::TempDir;

namespace {
std::vector<std::uint8_t> RomWithCode(const std::string& code, std::size_t size = 0x200) {
    std::vector<std::uint8_t> bytes(size, 0x11);
    for (std::size_t i = 0; i < code.size() && 0xAC + i < size; ++i)
        bytes[0xAC + i] = static_cast<std::uint8_t>(code[i]);
    return bytes;
}
} // namespace

TEST(Identify, EachGameCodeGivesItsTitleIndexAndDefinitionFile) {
    TempDir dir;
    const struct {
        const char* code;
        const char* title;
        int index;
        const char* definition;
    } cases[] = {
        {"AQXE", "Torvale (US)", 0, "TORV_E.ZNDL"},
        {"AWQE", "Torvale 2 (US)", 1, "TORV2_E.ZNDL"},
        {"BZQE", "Torvale 3 (US)", 2, "TORV3_E.ZNDL"},
        {"BKRJ", "Kemrith (J)", 3, "KEMR_J.ZNDL"},
        {"AQXJ", "Torvale (J)", 5, "TORV_J.ZNDL"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write(std::string(c.code) + ".gba", RomWithCode(c.code));
        const std::optional<Identification> id = IdentifyFile(path);
        ASSERT_TRUE(id) << c.code;
        EXPECT_EQ(id->title, c.title);
        EXPECT_EQ(id->gameIndex, c.index);
        EXPECT_EQ(DefinitionFileOf(*id), c.definition);
    }
}

TEST(Identify, DumpNameInAnyCaseIsAMemoryDumpWithoutReadingIt) {
    TempDir dir;
    // The header of a game does not matter, nor does the file's existence.
    const std::string rom = dir.Write("game.DmP", RomWithCode("AQXE"));
    for (const std::string& path : {rom, dir.File("missing.dmp")}) {
        const std::optional<Identification> id = IdentifyFile(path);
        ASSERT_TRUE(id) << path;
        EXPECT_EQ(id->title, "MEMORY DUMP");
        EXPECT_FALSE(id->gameIndex);
        EXPECT_EQ(DefinitionFileOf(*id), "MEMORYDUMP.ZNDL");
    }
}

TEST(Identify, NoGameForMissingShortLowerCaseOrUnknownCodes) {
    TempDir dir;
    EXPECT_FALSE(IdentifyFile(dir.File("missing.gba")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.gba")));
    EXPECT_FALSE(IdentifyFile(dir.Write("short.gba", RomWithCode("AQXE", 175))));
    EXPECT_TRUE(IdentifyFile(dir.Write("exact.gba", RomWithCode("AQXE", 176))));
    EXPECT_FALSE(IdentifyFile(dir.Write("lower.gba", RomWithCode("aqxe"))));
    EXPECT_FALSE(IdentifyFile(dir.Write("other.gba", RomWithCode("ZZZZ"))));
    EXPECT_FALSE(IdentifyFile(dir.path().string()));
}
