#include "CliCommands.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <span>

#include "colour/Codec.h"
#include "palfiles/ExtraFormats.h"
#include "palfiles/PaletteFiles.h"
#include "platform/Failure.h"
#include "platform/File.h"
#include "platform/SameFile.h"
#include "rom/Definitions.h"
#include "rom/Identify.h"
#include "rom/PaletteAccess.h"
#include "rom/PaletteIO.h"
#include "rom/PaletteLocation.h"
#include "rom/PaletteScanner.h"
#include "special/ByteDump.h"
#include "util/Messages.h"
#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel::cli {

namespace {

constexpr const char* kProgramName = "zandrel-cli";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The window's failure texts span several lines; the error stream gets one.
std::string OneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
            ++i;
        line += ' ';
    }
    return line;
}

// The one line the error stream gets for a failure. The tool's own texts are one line
// already; the window's span several and are joined, and the byte viewer's count, whose box
// stands over the file's palette, gets the file in front.
std::string ErrorLine(const Failure& failure) {
    switch (failure.result) {
    case Result::Usage:
    case Result::FileRefused:
    case Result::BadPaletteFile:
    case Result::NoColours:
        return ErrorMessage(failure);
    case Result::CountTooLarge:
        return Quoted(failure.file) + ": " + OneLine(ErrorMessage(failure));
    default:
        return OneLine(ErrorMessage(failure));
    }
}

// FILE must at least open for reading before anything is decided about it.
Failure CheckReadable(const std::string& path) {
    std::vector<std::uint8_t> none;
    return ReadFileBytes(path, 0, 0, none);
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Hex digits only, upper-cased and read with HexToNumber. Anything else, and a value past
// 7FFFFFFF (which HexToNumber gives as 0), is refused rather than read as 0.
std::optional<std::int32_t> HexArgument(std::string_view text) {
    const std::string upper = UpperCase(text);
    if (upper.empty() || !std::all_of(upper.begin(), upper.end(), IsHexDigit))
        return std::nullopt;
    const std::int32_t value = HexToNumber(upper);
    if (value == 0 && upper.find_first_not_of('0') != std::string::npos)
        return std::nullopt;
    return value;
}

// Decimal digits only; large values are capped well above any row or index.
std::optional<std::size_t> DecimalArgument(std::string_view text) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::size_t value = 0;
    for (const char c : text)
        value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(c - '0'), 1000000000);
    return value;
}

// PALETTE: a 0-based entry of the definition file, or @LOCATION, a location of sixteen
// colours as a definition file gives it (@1A0, @LZ:3B8A8C+20).
struct PaletteArgument {
    std::string text;
    bool atLocation = false;
    PaletteLocation where;
    std::size_t row = 0;
};

Failure ParsePaletteArgument(const std::string& text, PaletteArgument& palette) {
    palette.text = text;
    if (!text.empty() && text.front() == '@') {
        const std::optional<PaletteLocation> where = ParsePaletteLocation(text.substr(1));
        if (!where)
            return Failure::Usage("PALETTE " + Quoted(text) +
                                  ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0, "
                                  "ou um bloco comprimido, como @LZ:3B8A8C+20");
        palette.atLocation = true;
        palette.where = *where;
        return {};
    }
    const std::optional<std::size_t> row = DecimalArgument(text);
    if (!row)
        return Failure::Usage("PALETTE " + Quoted(text) +
                              ": esperado o número de uma paleta (0, 1, ...) ou @HEX");
    palette.row = *row;
    return {};
}

// The palette a command works on, as the definition file or the location gives it.
struct Palette {
    std::string name; // the definition's name, or "@" and the location
    PaletteLocation where;
    std::string countText; // the definition's count text; empty for a location
    bool atLocation = false;
};

// The definition file of a file, where the open command finds it, and its entries.
struct Definitions {
    std::string name;
    std::string path;
    PaletteTable table;
};

