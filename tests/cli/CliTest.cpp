// zandrel-cli run as a process: its arguments, exit statuses, output formats and own
// refusals. The formats, messages and writes it shares with the window are the core's tests.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "Cli.h"
#include "CliCommands.h"
#include "TempDir.h"
#include "platform/SystemError.h"
#include "png/Png.h"
#include "rom/Identify.h"
#include "rom/Lz77.h"
#include "rom/Lz77Encoder.h"
#include "util/Hex.h"
#include "util/Messages.h"
#include "util/Text.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

struct CliRun {
    int status = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string ShellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

class Cli : public ::testing::Test {
  protected:
    // Runs `program` through the shell with its standard output going to `outPath` (a
    // scratch file by default) and its standard input read from `inPath`; the user's data
    // folder is the test's own, UserFolder().
    CliRun RunWith(const std::string& program, const std::vector<std::string>& args,
                   std::string outPath = {}, const std::string& inPath = "/dev/null") {
        const bool captured = outPath.empty();
        if (captured)
            outPath = scratch_.File("stdout");
        const std::string errPath = scratch_.File("stderr");
        std::string command =
            "XDG_DATA_HOME=" + ShellWord(files_.File("data")) + " " + ShellWord(program);
        for (const std::string& arg : args)
            command += " " + ShellWord(arg);
        const int status = std::system((command + " >" + ShellWord(outPath) + " 2>" +
                                        ShellWord(errPath) + " <" + ShellWord(inPath))
                                           .c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, captured ? ReadText(outPath) : "",
                ReadText(errPath)};
    }
    CliRun Run(const std::vector<std::string>& args) { return RunWith(ZANDREL_CLI_PATH, args); }
    std::string UserFolder() const { return files_.File("data/zandrel"); }

    // A copy of the program beside a memory dump definition file of the test's own.
    std::string WithDumpDefinitions(const std::string& text) {
        const std::filesystem::path folder = files_.path() / "program";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(ZANDREL_CLI_PATH, folder / "zandrel-cli");
        std::ofstream(folder / "MEMORYDUMP.ZNDL", std::ios::binary) << text;
        return (folder / "zandrel-cli").string();
    }
    std::string Dump() { return files_.Write("palettes.dmp", PatternBytes(1024)); }
    std::string Synthetic() {
        return files_.Write("rom.gba", ReadBytes(ZANDREL_SOURCE_DIR "/examples/synthetic.gba"));
    }

    static void ExpectSuccess(const CliRun& run, const std::string& out) {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, out);
    }
    // Exit 1, nothing printed, one line naming the fault.
    static void ExpectFailure(const CliRun& run, const std::string& line) {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "zandrel-cli: " + line + "\n");
    }

    TempDir files_;
    TempDir scratch_;
};

// Alone, -h, --help or help give the general usage; anywhere after a command, -h or --help give
// that command's line and the notes of its name and its usage's words, in the order of the notes.
TEST_F(Cli, HelpAndVersionPrintOnStandardOutput) {
    const auto note = [](std::string_view subject) {
        for (const cli::UsageNote& note : cli::UsageNotes())
            if (note.subject == subject)
                return std::string(subject) + ": " + note.text;
        return std::string("no note ") + std::string(subject);
    };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-h"}, cli::UsageText()},
        {{"--help"}, cli::UsageText()},
        {{"help"}, cli::UsageText()},
        {{"--version"}, "zandrel-cli 1.00.0011\n"},
        {{"set", "missing.gba", "-h", "0=zz"},
         "Uso: zandrel-cli set FILE PALETTE INDEX=COLOUR [INDEX=COLOUR ...]\n" + note("PALETTE") +
             note("INDEX=COLOUR")},
        {{"scan", "--min", "-1", "--help"},
         "Uso: zandrel-cli scan FILE [--min N] [--raw-only|--compressed-only] [--sort "
         "best|offset] [-o NEWFILE [--force]] [--json] [--graphics]\n" +
             note("scan") + note("--json")},
    };
    for (const auto& [args, usage] : cases)
        ExpectSuccess(Run(args), usage);
}

