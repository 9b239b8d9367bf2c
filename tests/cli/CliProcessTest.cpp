// zandrel-cli run as a process on generated files: what it prints, its exit status and the
// bytes of every file afterwards. The formats and texts it shares with the window are
// checked with the core's tests; here, what the command line adds.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliHarness.h"
#include "TempDir.h"
#include "colour/Codec.h"
#include "palfiles/ExtraFormats.h"
#include "util/Messages.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

constexpr std::size_t kDumpSize = 1024;

// The 32 bytes at `location` of the pattern file as a palette write leaves them: bit 15 of
// every word cleared.
std::vector<std::uint8_t> StoredPalette(std::size_t location) {
    const std::vector<std::uint8_t> bytes = PatternBytes(location + 32);
    std::vector<std::uint8_t> palette(bytes.begin() + location, bytes.end());
    for (std::size_t i = 1; i < palette.size(); i += 2)
        palette[i] &= 0x7F;
    return palette;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

const std::string kNotIdentified = text::kNotIdentified;
const std::string kFewerThan16 = text::kFewerThan16;
const std::string kUnknownExtension =
    ": extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act";

std::string BeyondEnd(const char* location, int bytes, const std::string& path) {
    return "A paleta de " + std::to_string(bytes) + " bytes na localização " + location +
           " (hex) passa do fim do arquivo " + Quoted(path) +
           ", que tem 1024 bytes. Nada foi gravado, para não mudar o tamanho do arquivo.";
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
    // The program beside a memory-dump definition file of its own.
    std::string WithDumpDefinitions(const std::string& text) {
        return ProgramWithDefinitions(files_, {{"MEMORYDUMP.ZNDL", text}});
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

// --- identify and list ---

TEST_F(Cli, IdentifyPrintsTheTitleOrRefusesWithTheWindowsText) {
    ExpectSuccess(Run({"identify", files_.Write("rom.gba", RomWithCode("BKRJ"))}), "Kemrith (J)\n");
    // A dump is known by its name, whatever it holds.
    ExpectSuccess(Run({"identify", files_.Write("game.DmP", RomWithCode("AQXE"))}),
                  "MEMORY DUMP\n");
    for (const std::string& path : {files_.Write("other.gba", RomWithCode("ZZZZ")),
                                    files_.Write("tiny.gba", RomWithCode("AQXE", 175))})
        ExpectFailure(Run({"identify", path}), Quoted(path) + ": " + kNotIdentified);
}

TEST_F(Cli, AMissingFileIsNamedAndNotCreated) {
    const std::string path = files_.File("missing.dmp");
    const std::string line =
        "Não foi possível ler o arquivo " + Quoted(path) + ". No such file or directory";
    ExpectFailure(Run({"identify", path}), line);
    ExpectFailure(Run({"show", path, "@0"}), line);
    ExpectFailure(Run({"set", path, "0", "0=0"}), line);
    EXPECT_FALSE(std::filesystem::exists(path));
    const std::string folder = files_.File("folder.dmp");
    std::filesystem::create_directory(folder);
    ExpectFailure(Run({"set", folder, "0", "0=0"}),
                  "Não foi possível ler o arquivo " + Quoted(folder) + ". Is a directory");
}

TEST_F(Cli, ListPrintsTheDefinitionsAsWritten) {
    const CliRun run = Run({"list", Dump()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out), 32u);
    EXPECT_TRUE(run.out.starts_with("0\t16\t0\tFundo 00\n1\t16\t20\tFundo 01\n"));
    EXPECT_TRUE(run.out.ends_with("31\t16\t3E0\tObjetos (sprites) 15\n"));

    // Comments are skipped, the texts kept as written; a game with only comments lists nothing.
    const std::string program = ProgramWithDefinitions(
        files_, {{"TORV_E.ZNDL", "; comment\r\n16,1A0,Hero, walking\r\n 4,20,  Blanks\r\n"}});
    ExpectSuccess(RunWith(program, {"list", files_.Write("rom.gba", RomWithCode("AQXE"))}),
                  "0\t16\t1A0\tHero, walking\n1\t 4\t20\t  Blanks\n");
    ExpectSuccess(Run({"list", files_.Write("k.gba", RomWithCode("BKRJ"))}), "");
    const std::string unknown = files_.Write("x.gba", RomWithCode("XXXX"));
    ExpectFailure(Run({"list", unknown}), Quoted(unknown) + ": " + kNotIdentified);
}

TEST_F(Cli, BrokenOrMissingDefinitionFileIsNamedWithItsLine) {
    const std::string rom = files_.Write("rom.gba", RomWithCode("AQXE"));
    const std::string program = ProgramWithDefinitions(
        files_, {{"TORV_E.ZNDL", "16,0,A\r\n\r\n16,20,B\r\n"}, {"MEMORYDUMP.ZNDL", ""}});
    const std::string definition =
        (std::filesystem::path(program).parent_path() / "TORV_E.ZNDL").string();
    // A row before the broken line is not used either: the file must be mended first.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", rom}, std::vector<std::string>{"show", rom, "0"}})
        ExpectFailure(RunWith(program, args),
                      "Arquivo de definições " + Quoted(definition) +
                          ", linha 2: a linha não tem vírgula (esperado: cores,localização,nome). "
                          "Nada foi lido; corrija o arquivo.");

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
    const CliRun run = Run({"show", files_.Write("any.bin", bytes), "@10"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("0\t7FFF\t255\t255\t255\n"
                                    "1\t001F\t255\t0\t0\n"
                                    "2\t7C00\t0\t0\t255\n"
                                    "3\t0421\t8\t8\t8\n"
                                    "4\t0000\t0\t0\t0\n"))
        << run.out;
    EXPECT_EQ(Lines(run.out), 16u);
}

TEST_F(Cli, ShowReadsARowsLocationAndCountOrSixteenColoursAtAnyLocation) {
    const std::string dump = Dump();
    const struct {
        std::string palette;
        std::size_t lines;
        const char* first;
    } cases[] = {
        {"1", 16, "0\t6AE3\t24\t189\t214\n1\t78F1\t140\t57\t247\n"}, // the row at 20
        // A location is upper-cased and needs no identification.
        {"@1f0", 16, "0\t1A93\t156\t165\t49\n"},
        {"@1F0", 16, "0\t1A93\t156\t165\t49\n"},
        {"@3", 16, "0\t1F18\t198\t198\t57\n"},
        {"@0000", 16, "0\t0A03\t24\t132\t16\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run({"show", dump, c.palette});
        EXPECT_EQ(run.status, 0) << c.palette << run.err;
        EXPECT_EQ(Lines(run.out), c.lines) << c.palette;
        EXPECT_TRUE(run.out.starts_with(c.first)) << c.palette << run.out;
    }

    // The definition's count, from one to sixteen.
    const std::string program =
        WithDumpDefinitions("4,20,Four\r\n1,40,One\r\n20,0,Twenty\r\n0,0,None\r\n");
    ExpectSuccess(RunWith(program, {"show", dump, "0"}), "0\t6AE3\t24\t189\t214\n"
                                                         "1\t78F1\t140\t57\t247\n"
                                                         "2\t06FF\t255\t189\t8\n"
                                                         "3\t140D\t107\t0\t41\n");
    ExpectSuccess(RunWith(program, {"show", dump, "1"}), "0\t4AC3\t24\t181\t148\n");
    EXPECT_EQ(Lines(RunWith(program, {"show", dump, "2"}).out), 16u);
    ExpectFailure(RunWith(program, {"show", dump, "3"}),
                  Quoted(dump) + ": a paleta 3 não tem cores (contagem \"0\")");
}

TEST_F(Cli, ARowOfAnUnidentifiedFileOrPastTheDefinitionsIsRefused) {
    const std::string path = files_.Write("rom.gba", RomWithCode("NOPE"));
    for (const char* command : {"show", "bytes"})
        ExpectFailure(Run({command, path, "0"}), Quoted(path) + ": " + kNotIdentified);
    const std::string dump = Dump();
    ExpectFailure(Run({"show", dump, "32"}),
                  Quoted(dump) + ": não há paleta 32; \"MEMORYDUMP.ZNDL\" tem 32 paletas");
}

TEST_F(Cli, BytesPrintsTheViewersRowsOnePerLineWithItsCount) {
    const std::string dump = Dump();
    const std::string row0 = "03 0A 11 18 1F 26 2D 34 3B 42 49 50 57 5E 65 6C\n";
    ExpectSuccess(Run({"bytes", dump, "0"}),
                  row0 + "73 7A 81 88 8F 96 9D A4 AB B2 B9 C0 C7 CE D5 DC\n");
    ExpectSuccess(Run({"bytes", dump, "@3e0"}),
                  "23 2A 31 38 3F 46 4D 54 5B 62 69 70 77 7E 85 8C\n"
                  "93 9A A1 A8 AF B6 BD C4 CB D2 D9 E0 E7 EE F5 FC\n");

    const std::string program =
        WithDumpDefinitions("4,0,Four\r\n8,0,Eight\r\n20,0,Twenty\r\n0,0,None\r\n2,3FE,End\r\n");
    ExpectSuccess(RunWith(program, {"bytes", dump, "0"}), "03 0A 11 18 1F 26 2D 34\n");
    ExpectSuccess(RunWith(program, {"bytes", dump, "1"}), row0);
    const CliRun twenty = RunWith(program, {"bytes", dump, "2"});
    EXPECT_EQ(twenty.out.size(), 48u + 24u * 3u);
    EXPECT_TRUE(twenty.out.ends_with(" 0D 14\n")) << twenty.out; // bytes 38 and 39
    ExpectSuccess(RunWith(program, {"bytes", dump, "3"}), "");
    ExpectSuccess(RunWith(program, {"bytes", dump, "4"}), "F5 FC 00 00\n"); // zeros past the end
}

// --- usage ---

TEST_F(Cli, UsageErrorsExitWithTwoAndPrintTheUsage) {
    const std::string dump = Dump();
    ExpectSuccess(Run({"--help"}), cli::UsageText());
    ExpectSuccess(Run({"--version"}), "zandrel-cli 1.0.11\n");
    ExpectUsage(Run({"--version", dump}), "comando desconhecido \"--version\"");
    ExpectUsage(Run({}), "falta o comando");
    ExpectUsage(Run({"paint", dump}), "comando desconhecido \"paint\"");
    ExpectUsage(Run({"show", dump}), "show: esperados 2 argumentos, recebidos 1");
    ExpectUsage(Run({"export", dump, "0"}), "export: esperados 3 argumentos, recebidos 2");
    ExpectUsage(Run({"set", dump, "0"}), "set: esperados FILE, PALETTE e ao menos um INDEX=WORD");
    for (const char* palette : {"x", "-1", "1.5", ""})
        ExpectUsage(Run({"show", dump, palette}),
                    "PALETTE " + Quoted(palette) +
                        ": esperado o número de uma paleta (0, 1, ...) ou @HEX");
    for (const char* palette : {"@", "@1G", "@ 10", "@0x10", "@80000000", "@LZ:", "@lz:10",
                                "@LZ:10+", "@LZ:10+3", "@LZ:10+20000"})
        ExpectUsage(Run({"show", dump, palette}),
                    "PALETTE " + Quoted(palette) +
                        ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0, ou um bloco "
                        "comprimido, como @LZ:3B8A8C+20");
    ExpectUsage(Run({"scan", dump, "--min", "101"}), "scan: --min espera uma pontuação de 0 a 100");
    ExpectUsage(Run({"scan", "--raw-only", dump, "--compressed-only"}),
                "scan: --raw-only e --compressed-only não se combinam");
    for (const char* assignment : {"3", "=1", "3=", "a=1", "3=G", "-1=0", "3=0x10"})
        ExpectUsage(Run({"set", dump, "0", "0=0", assignment}),
                    "INDEX=WORD " + Quoted(assignment) +
                        ": esperado um índice decimal e uma cor hex, como 3=7FFF");
    ExpectUsage(Run({"set", dump, "0", "0=8000"}), "INDEX=WORD \"0=8000\": a cor passa de 7FFF");
    EXPECT_EQ(ReadBytes(dump), PatternBytes(kDumpSize));
}

// --- export ---

TEST_F(Cli, ExportWritesEveryFormatNamedByTheDefinitionOverAnyOlderFile) {
    Palette16 colours{};
    const std::vector<std::uint8_t> pattern = PatternBytes(kDumpSize);
    for (std::size_t i = 0; i < 16; ++i)
        colours[i] = WordToColor(StoredWord(pattern, 0x40 + 2 * i));
    const std::string dump = Dump();
    for (const char* name :
         {"out.gbapal", "OUT.GBAPAL", "out.Tpl", "out.pal", "out.GPL", "o.act"}) {
        // An older, longer file is replaced whole.
        const std::string out = files_.Write(name, std::vector<std::uint8_t>(1000, 0xEE));
        ExpectSuccess(Run({"export", dump, "2", out}), "");
        EXPECT_EQ(ReadBytes(out),
                  PaletteFileBytes(ExchangeFormatForName(name), colours, "Fundo 02"))
            << name;
    }
    // The raw palette is the file's own bytes with bit 15 cleared.
    EXPECT_EQ(ReadBytes(files_.File("out.gbapal")), StoredPalette(0x40));
    const std::vector<std::uint8_t> gpl = ReadBytes(files_.File("out.GPL"));
    EXPECT_TRUE(std::string(gpl.begin(), gpl.end()).starts_with("GIMP Palette\nName: Fundo 02\n"));
    ExpectSuccess(Run({"export", dump, "@40", files_.File("at.gpl")}), "");
    const std::vector<std::uint8_t> at = ReadBytes(files_.File("at.gpl"));
    EXPECT_TRUE(std::string(at.begin(), at.end()).starts_with("GIMP Palette\nName: @40\n"));
}

TEST_F(Cli, ExportRefusesFewerThanSixteenColoursUnknownExtensionsFileItselfAndFolders) {
    const std::string program = WithDumpDefinitions("15,0,Short\r\n16,20,Full\r\n");
    const std::string dump = Dump();
    const std::string out = files_.File("short.pal");
    ExpectFailure(RunWith(program, {"export", dump, "0", out}), Quoted(dump) + ": " + kFewerThan16);
    const std::string txt = files_.File("out.txt");
    ExpectFailure(RunWith(program, {"export", dump, "1", txt}), Quoted(txt) + kUnknownExtension);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(txt));

    // A file that happens to carry a palette extension is never cut down to a palette.
    const std::string data = files_.Write("data.pal", PatternBytes(kDumpSize));
    const std::string link = files_.File("link.gbapal");
    std::filesystem::create_symlink(data, link);
    for (const std::string& target : {data, link}) {
        ExpectFailure(Run({"export", data, "@0", target}),
                      Quoted(target) + ": é o próprio arquivo " + Quoted(data) +
                          "; escolha outro arquivo de saída. Nada foi gravado.");
        EXPECT_EQ(ReadBytes(data), PatternBytes(kDumpSize));
    }

    const std::string folder = files_.File("folder.pal");
    std::filesystem::create_directory(folder);
    ExpectFailure(Run({"export", dump, "0", folder}), "Não foi possível gravar no arquivo " +
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

// Every refused import or set leaves FILE byte for byte as it was. The readers' own texts
// are in ExtraFormatsTest.
TEST_F(Cli, ImportRefusalsNameTheFileAndChangeNothing) {
    const std::string program = WithDumpDefinitions("8,0,Short\r\n16,3F0,Past end\r\n");
    const std::string dump = Dump();
    const std::string in = files_.Write("in.gbapal", std::vector<std::uint8_t>(32, 0));

    ExpectFailure(RunWith(program, {"import", dump, "0", in}), Quoted(dump) + ": " + kFewerThan16);
    ExpectFailure(RunWith(program, {"import", dump, "1", in}), BeyondEnd("3F0", 32, dump));
    ExpectFailure(Run({"import", dump, "@3E1", in}), BeyondEnd("3E1", 32, dump));
    const std::string missing = files_.File("missing.act");
    ExpectFailure(Run({"import", dump, "0", missing}), "Não foi possível ler o arquivo " +
                                                           Quoted(missing) +
                                                           ". No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(missing));
    // INFILE is read by its content: a JASC text under a raw palette's name is no raw palette.
    const std::string broken = files_.WriteText("b.gbapal", "JASC-PAL\r\n0100\r\n16\r\n0 0 0\r\n");
    ExpectFailure(Run({"import", dump, "0", broken}),
                  Quoted(broken) +
                      ": linha 5: o arquivo termina depois de 1 cores; são necessárias 16");
    const std::string rom = files_.Write("rom.gba", RomWithCode("QQQQ"));
    ExpectFailure(Run({"import", rom, "0", in}), Quoted(rom) + ": " + kNotIdentified);
    EXPECT_EQ(ReadBytes(rom), RomWithCode("QQQQ"));
    EXPECT_EQ(ReadBytes(dump), PatternBytes(kDumpSize));
}

TEST_F(Cli, ImportOrSetIntoAReadOnlyFileFailsAndWritesNothing) {
    const std::string dump = Dump();
    std::filesystem::permissions(dump, std::filesystem::perms::owner_read);
    const std::string in = files_.Write("in.gbapal", std::vector<std::uint8_t>(32, 0));
    const std::string line = "Não foi possível gravar no arquivo " + Quoted(dump) +
                             ". Nada foi alterado. Permission denied";
    ExpectFailure(Run({"import", dump, "0", in}), line);
    ExpectFailure(Run({"set", dump, "0", "0=7FFF"}), line);
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
    EXPECT_EQ(ReadBytes(dump), expected); // 0x23 keeps 0xF1: bit 15 kept between them
}

TEST_F(Cli, SetStaysWithinTheCountAndTheFile) {
    const std::string program = WithDumpDefinitions("4,100,Four\r\n");
    const std::string dump = Dump();
    ExpectSuccess(RunWith(program, {"set", dump, "0", "3=7C00"}), "");
    std::vector<std::uint8_t> expected = PatternBytes(kDumpSize);
    expected[0x106] = 0x00;
    expected[0x107] = 0x7C;
    EXPECT_EQ(ReadBytes(dump), expected);

    ExpectFailure(RunWith(program, {"set", dump, "0", "1=0", "4=0"}),
                  Quoted(dump) + ": o índice 4 não está na paleta 0, que tem 4 cores (0 a 3)");
    ExpectFailure(Run({"set", dump, "@0", "16=0"}),
                  Quoted(dump) + ": o índice 16 não está na paleta @0, que tem 16 cores (0 a 15)");
    ExpectFailure(Run({"set", dump, "@3F0", "0=0", "8=0"}), BeyondEnd("3F0", 18, dump));
    EXPECT_EQ(ReadBytes(dump), expected);
}

} // namespace

// --- scan and compressed palettes (strict rows: tools/hostile.sh) ---

// Scan's lines, saved as the definition file named after the ROM's code, make a list the
// other commands use at once, compressed rows included.
TEST_F(Cli, ScanLinesBecomeTheDefinitionFileOfTheRomsCode) {
    const std::string rom = files_.Write(
        "demo.gba", ReadBytes(std::string(ZANDREL_SOURCE_DIR) + "/examples/synthetic.gba"));
    const CliRun scan = Run({"scan", rom});
    EXPECT_TRUE(scan.out.starts_with("16,LZ:6290,Paleta comprimida LZ77 6290 (pontuação 100)\n"
                                     "16,LZ:6290+20,Paleta comprimida LZ77 6290+20 (pontuação "
                                     "100)\n16,C980,Paleta bruta C980 (pontuação 100)\n"));
    EXPECT_TRUE(Run({"scan", "--raw-only", rom, "--min", "99"})
                    .out.starts_with("16,C980,Paleta bruta C980 (pontuação 100)\n"));
    const std::string compressed = Run({"scan", rom, "--compressed-only"}).out;
    EXPECT_NE(compressed.find("comprimida"), std::string::npos);
    EXPECT_EQ(compressed.find("bruta"), std::string::npos);
    const std::string program = ProgramWithDefinitions(files_, {{"ZNDL.ZNDL", scan.out}});
    ExpectSuccess(RunWith(program, {"identify", rom}), "ZANDREL DEMO (ZNDL)\n");
    ExpectSuccess(RunWith(program, {"set", rom, "1", "0=7FFF", "15=001F"}), "");
    const CliRun bytes = RunWith(program, {"bytes", rom, "@LZ:6290+20"});
    EXPECT_TRUE(bytes.out.starts_with("FF 7F ") && bytes.out.ends_with(" 1F 00\n")) << bytes.out;
}
