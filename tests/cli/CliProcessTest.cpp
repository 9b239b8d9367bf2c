// zandrel-cli run as a process on generated files: what it prints, its exit status and the
// bytes of every file afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliHarness.h"
#include "TempDir.h"
#include "app/Messages.h"
#include "colour/Codec.h"
#include "palfiles/ExtraFormats.h"
#include "palfiles/PaletteFormats.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

constexpr std::size_t kDumpSize = 1024;

std::vector<std::uint8_t> RomWithCode(const std::string& code, std::size_t size = 0x400) {
    std::vector<std::uint8_t> bytes = PatternBytes(size);
    for (std::size_t i = 0; i < code.size(); ++i)
        bytes[0xAC + i] = static_cast<std::uint8_t>(code[i]);
    return bytes;
}

// The sixteen words stored at `location` of the pattern file, bit 15 dropped.
PaletteWords16 PatternWords(std::size_t location) {
    const std::vector<std::uint8_t> bytes = PatternBytes(location + 32);
    PaletteWords16 words{};
    for (std::size_t i = 0; i < 16; ++i)
        words[i] = WordFromBytes(bytes[location + 2 * i + 1] & 0x7F, bytes[location + 2 * i]);
    return words;
}

// The 32 bytes at `location` of the pattern file as a palette write leaves them: bit 15 of
// every word cleared.
std::vector<std::uint8_t> StoredPalette(std::size_t location) {
    const std::vector<std::uint8_t> bytes = PatternBytes(location + 32);
    std::vector<std::uint8_t> palette(bytes.begin() + location, bytes.end());
    for (std::size_t i = 1; i < palette.size(); i += 2)
        palette[i] &= 0x7F;
    return palette;
}

Palette16 ColoursOf(const PaletteWords16& words) {
    Palette16 colours{};
    for (std::size_t i = 0; i < words.size(); ++i)
        colours[i] = WordToColor(words[i]);
    return colours;
}

std::string ShowLines(const PaletteWords16& words, std::size_t count = 16) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb rgb = SplitColor(WordToColor(words[i]));
        text += std::to_string(i) + "\t" + WordHexText(words[i]) + "\t" + std::to_string(rgb.red) +
                "\t" + std::to_string(rgb.green) + "\t" + std::to_string(rgb.blue) + "\n";
    }
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

class Cli : public ::testing::Test {
  protected:
    CliRun Run(const std::vector<std::string>& args) { return RunWith(BuiltCli(), args); }
    CliRun RunWith(const std::string& program, const std::vector<std::string>& args) {
        return RunProgram(program, args, scratch_);
    }
    std::string Dump(const std::string& name = "palettes.dmp") {
        return files_.Write(name, PatternBytes(kDumpSize));
    }

    static void ExpectFailure(const CliRun& run, const std::string& line) {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "zandrel-cli: " + line + "\n");
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    }
    static void ExpectUsage(const CliRun& run, const std::string& line) {
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "zandrel-cli: " + line + "\n" + cli::UsageText());
    }
    static void ExpectSuccess(const CliRun& run, const std::string& out) {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, out);
    }

    TempDir files_;
    TempDir scratch_;
};

const std::string kNotIdentified = text::kNotIdentified;
const std::string kFewerThan16 = text::kFewerThan16;

} // namespace

// --- identify and list ---

TEST_F(Cli, IdentifyPrintsTheTitleOfEachGameCode) {
    const struct {
        const char* code;
        const char* title;
    } cases[] = {{"AQXE", "Torvale (US)"},
                 {"AWQE", "Torvale 2 (US)"},
                 {"BZQE", "Torvale 3 (US)"},
                 {"BKRJ", "Kemrith (J)"},
                 {"AQXJ", "Torvale (J)"}};
    for (const auto& c : cases)
        ExpectSuccess(Run({"identify", files_.Write("rom.gba", RomWithCode(c.code))}),
                      std::string(c.title) + "\n");
}

TEST_F(Cli, IdentifyTakesADumpNameInAnyCaseWhateverItHolds) {
    ExpectSuccess(Run({"identify", files_.Write("game.DmP", RomWithCode("AQXE"))}),
                  "MEMORY DUMP\n");
}