Failure LoadDefinitions(const std::string& path, const DataFolders& folders,
                        Definitions& definitions) {
    const std::optional<Identification> identification = IdentifyFile(path, folders);
    if (!identification)
        return Failure::FileRefused(path, text::kNotIdentified);
    definitions.name = DefinitionFileOf(*identification);
    definitions.path =
        (std::filesystem::path(DefinitionFolder(definitions.name, folders)) / definitions.name)
            .string();
    // A definition file that stops early is reported, not half used: its message says so.
    Failure failure = LoadDefinitionFile(definitions.path, definitions.path, definitions.table);
    failure.nothingLoaded = !failure.ok();
    return failure;
}

Failure ResolvePalette(const std::string& path, const PaletteArgument& argument,
                       const DataFolders& folders, Palette& palette) {
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    if (argument.atLocation) {
        palette.atLocation = true;
        palette.where = argument.where;
        palette.name = "@" + PaletteLocationText(argument.where);
        return {};
    }
    Definitions definitions;
    if (Failure failure = LoadDefinitions(path, folders, definitions); !failure.ok())
        return failure;
    const PaletteTable& table = definitions.table;
    const std::size_t rows = table.locations.size();
    if (argument.row >= rows)
        return Failure::FileRefused(path, "não há paleta " + argument.text + "; " +
                                              Quoted(definitions.name) + " tem " +
                                              std::to_string(rows) + " paletas");
    // A location text that is no location reads and writes nothing.
    const std::string locationText(table.locations[argument.row]);
    const std::optional<PaletteLocation> where = ParsePaletteLocation(locationText);
    if (!where)
        return Failure::BadLocation(definitions.path, table.lines[argument.row], locationText);
    palette.name = table.names[argument.row];
    palette.where = *where;
    palette.countText = table.counts[argument.row];
    return {};
}

// The palette and the number of colours the window's swatches take from it: 1 to 16.
Failure ResolveColours(const std::string& path, const PaletteArgument& argument,
                       const DataFolders& folders, Palette& palette, int& count) {
    if (Failure failure = ResolvePalette(path, argument, folders, palette); !failure.ok())
        return failure;
    count = palette.atLocation ? kPaletteColours : PaletteColourCount(palette.countText);
    if (count < 1)
        return Failure::NoColours(path, argument.text, palette.countText);
    return {};
}

// The palette of a command that needs all sixteen colours, as the window's export and
// import do.
Failure ResolveSixteen(const std::string& path, const PaletteArgument& argument,
                       const DataFolders& folders, Palette& palette) {
    int count = 0;
    if (Failure failure = ResolveColours(path, argument, folders, palette, count); !failure.ok())
        return failure;
    if (count < kPaletteColours)
        return Failure::FileRefused(path, text::kFewerThan16);
    return {};
}

// The exchange format the name of a palette file to write asks for by its extension.
Failure FormatOfName(const std::string& path, PaletteFormat& format) {
    format = ExchangeFormatForName(path);
    if (format == PaletteFormat::None)
        return Failure::FileRefused(path,
                                    "extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act");
    return {};
}

// --- The commands. Each checks everything before it writes its first byte. ---

Failure Identify(const std::string& path, const DataFolders& folders, std::ostream& out) {
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    const std::optional<Identification> identification = IdentifyFile(path, folders);
    if (!identification)
        return Failure::FileRefused(path, text::kNotIdentified);
    out << identification->title << '\n';
    return {};
}

Failure List(const std::string& path, const DataFolders& folders, std::ostream& out) {
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    Definitions definitions;
    if (Failure failure = LoadDefinitions(path, folders, definitions); !failure.ok())
        return failure;
    const PaletteTable& table = definitions.table;
    for (std::size_t row = 0; row < table.locations.size(); ++row)
        out << row << '\t' << table.counts[row] << '\t' << table.locations[row] << '\t'
            << table.names[row] << '\n';
    return {};
}

