// Definition files and game identification.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <tuple>

#include "TempDir.h"
#include "rom/Definitions.h"
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

// Fields untrimmed, later commas in the name, any line end; entry limits are in FaultTest.
TEST(Definitions, ParseFillsTheThreeColumnsUntilTheFirstMalformedLine) {
    const std::tuple<std::string, Result, std::int64_t, const char*> cases[] = {
        {"; c\r\n16,1A0,Herói\r\n 4 , 0 ,  Nome, com, vírgulas\r\n", Result::Ok, 0,
         "16| 4 /1A0| 0 /Herói|  Nome, com, vírgulas"},
        {"\357\273\27716,0,Cora\xE7\xE3o\r", Result::Ok, 0, "16/0/Coração"}, // after a BOM
        {"16,0,A\r\n\r\n16,20,B\r\n", Result::DefinitionNoComma, 2, "16/0/A"},
        {"16,0,A\r\n16,rest of line\r\n16,40,C", Result::DefinitionOneComma, 2,
         "16|16/0/A|rest of line"},
        {"16,0,A\r16,20,B\r\r", Result::DefinitionNoComma, 3, "16|16/0|20/A|B"}}; // CR lines
    for (const auto& [text, result, line, columns] : cases) {
        PaletteTable table;
        const Failure failure = ParseDefinitions(text, table);
        EXPECT_EQ(failure.result, result) << text;
        EXPECT_EQ(failure.line, line) << text;
        EXPECT_FALSE(failure.afterLoneCr) << text;
        EXPECT_EQ(Columns(table), columns) << text;
    }
    // The lists hold 32767 rows; the line of one more is refused.
    std::string full;
    for (int i = 0; i < 32768; ++i)
        full += "1,0,x\n";
    PaletteTable many;
    const Failure tooMany = ParseDefinitions(full, many);
    EXPECT_EQ(tooMany.result, Result::TooManyEntries);
    EXPECT_EQ(tooMany.line, 32768);
    EXPECT_EQ(many.counts.size(), 32767u);
    // A CR in the second line's name was reported as line 3.
    PaletteTable table;
    const Failure failure = ParseDefinitions("16,0,A\r\n16,20,Na\rme\r\n", table);
    EXPECT_EQ(failure.line, 2);
    EXPECT_TRUE(failure.afterLoneCr);
    EXPECT_EQ(Columns(table), "16|16/0|20/A|Na");
}

TEST(Definitions, AWrittenLineReadsBackAsTheEntryItWasWrittenFrom) {
    const std::string line = DefinitionLine(16, {0x3B8A8C, true, 0x20}, "Paleta, 91");
    EXPECT_EQ(line, "16,LZ:3B8A8C+20,Paleta, 91");
    PaletteTable written;
    EXPECT_TRUE(ParseDefinitions(line, written).ok());
    EXPECT_EQ(Columns(written), "16/LZ:3B8A8C+20/Paleta, 91");
}

TEST(Identify, GameCodesAndDumpNamesGiveTitleIndexAndDefinitionFile) {
    TempDir dir;
    const std::tuple<std::string, const char*, std::optional<int>, const char*> cases[] = {
        {dir.Write("a.gba", RomWithCode("AQXE")), "Torvale (US)", 0, "TORV_E.ZNDL"},
        {dir.Write("b.gba", RomWithCode("BKRJ")), "Kemrith (J)", 3, "KEMR_J.ZNDL"},
        {dir.Write("game.DmP", RomWithCode("AQXE")), "MEMORY DUMP", {}, "MEMORYDUMP.ZNDL"},
        {dir.File("missing.dmp"), "MEMORY DUMP", {}, "MEMORYDUMP.ZNDL"}};
    for (const auto& [path, title, index, definition] : cases) {
        const std::optional<Identification> id = IdentifyFile(path);
        ASSERT_TRUE(id) << path;
        EXPECT_EQ(id->title, title);
        EXPECT_EQ(id->gameIndex, index);
        EXPECT_EQ(DefinitionFileOf(*id), definition);
    }
    for (const std::string& path :
         {dir.File("missing.gba"), dir.Write("x.dmp.gba", RomWithCode("aqxe")),
          dir.Write("short.gba", RomWithCode("AQXE", 175))})
        EXPECT_FALSE(IdentifyFile(path)) << path;
    // The definition file follows the latest identification; a failed one goes by index.
    EXPECT_EQ(DefinitionFileFor("", 5), "TORV_J.ZNDL");
    EXPECT_EQ(DefinitionFileFor("", 4), "");
}