// One line, then the usage of the command at fault, or the general one without a command.
TEST_F(Cli, UsageErrorsExitWithTwoAndPrintTheUsage) {
    const std::string dump = Dump();
    const std::string badRow = "esperado o número de uma paleta (0, 1, ...) ou @HEX";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "falta o comando"},
        {{"paint", dump}, "comando desconhecido \"paint\""},
        {{"show", dump, "-1"}, "PALETTE \"-1\": " + badRow},
        {{"scan", ""}, "scan: o nome de FILE está vazio"},
        {{"export", dump, "0", ""}, "export: o nome de OUTFILE está vazio"},
        {{"scan", dump, "--min"}, "scan: --min espera uma pontuação de 0 a 100"},
        {{"scan", dump, "--all"}, "scan: opção desconhecida \"--all\""},
        {{"scan", "--raw-only", dump, "--compressed-only"},
         "scan: --raw-only e --compressed-only não se combinam"},
        {{"scan", dump, "--json", "-o", "-"}, "scan: --json e -o não se combinam"},
        {{"export", dump, "0", "-"},
         "export: a saída padrão (-) precisa de --format gbapal, tpl, pal, gpl ou act"},
        {{"scan", dump, "--graphics", "--min", "3"}, "scan: --graphics e --min não se combinam"},
        {{"tiles", dump, "100", "@0", "o.png"},
         "GRAPHICS \"100\": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0, ou um "
         "bloco comprimido, como @LZ:6290+40"},
        {{"tiles", dump, "@100", "@0", "o.png", "--width", "0"},
         "tiles: --width espera uma largura em tiles de 1 a 64"},
        {{"tiles", dump, "@100", "@0", "o.png", "--width", "65"},
         "tiles: --width espera uma largura em tiles de 1 a 64"},
        {{"tiles", dump, "@100", "@0", "o.png", "--tiles", "65537"},
         "tiles: --tiles espera um número de tiles de 1 a 65536"},
        {{"find", dump, dump + "@0", "--tolerance", "32"},
         "find: --tolerance espera um número de passos de 0 a 31"},
        {{"find", dump, dump + "@0", "--colours", "0"},
         "find: --colours espera um número de cores de 1 a 16"},
        {{"find", dump, dump + "@0", "--colours", "1", "--skip-first"},
         "find: --skip-first deixa --colours 1 sem cores"},
    };
    for (const auto& [args, line] : cases) {
        const CliRun run = Run(args);
        const bool known = !args.empty() && args[0] != "paint";
        const std::string usage = known ? Run({args[0], "--help"}).out : cli::UsageText();
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "zandrel-cli: " + line + "\n" + usage);
    }
    EXPECT_EQ(ReadBytes(dump), PatternBytes(1024));
}

TEST_F(Cli, OutputFormats) {
    const std::string dump = Dump();
    ExpectSuccess(Run({"identify", files_.Write("rom.gba", RomWithCode("BKRJ"))}), "Kemrith (J)\n");
    const std::string program = WithDumpDefinitions("; note\r\n2,20,Two, here\r\n4,3F8,End\r\n");
    // list: row, count, location and name as written, tab-separated.
    ExpectSuccess(RunWith(program, {"list", dump}), "0\t2\t20\tTwo, here\n1\t4\t3F8\tEnd\n");
    // show: index, word, and the components expanded to 0-255 (word 6AE3 at 20).
    ExpectSuccess(RunWith(program, {"show", dump, "0"}),
                  "0\t6AE3\t24\t189\t214\n1\t78F1\t140\t57\t247\n");
    // bytes: the viewer's rows, one line each.
    ExpectSuccess(RunWith(program, {"bytes", dump, "1"}), "CB D2 D9 E0 E7 EE F5 FC\n");
    ExpectSuccess(Run({"bytes", dump, "@3e0"}),
                  "23 2A 31 38 3F 46 4D 54 5B 62 69 70 77 7E 85 8C\n"
                  "93 9A A1 A8 AF B6 BD C4 CB D2 D9 E0 E7 EE F5 FC\n");
    // scan --graphics: location, decompressed bytes and 4bpp tiles of each block.
    std::vector<std::uint8_t> blocks(0x800, 0xFF);
    blocks = With(blocks, 0x104, LiteralLz77(PatternBytes(320)));
    ExpectSuccess(Run({"scan", files_.Write("blocks.gba", blocks), "--graphics"}),
                  "LZ:104\t320\t10\n");
}

