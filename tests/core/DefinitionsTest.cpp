#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

#include "TempDir.h"
#include "rom/Definitions.h"
#include "rom/Games.h"
#include "rom/Identify.h"

namespace zandrel::testing {
namespace {

// The three columns as "counts/locations/names", the entries of each joined by "|".
std::string Columns(const PaletteTable& table) {
    std::string text;
    for (const auto* column : {&table.counts, &table.locations, &table.names}) {
        std::string joined;
        for (const std::string& field : *column)
            joined += (joined.empty() ? "" : "|") + field;
        text += (column == &table.counts ? "" : "/") + joined;
    }
    return text;
}

// Comments are skipped; fields are not trimmed; the name keeps every later comma. Either line
// end, the last line needing none; Windows-1252 names are decoded. An empty line holds no
// comma; with one comma the count and the rest of the line are added, the location is not;
// the entries before a malformed line stay. Entry limits are in FaultTest.
TEST(Definitions, ParseFillsTheThreeColumnsUntilTheFirstMalformedLine) {
    const std::tuple<std::string, Result, std::int64_t, const char*> cases[] = {
        {"; c\r\n16,1A0,Herói\r\n;x\r\n 4 , 0 ,  Nome, com, vírgulas\r\n", Result::Ok, 0,
         "16| 4 /1A0| 0 /Herói|  Nome, com, vírgulas"},
        {";a\r\n;b\r\n", Result::Ok, 0, "//"},
        {"16,0,A\n16,20,B", Result::Ok, 0, "16|16/0|20/A|B"},
        {"16,0,A\r16,20,B\r", Result::Ok, 0, "16|16/0|20/A|B"},
        {"16,0,Cora\xE7\xE3o\r\n", Result::Ok, 0, "16/0/Coração"},
        {"16,0,A\r\n\r\n16,20,B\r\n", Result::DefinitionNoComma, 2, "16/0/A"},
        {"16,0,A\r\n16,20,B\r\n\r\n", Result::DefinitionNoComma, 3, "16|16/0|20/A|B"},
        {"16,0,A\r\n16,rest,of line\r\n16,40,C", Result::Ok, 0, "16|16|16/0|rest|40/A|of line|C"},
        {"16,0,A\r\n16,rest of line\r\n16,40,C", Result::DefinitionOneComma, 2,
         "16|16/0/A|rest of line"},
        // A byte-order mark (EF BB BF) at the start was read as part of the first count.
        {"\357\273\27716,0,A\r\n", Result::Ok, 0, "16/0/A"},
        // A file of CR line ends is numbered by CR.
        {"16,0,A\r16,20,B\r\r", Result::DefinitionNoComma, 3, "16|16/0|20/A|B"}};
    for (const auto& [text, result, line, columns] : cases) {
        PaletteTable table;
        const Failure failure = ParseDefinitions(text, table);
        EXPECT_EQ(failure.result, result) << text;
        EXPECT_EQ(failure.line, line) << text;
        EXPECT_FALSE(failure.afterLoneCr) << text;
        EXPECT_EQ(Columns(table), columns) << text;
    }
    // A bare CR inside a line still ends the entry, but the line is numbered as an editor
    // shows it: a CR in the second line's name was reported as line 3.
    PaletteTable table;
    const Failure failure = ParseDefinitions("16,0,A\r\n16,20,Na\rme\r\n", table);
    EXPECT_EQ(failure.line, 2);
    EXPECT_TRUE(failure.afterLoneCr);
    EXPECT_EQ(Columns(table), "16|16/0|20/A|Na");
}

TEST(Identify, EachGameCodeGivesItsTitleIndexAndDefinitionFile) {
    TempDir dir;
    const std::tuple<const char*, const char*, int, const char*> cases[] = {
        {"AQXE", "Torvale (US)", 0, "TORV_E.ZNDL"},
        {"BKRJ", "Kemrith (J)", 3, "KEMR_J.ZNDL"},
        {"AQXJ", "Torvale (J)", 5, "TORV_J.ZNDL"},
    };
    for (const auto& [code, title, index, definition] : cases) {
        const std::optional<Identification> id =
            IdentifyFile(dir.Write(std::string(code) + ".gba", RomWithCode(code)));
        ASSERT_TRUE(id) << code;
        EXPECT_EQ(id->title, title);
        EXPECT_EQ(id->gameIndex, index);
        EXPECT_EQ(DefinitionFileOf(*id), definition);
    }
}

TEST(Identify, DumpNameInAnyCaseIsAMemoryDumpWithoutReadingIt) {
    TempDir dir;
    // The header of a game does not matter, nor does the file's existence.
    for (const std::string& path :
         {dir.Write("game.DmP", RomWithCode("AQXE")), dir.File("missing.dmp")}) {
        const std::optional<Identification> id = IdentifyFile(path);
        ASSERT_TRUE(id) << path;
        EXPECT_EQ(id->title, "MEMORY DUMP");
        EXPECT_FALSE(id->gameIndex);
        EXPECT_EQ(DefinitionFileOf(*id), "MEMORYDUMP.ZNDL");
    }
    EXPECT_FALSE(IsMemoryDumpName("/x/ram.dmp.gba"));
    EXPECT_FALSE(IsMemoryDumpName("dmp"));
    // The definition file follows the latest identification; a failed one goes by index.
    EXPECT_EQ(DefinitionFileFor("MEMORY DUMP", 3), "MEMORYDUMP.ZNDL");
    EXPECT_EQ(DefinitionFileFor("Kemrith (J)", 3), "KEMR_J.ZNDL");
    EXPECT_EQ(DefinitionFileFor("", 5), "TORV_J.ZNDL");
    EXPECT_EQ(DefinitionFileFor("", 4), "");
}

TEST(Identify, NoGameForMissingShortLowerCaseOrUnknownCodes) {
    TempDir dir;
    EXPECT_FALSE(IdentifyFile(dir.File("missing.gba")));
    EXPECT_FALSE(IdentifyFile(dir.Write("short.gba", RomWithCode("AQXE", 175))));
    EXPECT_TRUE(IdentifyFile(dir.Write("exact.gba", RomWithCode("AQXE", 176))));
    EXPECT_FALSE(IdentifyFile(dir.Write("lower.gba", RomWithCode("aqxe"))));
    EXPECT_FALSE(IdentifyFile(dir.Write("other.gba", RomWithCode("AQXF"))));
    EXPECT_FALSE(IdentifyFile(dir.path().string()));
}

// The open command took a read that failed after the file had opened for a file without a
// game code, and showed the not-identified box where it must end silently.
TEST(Identify, AReadThatFailsAfterOpeningIsUnreadableNotUnidentified) {
    TempDir dir;
    const std::string path = dir.Write("game.gba", RomWithCode("AQXE"));
    // Open for writing only, the file holds its code but cannot be read.
    FileStatus status;
    File file = File::Open(path, OpenMode::WriteTruncate, status);
    ASSERT_TRUE(status.ok());
    ASSERT_TRUE(file.WriteAt(0, RomWithCode("AQXE")).ok());
    std::optional<GameInfo> game;
    const Failure failure = ReadGameCode(file, path, game);
    EXPECT_EQ(failure.result, Result::CannotRead);
    EXPECT_EQ(failure.file, path);
    EXPECT_EQ(failure.io.systemError, EBADF);
    EXPECT_FALSE(game);
}

// Trailing NULs and blanks and "AB-D" are in OpenCommandTest.
TEST(Games, AnyOtherCodeNamesItsDefinitionFileAndTheTitleIsPrintableAscii) {
    const auto bytes = [](std::string_view text) {
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    EXPECT_EQ(CodeDefinitionFile(bytes("zn9L")), "zn9L.ZNDL");
    EXPECT_EQ(CodeDefinitionFile(bytes("AB\xC3"
                                       "D")),
              "");
    EXPECT_EQ(InternalTitle(bytes(std::string_view("A\x01\xE9Z\0\0", 6))), "A??Z");
    EXPECT_EQ(InternalTitle(bytes(std::string_view("\0 \0", 3))), "");
}

} // namespace
} // namespace zandrel::testing
