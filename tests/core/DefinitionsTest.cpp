// Definition files and game identification.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <string>
#include <tuple>

#include "TempDir.h"
#include "rom/Definitions.h"
#include "rom/Identify.h"

namespace zandrel::testing {
namespace {

// The lines as "number:text" joined by "|", a "+" after the number of a line that follows a
// bare CR inside the line of that number.
std::string Lines(std::string_view text) {
    std::string shown;
    DefinitionLineReader reader(text);
    while (const std::optional<DefinitionLine> line = reader.Next())
        shown += (shown.empty() ? "" : "|") + std::to_string(line->number) +
                 (line->afterLoneCr ? "+" : "") + ":" + std::string(line->text);
    return shown;
}

TEST(DefinitionLineReader, EndsLinesAtLfCrLfOrCrAndNumbersThemAsAnEditorDoes) {
    const std::pair<std::string_view, const char*> cases[] = {
        {"", ""},
        {"a\r\nb\r\n", "1:a|2:b"}, // a final line end makes no empty line
        {"a\nb", "1:a|2:b"},
        {"a\r\n\r\n\nb", "1:a|2:|3:|4:b"},
        {"a\rb\r\r", "1:a|2:b|3:"}, // no LF anywhere: every CR starts a line number
        {"a\r\nN\rme\r\nc", "1:a|2:N|2+:me|3:c"},
        {"a\r\r\nb\rc", "1:a|1+:|2:b|2+:c"}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(Lines(text), lines) << text;
}

// Fields untrimmed, later commas in the name.
TEST(Definitions, AnEntryLineGivesItsFieldsAsTheyStand) {
    using Shape = DefinitionEntry::Shape;
    const std::tuple<std::string_view, Shape, const char*> cases[] = {
        {"16,1A0,Herói", Shape::Complete, "16/1A0/Herói"},
        {" 4 , 0 ,  Nome, com, vírgulas", Shape::Complete, " 4 / 0 /  Nome, com, vírgulas"},
        {",,", Shape::Complete, "//"},
        {"; 16,1A0,comentário", Shape::Comment, "//"},
        {"", Shape::NoComma, "//"},
        {"16 1A0 Nome", Shape::NoComma, "//"},
        {"16,rest of line", Shape::OneComma, "16//rest of line"}};
    for (const auto& [line, shape, fields] : cases) {
        const DefinitionEntry entry = ParseDefinitionEntry(line);
        EXPECT_EQ(entry.shape, shape) << line;
        EXPECT_EQ(std::string(entry.count) + "/" + std::string(entry.location) + "/" +
                      std::string(entry.name),
                  fields)
            << line;
    }
    // The program writes such lines, the name's commas and all.
    EXPECT_EQ(DefinitionEntryText(16, {0x3B8A8C, true, 0x20}, "Paleta, 91"),
              "16,LZ:3B8A8C+20,Paleta, 91");
}

// The text is UTF-8 when it is valid UTF-8, otherwise Windows-1252, after any byte-order mark.
TEST(Definitions, ParseDecodesTheTextAndStopsAtTheFirstLineThatStopsTheLoad) {
    using Columns = std::array<TextColumn, 3>; // counts, locations, names
    const std::tuple<std::string, Columns, Result, std::int64_t> cases[] = {
        {"16,0,Herói\r\n;,,\r\n", {{{"16"}, {"0"}, {"Herói"}}}, Result::Ok, 0},
        {"\357\273\27716,0,Cora\xE7\xE3o\r", {{{"16"}, {"0"}, {"Coração"}}}, Result::Ok, 0},
        {"16,0,A\r\n16,rest of line\r\n16,40,C",
         {{{"16", "16"}, {"0"}, {"A", "rest of line"}}},
         Result::DefinitionOneComma,
         2},
        {"16,0,A\r\n16,20,Na\rme\r\n16,40,C",
         {{{"16", "16"}, {"0", "20"}, {"A", "Na"}}},
         Result::DefinitionNoComma,
         2}};
    for (const auto& [text, columns, result, line] : cases) {
        PaletteTable table;
        const Failure failure = ParseDefinitions(text, table, "X.ZNDL");
        EXPECT_EQ(failure.result, result) << text;
        EXPECT_EQ(failure.line, line) << text;
        EXPECT_EQ(failure.afterLoneCr, result == Result::DefinitionNoComma) << text;
        EXPECT_EQ(failure.file, failure.ok() ? "" : "X.ZNDL") << text;
        EXPECT_EQ((Columns{table.counts, table.locations, table.names}), columns) << text;
        EXPECT_EQ(table.lines.size(), table.counts.size()) << text;
    }
    // The lists hold 32767 rows: the 32767th entry is read, the line of one more is refused.
    std::string full;
    for (std::size_t i = 0; i < kMaxDefinitionEntries; ++i)
        full += "1,0,x\n;\n";
    PaletteTable table;
    EXPECT_TRUE(ParseDefinitions(full, table).ok());
    PaletteTable more;
    const Failure tooMany = ParseDefinitions(full + "1,0,y\n", more);
    EXPECT_EQ(tooMany.result, Result::TooManyEntries);
    EXPECT_EQ(tooMany.line, 2 * 32767 + 1);
    EXPECT_EQ(more.names, table.names);
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