Failure Show(const std::string& path, const PaletteArgument& argument, const DataFolders& folders,
             std::ostream& out) {
    Palette palette;
    int count = 0;
    if (Failure failure = ResolveColours(path, argument, folders, palette, count); !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (const Failure failure = ReadPalette(path, palette.where, count, words); !failure.ok())
        return failure;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Rgb rgb = SplitColor(WordToColor(words[i]));
        out << i << '\t' << WordHexText(words[i]) << '\t' << rgb.red << '\t' << rgb.green << '\t'
            << rgb.blue << '\n';
    }
    return {};
}

Failure Export(const std::string& path, const PaletteArgument& argument, const std::string& outPath,
               const DataFolders& folders) {
    PaletteFormat format = PaletteFormat::None;
    if (Failure failure = FormatOfName(outPath, format); !failure.ok())
        return failure;
    if (Failure failure = RefuseWritingOverOpenFile(outPath, path); !failure.ok())
        return failure;
    Palette palette;
    if (Failure failure = ResolveSixteen(path, argument, folders, palette); !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (const Failure failure = ReadPalette(path, palette.where, kPaletteColours, words);
        !failure.ok())
        return failure;
    return WritePaletteFile(outPath, format, WordsToColours(words), palette.name);
}

// INFILE is read by its content, as the window's import reads it, whatever its name says.
Failure Import(const std::string& path, const PaletteArgument& argument, const std::string& inPath,
               const DataFolders& folders) {
    Palette palette;
    if (Failure failure = ResolveSixteen(path, argument, folders, palette); !failure.ok())
        return failure;
    PaletteWords16 words{};
    if (Failure failure = ReadPaletteFile(inPath, words); !failure.ok())
        return failure;
    return WritePalette(path, palette.where, words);
}

struct Assignment {
    std::size_t index = 0;
    ColorWord word = 0;
};

Failure ParseAssignments(std::span<const std::string> texts, std::vector<Assignment>& result) {
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        const std::optional<std::size_t> index =
            equals == std::string::npos ? std::nullopt
                                        : DecimalArgument(std::string_view(text).substr(0, equals));
        const std::optional<std::int32_t> word =
            equals == std::string::npos ? std::nullopt
                                        : HexArgument(std::string_view(text).substr(equals + 1));
        if (!index || !word)
            return Failure::Usage("INDEX=WORD " + Quoted(text) +
                                  ": esperado um índice decimal e uma cor hex, como 3=7FFF");
        if (*word > 0x7FFF)
            return Failure::Usage("INDEX=WORD " + Quoted(text) + ": a cor passa de 7FFF");
        result.push_back(Assignment{*index, static_cast<ColorWord>(*word)});
    }
    return {};
}

Failure Set(const std::string& path, const PaletteArgument& argument,
            const std::vector<Assignment>& assignments, const DataFolders& folders) {
    Palette palette;
    int count = 0;
    if (Failure failure = ResolveColours(path, argument, folders, palette, count); !failure.ok())
        return failure;
    std::size_t first = static_cast<std::size_t>(count);
    std::size_t last = 0;
    for (const Assignment& assignment : assignments) {
        if (assignment.index >= static_cast<std::size_t>(count))
            return Failure::FileRefused(path, "o índice " + std::to_string(assignment.index) +
                                                  " não está na paleta " + argument.text +
                                                  ", que tem " + std::to_string(count) +
                                                  " cores (0 a " + std::to_string(count - 1) + ")");
        first = std::min(first, assignment.index);
        last = std::max(last, assignment.index);
    }
    if (palette.where.compressed)
        return ChangeCompressedPalette(path, palette.where, count,
                                       [&assignments](std::vector<ColorWord>& words) {
                                           for (const Assignment& assignment : assignments)
                                               words[assignment.index] = assignment.word;
                                       });
    // Only the words from the first to the last index given are rewritten; the ones between
    // them keep their bytes, bit 15 included.
    const std::int64_t offset = static_cast<std::int64_t>(palette.where.location) + 2 * first;
    const auto assign = [&](std::vector<std::uint8_t>& bytes) {
        for (const Assignment& assignment : assignments) {
            const std::vector<std::uint8_t> word = WordsToBytes(std::span(&assignment.word, 1));
            std::copy(word.begin(), word.end(), bytes.begin() + 2 * (assignment.index - first));
        }
    };
    return ChangeBytesInPlace(path, offset, 2 * (last - first + 1), assign);
}