// A 512-byte file: colour words at 0 (1 red, 15 blue), white at 20 (the first of the
// following palettes), pattern bytes from 100 on.
std::vector<std::uint8_t> TilesFile() {
    std::vector<std::uint8_t> file = PatternBytes(0x200);
    std::fill(file.begin(), file.begin() + 0x100, 0);
    file = With(file, 0x02, {0x1F, 0x00});
    return With(file, 0x1E, {0x00, 0x7C, 0xFF, 0x7F});
}

// The PNG's width and height (IHDR), its PLTE, and whether it has a tRNS.
std::tuple<std::uint32_t, std::uint32_t, std::vector<Rgb>, bool> FactsOf(const std::string& path) {
    const std::vector<std::uint8_t> png = ReadBytes(path);
    const auto word = [&png](std::size_t at) {
        return std::uint32_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    };
    std::vector<Rgb> plte;
    EXPECT_TRUE(ReadPngPlte(png, plte).ok()) << path;
    return {word(16), word(20), plte,
            std::string(png.begin(), png.end()).find("tRNS") != std::string::npos};
}

// The options reach the core's tiles and colours (whose rules the core's tests hold).
TEST_F(Cli, TilesDrawsAStretchOfTilesWithThePaletteIntoAnIndexedPng) {
    std::vector<std::uint8_t> file = TilesFile();
    const std::string rom = files_.Write("tiles.gba", file);
    const std::string lz =
        files_.Write("lz.gba", With(file, 0x100, LiteralLz77(PatternBytes(0xC0))));
    const std::string out = files_.File("out.png");
    const Rgb red{255, 0, 0}, lcdWhite{252, 238, 242};
    const std::vector<std::string> every = {rom, "@100",          "--width", "1", "--tiles",
                                            "3", "--transparent", "--bpp",   "8", "--lcd"};
    const std::tuple<std::vector<std::string>, std::uint32_t, std::uint32_t, std::size_t, Rgb, bool>
        cases[] = {
            // 256 tiles from an offset, cut at the end of the file: 8.
            {{rom, "@100"}, 128, 8, 1, red, false},
            {{rom, "@100", "--width", "64", "--tiles", "65536"}, 512, 8, 1, red, false},
            {every, 8, 24, 16, lcdWhite, true},
            // The whole block's data from the byte given: 0x9F bytes, four tiles and a part.
            {{lz, "@LZ:100+21", "--width", "1"}, 8, 40, 1, red, false},
            // The last byte of the file, and of the block's data, is inside.
            {{rom, "@1FF", "--width", "1"}, 8, 8, 1, red, false},
            {{lz, "@LZ:100+BF", "--width", "1"}, 8, 8, 1, red, false},
        };
    for (const auto& [args, width, height, entry, colour, transparent] : cases) {
        std::vector<std::string> all = {"tiles", args[0], args[1], "@0", out};
        all.insert(all.end(), args.begin() + 2, args.end());
        ExpectSuccess(Run(all), "");
        const auto [pngWidth, pngHeight, plte, trns] = FactsOf(out);
        EXPECT_EQ(pngWidth, width) << args[1];
        EXPECT_EQ(pngHeight, height) << args[1];
        EXPECT_EQ(plte.size(), args.back() == "--lcd" ? 256u : 16u);
        EXPECT_EQ(plte.at(entry), colour) << entry;
        EXPECT_EQ(trns, transparent);
    }
}