// What stands under a definition file's name in the user's folder is never passed over: a
// fault is named with its full path and what is wrong, for a ROM known by its code or a game.
TEST(Identify, AFaultyUserDefinitionFileIsNamedWithWhatIsWrong) {
    TempDir dir;
    const DataFolders folders{dir.File("program"), dir.path().string(), ""};
    const std::pair<std::string, const char*> roms[] = {
        {dir.Write("c.gba", RomWithCode("ZQ9X")), "ZQ9X.ZNDL"},
        {dir.Write("g.gba", RomWithCode("AQXE")), "TORV_E.ZNDL"}};
    // Made by mkfifo, mkdir or as a link to the target.
    const std::pair<const char*, const char*> faults[] = {
        {"fifo", "Não é um arquivo comum"},
        {"folder", "É uma pasta"},
        {"nowhere", "É um link simbólico para algo que não existe"},
        {"/dev/null", "Não é um arquivo comum"}};
    for (const auto& [fault, reason] : faults) {
        for (const auto& [rom, name] : roms) {
            const std::string path = dir.File(name);
            if (fault == std::string("fifo"))
                ::mkfifo(path.c_str(), 0600);
            else if (fault == std::string("folder"))
                std::filesystem::create_directory(path);
            else
                std::filesystem::create_symlink(fault, path);
            std::optional<Identification> identification;
            EXPECT_EQ(ErrorMessage(IdentifyFile(rom, folders, identification)),
                      "Não foi possível ler o arquivo de definições \"" + path + "\".\r\n\r\n" +
                          reason);
            std::filesystem::remove(path);
        }
    }
}

// Why a file is not identified: a missing or short file, a code no file can be named after,
// or the folders where the code's file was looked for and the command that makes one.
TEST(Identify, NotIdentifiedDetailsSayWhy) {
    TempDir dir;
    const DataFolders folders{"/opt/z", dir.File("my data"), ""};
    const std::string rom = dir.Write("a.gba", RomWithCode("ZQ9x"));
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("gone.gba"), "O arquivo \"" + dir.File("gone.gba") + "\" não existe."},
        {dir.Write("short.gba", RomWithCode("ZQ9X", 175)),
         "O arquivo é curto demais para ter o código do jogo, nos bytes AC a AF (hex) do "
         "cabeçalho."},
        {dir.Write("b.gba", RomWithCode(std::string("a-\0\xE9", 4))),
         "O código do jogo no cabeçalho (bytes AC a AF) é 61 2D 00 E9 (hex), que não são quatro "
         "letras e dígitos: nenhum arquivo de definições tem esse nome."},
        {rom, "O código do jogo no cabeçalho é \"ZQ9x\", e nenhum arquivo de definições "
              "\"ZQ9x.ZNDL\" foi encontrado em \"" +
                  folders.userData +
                  "\" nem em \"/opt/z\". Para criar um com as paletas que o arquivo parece "
                  "ter:\nmkdir -p '" +
                  folders.userData + "' && zandrel-cli scan " + rom + " -o '" + folders.userData +
                  "/ZQ9x.ZNDL'"}};
    for (const auto& [path, details] : cases)
        EXPECT_EQ(NotIdentifiedDetails(path, folders), details);
}

} // namespace
} // namespace zandrel::testing