Failure Bytes(const std::string& path, const PaletteArgument& argument, const DataFolders& folders,
              std::ostream& out) {
    Palette palette;
    if (Failure failure = ResolvePalette(path, argument, folders, palette); !failure.ok())
        return failure;
    const std::int64_t count =
        palette.atLocation ? kPaletteColours : ViewerColourCount(palette.countText);
    std::string dump;
    if (const Failure failure = BuildByteDump(path, palette.where, count, dump); !failure.ok())
        return failure;
    // The viewer's rows, one line each.
    std::string lines;
    for (std::size_t i = 0; i < dump.size(); ++i) {
        if (dump[i] == '\r' && i + 1 < dump.size() && dump[i + 1] == '\n')
            continue;
        lines += dump[i];
    }
    if (!lines.empty() && lines.back() != '\n')
        lines += '\n';
    out << lines;
    return {};
}

// scan FILE [--min N] [--raw-only|--compressed-only], the options before or after FILE.
Failure ParseScanArguments(std::span<const std::string> args, std::string& path,
                           ScanOptions& options) {
    bool rawOnly = false;
    bool compressedOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--min") {
            const std::optional<std::size_t> score =
                i + 1 < args.size() ? DecimalArgument(args[i + 1]) : std::nullopt;
            if (!score || *score > 100)
                return Failure::Usage("scan: --min espera uma pontuação de 0 a 100");
            options.minimumScore = static_cast<int>(*score);
            ++i;
        } else if (arg == "--raw-only") {
            rawOnly = true;
        } else if (arg == "--compressed-only") {
            compressedOnly = true;
        } else if (arg.starts_with("--")) {
            return Failure::Usage("scan: opção desconhecida " + Quoted(arg));
        } else if (path.empty()) {
            path = arg;
        } else {
            return Failure::Usage("scan: esperado um só FILE");
        }
    }
    if (path.empty())
        return Failure::Usage("scan: falta FILE");
    if (rawOnly && compressedOnly)
        return Failure::Usage("scan: --raw-only e --compressed-only não se combinam");
    options.raw = !compressedOnly;
    options.compressed = !rawOnly;
    return {};
}

// The candidates as definition-file lines, best first.
Failure Scan(const std::string& path, const ScanOptions& options, std::ostream& out) {
    std::vector<std::uint8_t> rom;
    if (const RomImageRead read = ReadRomImage(path, rom); !read.ok())
        return RomImageFailure(path, read);
    for (const PaletteCandidate& candidate : ScanPalettes(rom, options))
        out << DefinitionLine(candidate) << '\n';
    return {};
}

Failure Run(const std::vector<std::string>& args, const DataFolders& folders, std::ostream& out) {
    if (args.empty())
        return Failure::Usage("falta o comando");
    const std::string& command = args[0];
    const std::size_t given = args.size() - 1;
    const auto expect = [&](std::size_t wanted) -> Failure {
        if (given != wanted)
            return Failure::Usage(command + ": esperados " + std::to_string(wanted) +
                                  " argumentos, recebidos " + std::to_string(given));
        return {};
    };
    PaletteArgument palette;
    if (command == "identify" || command == "list") {
        if (Failure failure = expect(1); !failure.ok())
            return failure;
        return command == "identify" ? Identify(args[1], folders, out)
                                     : List(args[1], folders, out);
    }
    if (command == "show" || command == "bytes") {
        if (Failure failure = expect(2); !failure.ok())
            return failure;
        if (Failure failure = ParsePaletteArgument(args[2], palette); !failure.ok())
            return failure;
        return command == "show" ? Show(args[1], palette, folders, out)
                                 : Bytes(args[1], palette, folders, out);
    }
    if (command == "export" || command == "import") {
        if (Failure failure = expect(3); !failure.ok())
            return failure;
        if (Failure failure = ParsePaletteArgument(args[2], palette); !failure.ok())
            return failure;
        return command == "export" ? Export(args[1], palette, args[3], folders)
                                   : Import(args[1], palette, args[3], folders);
    }
    if (command == "scan") {
        std::string path;
        ScanOptions options;
        if (Failure failure = ParseScanArguments(std::span(args).subspan(1), path, options);
            !failure.ok())
            return failure;
        return Scan(path, options, out);
    }
    if (command == "set") {
        if (given < 3)
            return Failure::Usage("set: esperados FILE, PALETTE e ao menos um INDEX=WORD");
        if (Failure failure = ParsePaletteArgument(args[2], palette); !failure.ok())
            return failure;
        std::vector<Assignment> assignments;
        if (Failure failure = ParseAssignments(std::span(args).subspan(3), assignments);
            !failure.ok())
            return failure;
        return Set(args[1], palette, assignments, folders);
    }
    return Failure::Usage("comando desconhecido " + Quoted(command));
}

} // namespace