TEST_F(Cli, JsonOutputs) {
    const std::string dump = Dump();
    const std::string program = WithDumpDefinitions("1,20,Um \"1\"\r\n");
    const std::string file = R"({"file":")" + dump + R"(",)";
    const std::string definitions = R"("definitions":")" + files_.File("program/MEMORYDUMP.ZNDL");
    ExpectSuccess(RunWith(program, {"identify", "--json", dump}),
                  file + R"("title":"MEMORY DUMP","code":null,)" + definitions + "\"}\n");
    ExpectSuccess(RunWith(program, {"list", "--json", dump}),
                  file + definitions + R"(","palettes":[{"row":0,"count":"1","colours":1,)" +
                      R"("location":"20","name":"Um \"1\""}]})" + "\n");
    ExpectSuccess(RunWith(program, {"show", dump, "0", "--json"}),
                  file + R"("palette":"Um \"1\"","location":"20","colours":[{"index":0,)" +
                      R"("word":"6AE3","red":24,"green":189,"blue":214}]})" + "\n");
    const std::string game = files_.Write("game.gba", RomWithCode("BKRJ"));
    ExpectSuccess(RunWith(program, {"identify", game, "--json"}),
                  R"j({"file":")j" + game + R"j(","title":"Kemrith (J)","code":"BKRJ",)j" +
                      R"("definitions":")" + files_.File("program/KEMR_J.ZNDL") + "\"}\n");
    const std::string rom = Synthetic();
    EXPECT_TRUE(
        Run({"scan", rom, "--json", "--min", "99"})
            .out.starts_with(R"j({"file":")j" + rom +
                             R"j(","palettes":[{"location":"LZ:6290","score":100,)j"
                             R"j("name":"Paleta comprimida LZ77 6290 (pontuação 100)"},)j"));
}

// -o writes the lines a scan prints, into a new file placed whole, only when it found some;
// an existing file is replaced only with --force (hostile.sh: what else -o refuses).
TEST_F(Cli, ScanWritesANewDefinitionFileOnlyWhenItFoundPalettes) {
    const std::string rom = Synthetic();
    const std::string found = Run({"scan", rom, "--min", "90", "--raw-only", "-o", "-"}).out;
    const std::string out = files_.File("ZNDL.ZNDL");
    ExpectSuccess(Run({"scan", rom, "-o", out, "--min=90", "--raw-only"}), "");
    EXPECT_EQ(ReadText(out), found);
    ExpectFailure(Run({"scan", rom, "-o", out}),
                  Quoted(out) + ": o arquivo já existe; use --force para substituí-lo. Nada foi "
                                "gravado.");
    const std::string empty = files_.Write("empty.gba", std::vector<std::uint8_t>(4096, 0));
    ExpectFailure(Run({"scan", empty, "-o", out, "--force"}),
                  Quoted(empty) + ": nenhuma paleta encontrada com pontuação 50 ou mais; nada " +
                      "foi gravado em " + Quoted(out));
    EXPECT_EQ(ReadText(out), found);
    // Replaced, in file order: the same lines sorted by their offsets.
    ExpectSuccess(
        Run({"scan", rom, "--min", "90", "--raw-only", "--sort", "offset", "-o", out, "--force"}),
        "");
    std::vector<std::pair<unsigned long, std::string>> lines;
    for (std::size_t at = 0, end; (end = found.find('\n', at)) != std::string::npos; at = end + 1)
        lines.emplace_back(std::stoul(found.substr(at + 3, 8), nullptr, 16),
                           found.substr(at, end + 1 - at));
    std::sort(lines.begin(), lines.end());
    std::string byOffset;
    for (const auto& line : lines)
        byOffset += line.second;
    EXPECT_NE(byOffset, found); // the scores alone do not put them in file order
    EXPECT_EQ(ReadText(out), byOffset);
}

// A ROM of LZ77 blocks of 16 palettes each, every palette a candidate of its own.
std::vector<std::uint8_t> BlocksOfPalettes(std::size_t palettes) {
    std::vector<std::uint8_t> rom;
    for (std::size_t p = 0; p < palettes; p += 16) {
        std::vector<std::uint8_t> block;
        for (std::size_t q = p; q < std::min(palettes, p + 16); ++q)
            for (std::size_t i = 0; i < 16; ++i) {
                const std::size_t word = i * (1 + q % 2) | (i + q % 13) << 5 | (q / 16 % 32) << 10;
                block.push_back(static_cast<std::uint8_t>(word));
                block.push_back(static_cast<std::uint8_t>(word >> 8));
            }
        const std::vector<std::uint8_t> stream = CompressLz77(block);
        rom.insert(rom.end(), stream.begin(), stream.end());
    }
    return rom;
}