TEST_F(Cli, IdentifyRefusesAnUnknownLowerCaseOrIncompleteCodeWithTheWindowsText) {
    for (const std::string& path : {files_.Write("other.gba", RomWithCode("ZZZZ")),
                                    files_.Write("lower.gba", RomWithCode("aqxe")),
                                    files_.Write("tiny.gba", std::vector<std::uint8_t>(175, 'A'))})
        ExpectFailure(Run({"identify", path}), Quoted(path) + ": " + kNotIdentified);
}

TEST_F(Cli, AMissingFileIsNamedAndNotCreated) {
    const std::string path = files_.File("missing.dmp");
    ExpectFailure(Run({"identify", path}),
                  "Não foi possível ler o arquivo " + Quoted(path) + ". No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    ExpectFailure(Run({"show", path, "@0"}),
                  "Não foi possível ler o arquivo " + Quoted(path) + ". No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Cli, ListOfADumpPrintsTheThirtyTwoEntriesOfTheShippedDefinitions) {
    const CliRun run = Run({"list", Dump()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 32);
    EXPECT_TRUE(run.out.starts_with("0\t16\t0\tFundo 00\n1\t16\t20\tFundo 01\n"));
    EXPECT_TRUE(run.out.ends_with("31\t16\t3E0\tObjetos (sprites) 15\n"));
}

TEST_F(Cli, ListKeepsTheDefinitionTextsAsWrittenAndSkipsComments) {
    const std::string program = ProgramWithDefinitions(
        files_, {{"TORV_E.ZNDL", "; comment\r\n16,1A0,Hero, walking\r\n 4,20,  Blanks\r\n"}});
    ExpectSuccess(RunWith(program, {"list", files_.Write("rom.gba", RomWithCode("AQXE"))}),
                  "0\t16\t1A0\tHero, walking\n1\t 4\t20\t  Blanks\n");
}

TEST_F(Cli, ListOfAGameWithOnlyCommentsPrintsNothing) {
    ExpectSuccess(Run({"list", files_.Write("rom.gba", RomWithCode("BKRJ"))}), "");
}

TEST_F(Cli, ListRefusesAnUnidentifiedFile) {
    const std::string path = files_.Write("rom.gba", RomWithCode("XXXX"));
    ExpectFailure(Run({"list", path}), Quoted(path) + ": " + kNotIdentified);
}

TEST_F(Cli, BrokenOrMissingDefinitionFileIsNamedWithItsLine) {
    const std::string rom = files_.Write("rom.gba", RomWithCode("AQXE"));
    const std::string program =
        ProgramWithDefinitions(files_, {{"TORV_E.ZNDL", "16,0,A\r\n\r\n16,20,B\r\n"}});
    const std::string definition =
        (std::filesystem::path(program).parent_path() / "TORV_E.ZNDL").string();
    ExpectFailure(RunWith(program, {"list", rom}),
                  "Arquivo de definições " + Quoted(definition) +
                      ", linha 2: a linha não tem vírgula (esperado: cores,localização,nome). A "
                      "lista foi carregada até a linha anterior.");
    // A row before the broken line is not used either: the file must be mended first.
    ExpectFailure(RunWith(program, {"show", rom, "0"}),
                  "Arquivo de definições " + Quoted(definition) +
                      ", linha 2: a linha não tem vírgula (esperado: cores,localização,nome). A "
                      "lista foi carregada até a linha anterior.");

    std::filesystem::remove(definition);
    ExpectFailure(RunWith(program, {"list", rom}), "Não foi possível ler o arquivo de definições " +
                                                       Quoted(definition) +
                                                       ". No such file or directory");
}

// --- show and bytes ---

TEST_F(Cli, ShowPrintsIndexWordAndExpandedComponentsWithBit15Dropped) {
    std::vector<std::uint8_t> bytes(64, 0);
    const std::vector<std::uint8_t> palette = {0xFF, 0x7F, 0x1F, 0x00, 0x00, 0xFC, 0x21, 0x84};
    std::copy(palette.begin(), palette.end(), bytes.begin() + 0x10);
    const std::string path = files_.Write("any.bin", bytes);
    const CliRun run = Run({"show", path, "@10"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("0\t7FFF\t255\t255\t255\n"
                                    "1\t001F\t255\t0\t0\n"
                                    "2\t7C00\t0\t0\t255\n"
                                    "3\t0421\t8\t8\t8\n"
                                    "4\t0000\t0\t0\t0\n"))
        << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 16);
}

TEST_F(Cli, ShowOfADumpRowReadsTheRowsLocation) {
    ExpectSuccess(Run({"show", Dump(), "1"}), ShowLines(PatternWords(0x20)));
    const CliRun run = Run({"show", Dump(), "1"});
    EXPECT_TRUE(run.out.starts_with("0\t6AE3\t24\t189\t214\n1\t78F1\t140\t57\t247\n"));
}

TEST_F(Cli, AtLocationIsUpperCasedReadsSixteenColoursAndNeedsNoIdentification) {
    const std::string path = files_.Write("anything.bin", PatternBytes(kDumpSize));
    ExpectSuccess(Run({"show", path, "@1f0"}), ShowLines(PatternWords(0x1F0)));
    ExpectSuccess(Run({"show", path, "@3"}), ShowLines(PatternWords(3)));
    ExpectSuccess(Run({"show", path, "@0000"}), ShowLines(PatternWords(0)));
}

TEST_F(Cli, ShowUsesTheDefinitionsCountFromOneToSixteen) {
    const std::string program = ProgramWithDefinitions(
        files_, {{"MEMORYDUMP.ZNDL", "4,20,Four\r\n1,40,One\r\n20,0,Twenty\r\n0,0,None\r\n"}});
    const std::string dump = Dump();
    ExpectSuccess(RunWith(program, {"show", dump, "0"}), ShowLines(PatternWords(0x20), 4));
    ExpectSuccess(RunWith(program, {"show", dump, "1"}), ShowLines(PatternWords(0x40), 1));
    ExpectSuccess(RunWith(program, {"show", dump, "2"}), ShowLines(PatternWords(0), 16));
    ExpectFailure(RunWith(program, {"show", dump, "3"}),
                  Quoted(dump) + ": a paleta 3 não tem cores (contagem \"0\")");
}

TEST_F(Cli, ARowPaletteOfAnUnidentifiedFileFailsWithTheWindowsText) {
    const std::string path = files_.Write("rom.gba", RomWithCode("NOPE"));
    for (const char* command : {"show", "bytes"})
        ExpectFailure(Run({command, path, "0"}), Quoted(path) + ": " + kNotIdentified);
}

TEST_F(Cli, ARowPastTheDefinitionsIsRefused) {
    const std::string dump = Dump();
    ExpectFailure(Run({"show", dump, "32"}),
                  Quoted(dump) + ": não há paleta 32; \"MEMORYDUMP.ZNDL\" tem 32 paletas");
}

TEST_F(Cli, BytesPrintsTheViewersRowsOnePerLine) {
    const std::string dump = Dump();
    ExpectSuccess(Run({"bytes", dump, "0"}), "03 0A 11 18 1F 26 2D 34 3B 42 49 50 57 5E 65 6C\n"
                                             "73 7A 81 88 8F 96 9D A4 AB B2 B9 C0 C7 CE D5 DC\n");
    ExpectSuccess(Run({"bytes", dump, "@3e0"}),
                  "23 2A 31 38 3F 46 4D 54 5B 62 69 70 77 7E 85 8C\n"
                  "93 9A A1 A8 AF B6 BD C4 CB D2 D9 E0 E7 EE F5 FC\n");
}

TEST_F(Cli, BytesTakesTheViewersCountAndZerosPastTheEnd) {
    const std::string program = ProgramWithDefinitions(
        files_,
        {{"MEMORYDUMP.ZNDL", "4,0,Four\r\n8,0,Eight\r\n20,0,Twenty\r\n0,0,None\r\n2,3FE,End\r\n"}});
    const std::string dump = Dump();
    ExpectSuccess(RunWith(program, {"bytes", dump, "0"}), "03 0A 11 18 1F 26 2D 34\n");
    ExpectSuccess(RunWith(program, {"bytes", dump, "1"}),
                  "03 0A 11 18 1F 26 2D 34 3B 42 49 50 57 5E 65 6C\n");
    const CliRun twenty = RunWith(program, {"bytes", dump, "2"});
    EXPECT_EQ(twenty.status, 0);
    EXPECT_EQ(twenty.out.size(), 48u + 24u * 3u);
    EXPECT_TRUE(twenty.out.ends_with(" 0D 14\n")) << twenty.out; // bytes 38 and 39
    ExpectSuccess(RunWith(program, {"bytes", dump, "3"}), "");
    ExpectSuccess(RunWith(program, {"bytes", dump, "4"}), "F5 FC 00 00\n");
}

// --- usage ---

TEST_F(Cli, UsageErrorsExitWithTwoAndPrintTheUsage) {
    const std::string dump = Dump();
    ExpectUsage(Run({}), "falta o comando");
    ExpectUsage(Run({"paint", dump}), "comando desconhecido \"paint\"");
    ExpectUsage(Run({"show", dump}), "show: esperados 2 argumentos, recebidos 1");
    ExpectUsage(Run({"export", dump, "0"}), "export: esperados 3 argumentos, recebidos 2");
    ExpectUsage(Run({"set", dump, "0"}), "set: esperados FILE, PALETTE e ao menos um INDEX=WORD");
    for (const char* palette : {"x", "-1", "1.5", ""})
        ExpectUsage(Run({"show", dump, palette}),
                    "PALETTE " + Quoted(palette) +
                        ": esperado o número de uma paleta (0, 1, ...) ou @HEX");
    for (const char* palette : {"@", "@1G", "@ 10", "@0x10", "@80000000"})
        ExpectUsage(Run({"show", dump, palette}),
                    "PALETTE " + Quoted(palette) +
                        ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0");
}

TEST_F(Cli, HelpPrintsTheUsageOnStandardOutput) {
    ExpectSuccess(Run({"--help"}), cli::UsageText());
}

// --- export ---

TEST_F(Cli, ExportWritesTheWindowsThreeFormatsByteForByte) {
    const std::string dump = Dump();
    const Palette16 colours = ColoursOf(PatternWords(0x40));
    const struct {
        const char* name;
        PaletteFormat format;
    } cases[] = {{"out.gbapal", PaletteFormat::GbaRaw},
                 {"OUT.GBAPAL", PaletteFormat::GbaRaw},
                 {"out.Tpl", PaletteFormat::Tpl},
                 {"out.pal", PaletteFormat::Jasc}};
    for (const auto& c : cases) {
        const std::string out = files_.File(c.name);
        ExpectSuccess(Run({"export", dump, "2", out}), "");
        EXPECT_EQ(ReadBytes(out), PaletteFileBytes(c.format, colours)) << c.name;
    }
    // The raw palette is the file's own bytes with bit 15 cleared.
    EXPECT_EQ(ReadBytes(files_.File("out.gbapal")), StoredPalette(0x40));
}

TEST_F(Cli, ExportWritesGimpAndAdobeTables) {
    std::vector<std::uint8_t> bytes(64, 0);
    bytes[0] = 0x1F;  // red 31
    bytes[31] = 0x7C; // colour 15: blue 31
    const std::string path = files_.Write("any.bin", bytes);
    const std::string gpl = files_.File("out.GPL");
    ExpectSuccess(Run({"export", path, "@0", gpl}), "");
    std::string expected = "GIMP Palette\nName: @0\nColumns: 16\n#\n255   0   0\t001F\n";
    for (int i = 1; i < 15; ++i)
        expected += "  0   0   0\t0000\n";
    expected += "  0   0 255\t7C00\n";
    const std::vector<std::uint8_t> written = ReadBytes(gpl);
    EXPECT_EQ(std::string(written.begin(), written.end()), expected);

    const std::string act = files_.File("out.act");
    ExpectSuccess(Run({"export", path, "@0", act}), "");
    std::vector<std::uint8_t> table(768, 0);
    table[0] = 255;
    table[47] = 255;
    EXPECT_EQ(ReadBytes(act), table);
}

TEST_F(Cli, ExportNamesTheGimpPaletteAfterTheDefinition) {
    const std::string gpl = files_.File("x.gpl");
    ExpectSuccess(Run({"export", Dump(), "17", gpl}), "");
    const std::vector<std::uint8_t> written = ReadBytes(gpl);
    EXPECT_TRUE(std::string(written.begin(), written.end())
                    .starts_with("GIMP Palette\nName: Objetos (sprites) 01\n"));
}

TEST_F(Cli, ExportOverwritesAnOlderLongerFileWhole) {
    const std::string out = files_.Write("old.gbapal", std::vector<std::uint8_t>(100, 0xEE));
    ExpectSuccess(Run({"export", Dump(), "0", out}), "");
    EXPECT_EQ(ReadBytes(out).size(), 32u);
}

TEST_F(Cli, ExportRefusesFewerThanSixteenColoursUnknownExtensionsAndFileItself) {
    const std::string program =
        ProgramWithDefinitions(files_, {{"MEMORYDUMP.ZNDL", "15,0,Short\r\n16,20,Full\r\n"}});
    const std::string dump = Dump();
    const std::string out = files_.File("short.pal");
    ExpectFailure(RunWith(program, {"export", dump, "0", out}), Quoted(dump) + ": " + kFewerThan16);
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string txt = files_.File("out.txt");
    ExpectFailure(RunWith(program, {"export", dump, "1", txt}),
                  Quoted(txt) + ": extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act");
    EXPECT_FALSE(std::filesystem::exists(txt));

    // A file that happens to carry a palette extension is never cut down to a palette.
    const std::string data = files_.Write("data.pal", PatternBytes(kDumpSize));
    const std::string link = files_.File("link.gbapal");
    std::filesystem::create_symlink(data, link);
    for (const std::string& target : {data, link}) {
        ExpectFailure(Run({"export", data, "@0", target}),
                      Quoted(target) + ": é o próprio arquivo " + Quoted(data) +
                          "; escolha outro arquivo de saída");
        EXPECT_EQ(ReadBytes(data), PatternBytes(kDumpSize));
    }
}

TEST_F(Cli, ExportToAFolderFailsNamingIt) {
    const std::string folder = files_.File("folder.pal");
    std::filesystem::create_directory(folder);
    ExpectFailure(Run({"export", Dump(), "0", folder}), "Não foi possível gravar no arquivo " +
                                                            Quoted(folder) +
                                                            ". Nada foi alterado. Is a directory");
}

// --- import ---

TEST_F(Cli, EveryFormatRoundTripsIntoAnotherPaletteChangingNothingElse) {
    const std::string source = Dump("source.dmp");
    for (const char* name : {"p.gbapal", "p.tpl", "p.pal", "p.gpl", "p.act"}) {
        const std::string file = files_.File(name);
        ExpectSuccess(Run({"export", source, "3", file}), "");
        const std::string target = Dump("target.dmp");
        ExpectSuccess(Run({"import", target, "5", file}), "");

        std::vector<std::uint8_t> expected = PatternBytes(kDumpSize);
        const std::vector<std::uint8_t> palette = StoredPalette(0x60);
        std::copy(palette.begin(), palette.end(), expected.begin() + 0xA0);
        EXPECT_EQ(ReadBytes(target), expected) << name;
    }
}

TEST_F(Cli, ImportOfFiveBitTimesEightColoursDividesByEight) {
    // 248 is 31 x 8; ReduceComponent would make it 30.
    std::string gimp = "GIMP Palette\n248 0 8\n";
    std::string jasc = "JASC-PAL\n0100\n16\n248 0 8\n";
    for (int i = 1; i < 16; ++i) {
        gimp += "0 0 0\n";
        jasc += i == 15 ? "0 0 1\n" : "0 0 0\n"; // one component off the multiples of 8
    }
    const std::string dump = Dump();
    ExpectSuccess(Run({"import", dump, "@0", files_.WriteText("a.gpl", gimp)}), "");
    std::vector<std::uint8_t> bytes = ReadBytes(dump);
    EXPECT_EQ(bytes[0], 0x1F); // red 31, blue 1: 0x041F
    EXPECT_EQ(bytes[1], 0x04);
    ExpectSuccess(Run({"import", dump, "@0", files_.WriteText("a.pal", jasc)}), "");
    bytes = ReadBytes(dump);
    EXPECT_EQ(bytes[0], 0x1E); // red 30, blue 1: 0x041E
    EXPECT_EQ(bytes[1], 0x04);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 2, bytes.begin() + 32),
              std::vector<std::uint8_t>(30, 0));
    EXPECT_EQ(bytes.size(), kDumpSize);
}

TEST_F(Cli, ImportRawPaletteUsesItsFirstThirtyTwoBytesAndDropsBit15) {
    std::vector<std::uint8_t> raw(40, 0x11);
    raw[0] = 0xFF;
    raw[1] = 0xFF;
    const std::string dump = Dump();
    ExpectSuccess(Run({"import", dump, "0", files_.Write("in.GbaPal", raw)}), "");
    std::vector<std::uint8_t> expected = PatternBytes(kDumpSize);
    std::fill(expected.begin(), expected.begin() + 32, 0x11);
    expected[0] = 0xFF;
    expected[1] = 0x7F;
    EXPECT_EQ(ReadBytes(dump), expected);
}

// Every refused import or set leaves FILE byte for byte as it was.
TEST_F(Cli, MalformedImportFilesAreNamedWithTheirLineOrOffsetAndChangeNothing) {
    const struct {
        const char* name;
        std::string content;
        const char* error;
    } cases[] = {
        {"a.pal", "JASC-PAL\r\n0100\r\n16\r\n0 0 0\r\n",
         "linha 5: o arquivo termina depois de 1 cores; são necessárias 16"},
        {"b.pal", "JASC\r\n", "linha 1: falta o cabeçalho \"JASC-PAL\""},
        {"c.gpl", "0 0 0\n", "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {"d.gpl", "GIMP Palette\n0 0 300\n", "linha 2: o componente 300 está fora de 0 a 255"},
        {"e.act", std::string(767, '\0'),
         "offset 767: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {"f.tpl", "TPL", "offset 3: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {"g.gbapal", std::string(31, '\x10'),
         "offset 31: o arquivo termina antes dos 32 bytes de uma paleta GBA"},
    };
    const std::string dump = Dump();
    for (const auto& c : cases) {
        const std::string in = files_.WriteText(c.name, c.content);
        ExpectFailure(Run({"import", dump, "0", in}), Quoted(in) + ": " + c.error);
        EXPECT_EQ(ReadBytes(dump), PatternBytes(kDumpSize)) << c.name;
    }
}

TEST_F(Cli, ImportRefusalsLeaveTheFileUnchanged) {
    const std::string program =
        ProgramWithDefinitions(files_, {{"MEMORYDUMP.ZNDL", "8,0,Short\r\n16,3F0,Past end\r\n"}});
    const std::string dump = Dump();
    const std::string in = files_.Write("in.gbapal", std::vector<std::uint8_t>(32, 0));

    ExpectFailure(RunWith(program, {"import", dump, "0", in}), Quoted(dump) + ": " + kFewerThan16);
    ExpectFailure(
        RunWith(program, {"import", dump, "1", in}),
        "A paleta na localização 3F0 (32 bytes) passa do fim do arquivo " + Quoted(dump) +
            ", que tem 1024 bytes. Nada foi gravado, para não mudar o tamanho do arquivo.");
    ExpectFailure(
        Run({"import", dump, "@3E1", in}),
        "A paleta na localização 3E1 (32 bytes) passa do fim do arquivo " + Quoted(dump) +
            ", que tem 1024 bytes. Nada foi gravado, para não mudar o tamanho do arquivo.");
    const std::string missing = files_.File("missing.act");
    ExpectFailure(Run({"import", dump, "0", missing}), "Não foi possível ler o arquivo " +
                                                           Quoted(missing) +
                                                           ". No such file or directory");
    const std::string txt = files_.Write("in.txt", std::vector<std::uint8_t>(32, 0));
    ExpectFailure(Run({"import", dump, "0", txt}),
                  Quoted(txt) + ": extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act");
    const std::string rom = files_.Write("rom.gba", RomWithCode("QQQQ"));
    ExpectFailure(Run({"import", rom, "0", in}), Quoted(rom) + ": " + kNotIdentified);
    EXPECT_EQ(ReadBytes(rom), RomWithCode("QQQQ"));
    EXPECT_EQ(ReadBytes(dump), PatternBytes(kDumpSize));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(Cli, ImportIntoAReadOnlyFileFailsAndWritesNothing) {
    const std::string dump = Dump();
    std::filesystem::permissions(dump, std::filesystem::perms::owner_read);
    const std::string in = files_.Write("in.gbapal", std::vector<std::uint8_t>(32, 0));
    ExpectFailure(Run({"import", dump, "0", in}), "Não foi possível gravar no arquivo " +
                                                      Quoted(dump) +
                                                      ". Nada foi alterado. Permission denied");
    ExpectFailure(Run({"set", dump, "0", "0=7FFF"}), "Não foi possível gravar no arquivo " +
                                                         Quoted(dump) +
                                                         ". Nada foi alterado. Permission denied");
    EXPECT_EQ(ReadBytes(dump), PatternBytes(kDumpSize));
}

// --- set ---

TEST_F(Cli, SetWritesOnlyTheGivenWordsLeavingTheOthersBit15Included) {
    const std::string dump = Dump();
    ExpectSuccess(Run({"set", dump, "1", "0=7fff", "3=1F", "3=0421", "15=0"}), "");
    std::vector<std::uint8_t> expected = PatternBytes(kDumpSize);
    expected[0x20] = 0xFF;
    expected[0x21] = 0x7F;
    expected[0x26] = 0x21; // the later 3= wins
    expected[0x27] = 0x04;
    expected[0x3E] = 0x00;
    expected[0x3F] = 0x00;
    const std::vector<std::uint8_t> bytes = ReadBytes(dump);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes[0x23], PatternBytes(kDumpSize)[0x23]); // 0xF1: bit 15 kept between them
}

TEST_F(Cli, SetWorksOnShortPalettesWithinTheirCount) {
    const std::string program =
        ProgramWithDefinitions(files_, {{"MEMORYDUMP.ZNDL", "4,100,Four\r\n"}});
    const std::string dump = Dump();
    ExpectSuccess(RunWith(program, {"set", dump, "0", "3=7C00"}), "");
    std::vector<std::uint8_t> expected = PatternBytes(kDumpSize);
    expected[0x106] = 0x00;
    expected[0x107] = 0x7C;
    EXPECT_EQ(ReadBytes(dump), expected);
    ExpectSuccess(RunWith(program, {"show", dump, "0"}),
                  ShowLines(PatternWords(0x100), 3) + "3\t7C00\t0\t0\t255\n");

    ExpectFailure(RunWith(program, {"set", dump, "0", "1=0", "4=0"}),
                  Quoted(dump) + ": o índice 4 não está na paleta 0, que tem 4 cores (0 a 3)");
    EXPECT_EQ(ReadBytes(dump), expected);
}

TEST_F(Cli, SetRefusesBadWordsAndBytesPastTheEndChangingNothing) {
    const std::string dump = Dump();
    for (const char* assignment : {"3", "=1", "3=", "a=1", "3=G", "-1=0", "3=0x10"})
        ExpectUsage(Run({"set", dump, "0", "0=0", assignment}),
                    "INDEX=WORD " + Quoted(assignment) +
                        ": esperado um índice decimal e uma cor hex, como 3=7FFF");
    ExpectUsage(Run({"set", dump, "0", "0=8000"}), "INDEX=WORD \"0=8000\": a cor passa de 7FFF");
    ExpectFailure(
        Run({"set", dump, "@3F0", "0=0", "8=0"}),
        "A paleta na localização 3F0 (18 bytes) passa do fim do arquivo " + Quoted(dump) +
            ", que tem 1024 bytes. Nada foi gravado, para não mudar o tamanho do arquivo.");
    ExpectFailure(Run({"set", dump, "@0", "16=0"}),
                  Quoted(dump) + ": o índice 16 não está na paleta @0, que tem 16 cores (0 a 15)");
    EXPECT_EQ(ReadBytes(dump), PatternBytes(kDumpSize));
}

TEST_F(Cli, SetOnAFolderOrMissingFileCreatesNothing) {
    const std::string missing = files_.File("missing.dmp");
    ExpectFailure(Run({"set", missing, "0", "0=0"}), "Não foi possível ler o arquivo " +
                                                         Quoted(missing) +
                                                         ". No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(missing));
    const std::string folder = files_.File("folder.dmp");
    std::filesystem::create_directory(folder);
    ExpectFailure(Run({"set", folder, "0", "0=0"}),
                  "Não foi possível ler o arquivo " + Quoted(folder) + ". Is a directory");
}