std::string UsageText() {
    const std::string minimum = std::to_string(kDefaultMinimumScore);
    return "Uso:\n"
           "  zandrel-cli identify FILE\n"
           "  zandrel-cli list FILE\n"
           "  zandrel-cli show FILE PALETTE\n"
           "  zandrel-cli export FILE PALETTE OUTFILE\n"
           "  zandrel-cli import FILE PALETTE INFILE\n"
           "  zandrel-cli set FILE PALETTE INDEX=WORD [INDEX=WORD ...]\n"
           "  zandrel-cli bytes FILE PALETTE\n"
           "  zandrel-cli scan FILE [--min N] [--raw-only|--compressed-only]\n"
           "  zandrel-cli --version\n"
           "PALETTE: o número de uma paleta do arquivo de definições (0 é a primeira), ou\n"
           "  @HEX, uma localização hex no arquivo onde há 16 cores (ex.: @1A0), ou\n"
           "  @LZ:HEX[+DESL], as cores de um bloco comprimido LZ77 na localização HEX, a\n"
           "  partir do byte DESL (hex, par) dos dados descomprimidos (ex.: @LZ:3B8A8C+20).\n"
           "OUTFILE: .gbapal, .tpl, .pal (JASC), .gpl (GIMP) ou .act (Adobe).\n"
           "INFILE: qualquer desses formatos, reconhecido pelo conteúdo.\n"
           "INDEX=WORD: índice da cor (0 a 15) e cor GBA em hex (0 a 7FFF), ex.: 3=7FFF.\n"
           "scan: as paletas que o arquivo parece ter, como linhas de um arquivo de\n"
           "  definições, da melhor para a pior; --min N só as de pontuação N ou mais\n"
           "  (0 a 100, padrão " +
           minimum +
           "), --raw-only só as brutas, --compressed-only só as comprimidas.\n"
           "Saída: 0 sucesso, 1 falha (o arquivo não é alterado), 2 erro de uso.\n";
}

std::string VersionLine() {
    return std::string(kProgramName) + " " + std::to_string(ZANDREL_VERSION_MAJOR) + "." +
           std::to_string(ZANDREL_VERSION_MINOR) + "." + std::to_string(ZANDREL_VERSION_PATCH) +
           "\n";
}

int RunCli(const std::vector<std::string>& args, const DataFolders& folders, std::ostream& out,
           std::ostream& err) {
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help" || args[0] == "help")) {
        out << UsageText();
        return kExitSuccess;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << VersionLine();
        return kExitSuccess;
    }
    const Failure failure = Run(args, folders, out);
    if (failure.ok())
        return kExitSuccess;
    err << kProgramName << ": " << ErrorLine(failure) << '\n';
    if (failure.result != Result::Usage)
        return kExitFailure;
    err << UsageText();
    return kExitUsage;
}

std::string ExecutableFolder(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !self.empty())
        return self.parent_path().string();
    const std::filesystem::path given = std::filesystem::absolute(argv0 ? argv0 : "", error);
    return error ? std::string(".") : given.parent_path().string();
}

} // namespace zandrel::cli