// A definition file holds at most 32767 palettes: scan prints the best of them and says on
// the error stream how many it left out.
TEST_F(Cli, ScanPrintsNoMoreEntriesThanADefinitionFileHolds) {
    for (const auto& [palettes, note] :
         {std::pair<std::size_t, std::string>{32767, ""},
          {32768, "zandrel-cli: scan: ficaram de fora 1 de 32768 candidatas (um arquivo de "
                  "definições guarda no máximo 32767 paletas; estas são as de pontuação mais "
                  "alta)\n"}}) {
        const CliRun run =
            Run({"scan", files_.Write("many.gba", BlocksOfPalettes(palettes)), "--min", "0"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, note);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 32767);
    }
}

// The CLI's own refusals, and the core's that only its commands reach. A raw palette read
// whole must lie inside the file, as a write there must; a bus address is no file offset in a
// memory dump.
TEST_F(Cli, OwnRefusalsNameTheFileAndWriteNothing) {
    const std::string dump = Dump();
    const std::string program = WithDumpDefinitions("4,100,Four\r\n3,3FC,Past\r\n40000,0,Huge\r\n");
    const std::string txt = files_.File("out.txt");
    const std::string act = files_.File("x.act");
    const std::string rom = files_.Write("rom.gba", RomWithCode("ZQ9X"));
    const std::string blocks =
        files_.Write("blocks.gba", With(std::vector<std::uint8_t>(0x200, 0xFF), 0x104,
                                        LiteralLz77(PatternBytes(64))));
    const std::string png = files_.File("out.png");
    std::string details =
        NotIdentifiedDetails(rom, DataFolders{files_.File("program"), UserFolder(), ""});
    std::replace(details.begin(), details.end(), '\n', ' ');
    const auto past = [&dump](const char* at, int bytes) {
        return "A paleta de " + std::to_string(bytes) + " bytes na localização " + at +
               " (hex) passa do fim do arquivo " + Quoted(dump) +
               ", que tem 1024 bytes. Nada foi gravado, para não mudar o tamanho do arquivo.";
    };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"export", dump, "0", txt},
         Quoted(txt) + ": extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act"},
        {{"show", dump, "3"},
         Quoted(dump) + ": não há paleta 3; \"MEMORYDUMP.ZNDL\" tem 3 paletas"},
        {{"set", dump, "0", "1=0", "4=0"},
         Quoted(dump) + ": o índice 4 não está na paleta 0, que tem 4 cores (0 a 3)"},
        {{"identify", rom}, Quoted(rom) + ": " + text::kNotIdentified + " " + details},
        {{"bytes", dump, "2"},
         Quoted(dump) + ": A paleta tem 40000 cores, mais do que o visor de bytes pode mostrar."},
        {{"bytes", dump, "1"}, past("3FC", 6)},
        {{"export", dump, "@3E2", act}, past("3E2", 32)},
        {{"show", dump, "@08000000"}, past("8000000", 32)},
        // Graphics past the end of the file or of the block's data.
        {{"tiles", blocks, "@200", "@0", png},
         Quoted(blocks) + ": os gráficos na localização hex 200 ficam fora do arquivo, que tem "
                          "512 bytes"},
        {{"tiles", blocks, "@LZ:104+40", "@0", png},
         Quoted(blocks) + ": os gráficos no byte hex 40 do bloco comprimido LZ:104 ficam fora "
                          "dos seus 64 bytes descomprimidos"},
    };
    for (const auto& [args, line] : cases)
        ExpectFailure(RunWith(program, args), line);
    EXPECT_EQ(ReadBytes(dump), PatternBytes(1024));
    for (const std::string& output : {txt, act, png})
        EXPECT_FALSE(std::filesystem::exists(output)) << output;
}

// The three forms of WHAT find the same palette; none found says what was searched.
TEST_F(Cli, FindTakesThePaletteAsHexTextFromADumpOrFromAPaletteFile) {
    const std::vector<std::uint8_t> dumpBytes = PatternBytes(1024);
    const std::vector<std::uint8_t> palette(dumpBytes.begin() + 0x40, dumpBytes.begin() + 0x60);
    std::vector<std::uint8_t> romBytes(0x800, 0xFF);
    std::ranges::copy(palette, romBytes.begin() + 0x102);
    std::ranges::copy(palette, romBytes.begin() + 0x402);
    romBytes[0x402] ^= 1; // colour 0's red, 1 step off
    const std::string rom = files_.Write("find.gba", romBytes);
    const std::string dump = files_.Write("ram.dmp", dumpBytes);
    const std::string gbapal = files_.Write("p.gbapal", palette);
    std::string hex;
    for (const std::uint8_t byte : palette)
        hex += PadWithZeros(HexText(byte), 2);
    for (const std::string& what : {hex, dump + "@40", dump + "@0x40", gbapal})
        ExpectSuccess(Run({"find", rom, what, "--tolerance=1"}),
                      "16,102,exata\n16,402,próxima: 1 cor a até 1 passo\n");
    ExpectFailure(Run({"find", rom, dump + "@60"}),
                  Quoted(rom) + ": a paleta não foi encontrada nos 2048 bytes do arquivo nem nos "
                                "dados de 0 blocos LZ77");
}

// diff exits 0 the same, 1 different, 2 any trouble, with the failure's line; patch says what
// it wrote, and apply writes the edited file anew.
TEST_F(Cli, DiffExitsAsCmpDoesPatchAndApplyRemakeTheEditedFile) {
    const std::string program = WithDumpDefinitions("16,20,Vinte\r\n");
    const std::string before = Dump();
    std::vector<std::uint8_t> edited = PatternBytes(1024);
    edited[0x22] = edited[0x23] = edited[0x300] = 0;
    const std::string after = files_.Write("edited.dmp", edited);
    ExpectSuccess(RunWith(program, {"diff", before, files_.Write("copy.dmp", PatternBytes(1024))}),
                  "");
    const CliRun different = RunWith(program, {"diff", before, after});
    EXPECT_EQ(different.status, 1);
    EXPECT_EQ(different.out, "20\tVinte\t1:78F1>0000\nfora das paletas: 1 byte em 1 trecho: 300\n");
    const std::string missing = files_.File("missing.dmp");
    const CliRun trouble = RunWith(program, {"diff", before, missing});
    EXPECT_EQ(trouble.status, 2);
    EXPECT_EQ(trouble.err, "zandrel-cli: Não foi possível ler o arquivo " + Quoted(missing) + ". " +
                               SystemErrorText(ENOENT) + "\n");
    const std::string ips = files_.File("p.ips");
    ExpectSuccess(Run({"patch", before, after, ips}), "3 bytes mudados; patch de 21 bytes\n");
    const std::string out = files_.File("out.dmp");
    ExpectSuccess(Run({"apply", before, ips, out}), "");
    EXPECT_EQ(ReadBytes(out), edited);
}

// set rewrites the words from the first to the last index given, as it read the ones between
// (a read-only file is refused by the core's writers, whose tests hold it). "-" is standard
// output for export (with --format) and standard input for import, which is read by its
// content (hostile.sh: no further than a palette file may reach).
TEST_F(Cli, SetWritesTheGivenWordsAndADashIsTheStandardStream) {
    const std::string dump = Dump();
    ExpectSuccess(Run({"set", dump, "1", "0=7fff", "3=1F", "3=0421", "15=0"}), "");
    std::vector<std::uint8_t> expected = With(PatternBytes(1024), 0x20, {0xFF, 0x7F});
    expected = With(expected, 0x26, {0x21, 0x04}); // the later 3= wins
    expected = With(expected, 0x3E, {0x00, 0x00});
    EXPECT_EQ(ReadBytes(dump), expected); // 0x23 keeps 0xF1
    const std::string jasc = files_.File("p.pal");
    ExpectSuccess(Run({"export", dump, "@40", jasc}), "");
    ExpectSuccess(Run({"export", dump, "@40", "-", "--format=pal"}), ReadText(jasc));
    ExpectSuccess(RunWith(ZANDREL_CLI_PATH, {"import", dump, "@0", "-"}, {}, jasc), "");
    EXPECT_EQ(Run({"show", dump, "@0"}).out, Run({"show", dump, "@40"}).out);
}

TEST_F(Cli, OutputThatCannotBeWrittenExitsWithOne) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const CliRun run = RunWith(ZANDREL_CLI_PATH, {"--help"}, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zandrel-cli: não foi possível escrever a saída\n");
}

} // namespace
