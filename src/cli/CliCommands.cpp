#include "CliCommands.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

#include "app/Definitions.h"
#include "app/Errors.h"
#include "app/Identify.h"
#include "app/Messages.h"
#include "app/NumberText.h"
#include "app/RomAccess.h"
#include "app/Text.h"
#include "colour/Codec.h"
#include "palfiles/ExtraFormats.h"
#include "platform/File.h"
#include "special/ByteDump.h"

namespace zandrel::cli {

namespace {

constexpr const char* kProgramName = "zandrel-cli";

// What ends a command early: its exit status and the one line that says why.
struct Problem {
    int status = kExitSuccess;
    std::string line;
    bool ok() const { return status == kExitSuccess; }
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

Problem UsageProblem(std::string line) {
    return Problem{kExitUsage, std::move(line)};
}

// A fault of one file: the line starts with the file's name.
Problem FileProblem(const std::string& path, const std::string& message) {
    return Problem{kExitFailure, Quoted(path) + ": " + message};
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

// Failures that do not name a file themselves are put under `path`.
Problem FailureProblem(const Failure& failure, const std::string& path) {
    const std::string message = OneLine(ErrorMessage(failure));
    if (failure.file.empty())
        return FileProblem(path, message);
    return Problem{kExitFailure, message};
}

Problem CannotRead(const std::string& path, const FileStatus& status) {
    Failure failure;
    failure.result = Result::CannotRead;
    failure.file = path;
    failure.io = status;
    return FailureProblem(failure, path);
}

// FILE must at least open for reading before anything is decided about it.
Problem CheckReadable(const std::string& path) {
    FileStatus status;
    File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return CannotRead(path, status);
    return {};
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

// PALETTE: a 0-based entry of the definition file, or @HEX, a location of sixteen colours.
struct PaletteArgument {
    std::string text;
    bool atLocation = false;
    std::int32_t location = 0;
    std::size_t row = 0;
};

Problem ParsePaletteArgument(const std::string& text, PaletteArgument& palette) {
    palette.text = text;
    if (!text.empty() && text.front() == '@') {
        const std::optional<std::int32_t> location = HexArgument(text.substr(1));
        if (!location)
            return UsageProblem("PALETTE " + Quoted(text) +
                                ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0");
        palette.atLocation = true;
        palette.location = *location;
        return {};
    }
    const std::optional<std::size_t> row = DecimalArgument(text);
    if (!row)
        return UsageProblem("PALETTE " + Quoted(text) +
                            ": esperado o número de uma paleta (0, 1, ...) ou @HEX");
    palette.row = *row;
    return {};
}

// The palette a command works on, as the definition file or the location gives it.
struct Palette {
    std::string name; // the definition's name, or "@" and the location
    std::int32_t location = 0;
    std::string countText; // the definition's count text; empty for a location
    bool atLocation = false;
};

Problem LoadDefinitions(const std::string& path, const std::string& programFolder,
                        PaletteTable& table, std::string& definitionName) {
    const std::optional<Identification> identification = IdentifyFile(path);
    if (!identification)
        return FileProblem(path, text::kNotIdentified);
    definitionName = DefinitionFileOf(*identification);
    const std::string definitionPath =
        (std::filesystem::path(programFolder) / definitionName).string();
    // A definition file that stops early is reported, not half used.
    if (const Failure failure = LoadDefinitionFile(definitionPath, table); !failure.ok())
        return FailureProblem(failure, path);
    return {};
}

Problem ResolvePalette(const std::string& path, const PaletteArgument& argument,
                       const std::string& programFolder, Palette& palette) {
    if (Problem problem = CheckReadable(path); !problem.ok())
        return problem;
    if (argument.atLocation) {
        palette.atLocation = true;
        palette.location = argument.location;
        palette.name = "@" + HexText(argument.location);
        return {};
    }
    PaletteTable table;
    std::string definitionName;
    if (Problem problem = LoadDefinitions(path, programFolder, table, definitionName);
        !problem.ok())
        return problem;
    const std::size_t rows = table.locations.size();
    if (argument.row >= rows)
        return FileProblem(path, "não há paleta " + argument.text + "; " + Quoted(definitionName) +
                                     " tem " + std::to_string(rows) + " paletas");
    palette.name = table.names[argument.row];
    palette.location = HexToNumber(table.locations[argument.row]);
    palette.countText = table.counts[argument.row];
    return {};
}

// The number of colours the window's swatches take from the palette: 1 to 16.
Problem ColourCount(const std::string& path, const PaletteArgument& argument,
                    const Palette& palette, int& count) {
    count = palette.atLocation ? kPaletteColours : PaletteColourCount(palette.countText);
    if (count < 1)
        return FileProblem(path, "a paleta " + argument.text + " não tem cores (contagem " +
                                     Quoted(palette.countText) + ")");
    return {};
}

Problem RequireSixteen(const std::string& path, int count) {
    if (count < kPaletteColours)
        return FileProblem(path, text::kFewerThan16);
    return {};
}

// Rewrites `length` bytes of an existing file in place: they are read, edited by `change` and
// written back while the file's exclusive lock is held, so no other writer's bytes are lost
// in between. Every byte must lie inside the file, which never changes length; nothing is
// written otherwise. Flushed to disk before it returns.
Failure ChangeBytesInPlace(const std::string& path, std::int64_t offset, std::size_t length,
                           const std::function<void(std::vector<std::uint8_t>&)>& change) {
    Failure failure;
    failure.file = path;
    FileStatus status;
    File file = File::Open(path, OpenMode::ReadWriteExisting, status);
    std::uint64_t size = 0;
    if (status.ok())
        status = file.LockExclusive();
    if (status.ok())
        status = file.Size(size);
    if (!status.ok()) {
        failure.result = Result::CannotWrite;
        failure.io = status;
        return failure;
    }
    if (offset < 0 || static_cast<std::uint64_t>(offset) + length > size) {
        failure.result = Result::PaletteBeyondEnd;
        failure.offset = offset;
        failure.length = static_cast<std::int64_t>(length);
        failure.size = size;
        return failure;
    }
    std::vector<std::uint8_t> bytes(length);
    if (status = file.ReadAt(static_cast<std::uint64_t>(offset), bytes); !status.ok()) {
        failure.result = Result::CannotRead;
        failure.io = status;
        return failure;
    }
    change(bytes);
    status = file.WriteAt(static_cast<std::uint64_t>(offset), bytes);
    if (status.ok())
        status = file.Sync();
    if (status.ok())
        status = file.Close();
    if (!status.ok()) {
        failure.result = Result::CannotWrite;
        failure.io = status;
        return failure;
    }
    return {};
}

std::string UnknownFormat() {
    return "extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act";
}

// --- The commands. Each checks everything before it writes its first byte. ---

Problem Identify(const std::string& path, std::ostream& out) {
    if (Problem problem = CheckReadable(path); !problem.ok())
        return problem;
    const std::optional<Identification> identification = IdentifyFile(path);
    if (!identification)
        return FileProblem(path, text::kNotIdentified);
    out << identification->title << '\n';
    return {};
}

Problem List(const std::string& path, const std::string& programFolder, std::ostream& out) {
    if (Problem problem = CheckReadable(path); !problem.ok())
        return problem;
    PaletteTable table;
    std::string definitionName;
    if (Problem problem = LoadDefinitions(path, programFolder, table, definitionName);
        !problem.ok())
        return problem;
    for (std::size_t row = 0; row < table.locations.size(); ++row)
        out << row << '\t' << table.counts[row] << '\t' << table.locations[row] << '\t'
            << table.names[row] << '\n';
    return {};
}

Problem Show(const std::string& path, const PaletteArgument& argument,
             const std::string& programFolder, std::ostream& out) {
    Palette palette;
    if (Problem problem = ResolvePalette(path, argument, programFolder, palette); !problem.ok())
        return problem;
    int count = 0;
    if (Problem problem = ColourCount(path, argument, palette, count); !problem.ok())
        return problem;
    std::vector<ColorWord> words;
    if (const Failure failure = ReadColourWords(path, palette.location, count, words);
        !failure.ok())
        return FailureProblem(failure, path);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Rgb rgb = SplitColor(WordToColor(words[i]));
        out << i << '\t' << WordHexText(words[i]) << '\t' << rgb.red << '\t' << rgb.green << '\t'
            << rgb.blue << '\n';
    }
    return {};
}

Problem Export(const std::string& path, const PaletteArgument& argument, const std::string& outPath,
               const std::string& programFolder) {
    const ExchangeFormat format = ExchangeFormatForName(outPath);
    if (format == ExchangeFormat::None)
        return FileProblem(outPath, UnknownFormat());
    // Writing the palette file over FILE itself would cut FILE down to the palette.
    std::error_code ignored;
    if (std::filesystem::equivalent(path, outPath, ignored))
        return FileProblem(outPath, "é o próprio arquivo " + Quoted(path) +
                                        "; escolha outro arquivo de saída");
    Palette palette;
    if (Problem problem = ResolvePalette(path, argument, programFolder, palette); !problem.ok())
        return problem;
    int count = 0;
    if (Problem problem = ColourCount(path, argument, palette, count); !problem.ok())
        return problem;
    if (Problem problem = RequireSixteen(path, count); !problem.ok())
        return problem;
    std::vector<ColorWord> words;
    if (const Failure failure = ReadColourWords(path, palette.location, kPaletteColours, words);
        !failure.ok())
        return FailureProblem(failure, path);
    Palette16 colours{};
    std::transform(words.begin(), words.end(), colours.begin(), WordToColor);
    const std::vector<std::uint8_t> bytes = ExchangeFileBytes(format, colours, palette.name);
    if (const FileStatus status = WriteWholeFile(outPath, bytes); !status.ok()) {
        Failure failure;
        failure.result = Result::CannotWrite;
        failure.file = outPath;
        failure.io = status;
        return FailureProblem(failure, outPath);
    }
    return {};
}

Problem Import(const std::string& path, const PaletteArgument& argument, const std::string& inPath,
               const std::string& programFolder) {
    const ExchangeFormat format = ExchangeFormatForName(inPath);
    if (format == ExchangeFormat::None)
        return FileProblem(inPath, UnknownFormat());
    Palette palette;
    if (Problem problem = ResolvePalette(path, argument, programFolder, palette); !problem.ok())
        return problem;
    int count = 0;
    if (Problem problem = ColourCount(path, argument, palette, count); !problem.ok())
        return problem;
    if (Problem problem = RequireSixteen(path, count); !problem.ok())
        return problem;
    std::vector<std::uint8_t> bytes;
    if (const FileStatus status = ReadWholeFile(inPath, kMaxPaletteFileSize, bytes); !status.ok())
        return CannotRead(inPath, status);
    const WordsResult read = ReadExchangeFile(format, bytes);
    if (!read.ok())
        return FileProblem(inPath, read.error);
    if (const Failure failure =
            WriteColourWords(path, palette.location, read.words, WriteTarget::InPlace);
        !failure.ok())
        return FailureProblem(failure, path);
    return {};
}

struct Assignment {
    std::size_t index = 0;
    ColorWord word = 0;
};

Problem ParseAssignments(std::span<const std::string> texts, std::vector<Assignment>& result) {
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        const std::optional<std::size_t> index =
            equals == std::string::npos ? std::nullopt
                                        : DecimalArgument(std::string_view(text).substr(0, equals));
        const std::optional<std::int32_t> word =
            equals == std::string::npos ? std::nullopt
                                        : HexArgument(std::string_view(text).substr(equals + 1));
        if (!index || !word)
            return UsageProblem("INDEX=WORD " + Quoted(text) +
                                ": esperado um índice decimal e uma cor hex, como 3=7FFF");
        if (*word > 0x7FFF)
            return UsageProblem("INDEX=WORD " + Quoted(text) + ": a cor passa de 7FFF");
        result.push_back(Assignment{*index, static_cast<ColorWord>(*word)});
    }
    return {};
}

Problem Set(const std::string& path, const PaletteArgument& argument,
            const std::vector<Assignment>& assignments, const std::string& programFolder) {
    Palette palette;
    if (Problem problem = ResolvePalette(path, argument, programFolder, palette); !problem.ok())
        return problem;
    int count = 0;
    if (Problem problem = ColourCount(path, argument, palette, count); !problem.ok())
        return problem;
    std::size_t first = static_cast<std::size_t>(count);
    std::size_t last = 0;
    for (const Assignment& assignment : assignments) {
        if (assignment.index >= static_cast<std::size_t>(count))
            return FileProblem(path, "o índice " + std::to_string(assignment.index) +
                                         " não está na paleta " + argument.text + ", que tem " +
                                         std::to_string(count) + " cores (0 a " +
                                         std::to_string(count - 1) + ")");
        first = std::min(first, assignment.index);
        last = std::max(last, assignment.index);
    }
    // Only the words from the first to the last index given are rewritten; the ones between
    // them keep their bytes, bit 15 included.
    const std::int64_t offset = static_cast<std::int64_t>(palette.location) + 2 * first;
    const auto assign = [&](std::vector<std::uint8_t>& bytes) {
        for (const Assignment& assignment : assignments) {
            const std::vector<std::uint8_t> word = WordsToBytes(std::span(&assignment.word, 1));
            std::copy(word.begin(), word.end(), bytes.begin() + 2 * (assignment.index - first));
        }
    };
    if (const Failure failure = ChangeBytesInPlace(path, offset, 2 * (last - first + 1), assign);
        !failure.ok())
        return FailureProblem(failure, path);
    return {};
}

Problem Bytes(const std::string& path, const PaletteArgument& argument,
              const std::string& programFolder, std::ostream& out) {
    Palette palette;
    if (Problem problem = ResolvePalette(path, argument, programFolder, palette); !problem.ok())
        return problem;
    // The viewer reads the count text as a whole number, not capped at sixteen.
    int count = kPaletteColours;
    if (!palette.atLocation) {
        const double number = LeadingNumber(palette.countText);
        const std::optional<std::int16_t> rounded = RoundToInt16(number);
        if (!rounded && number > 0)
            count = kMaxDumpColours + 1; // refused below as too large
        else
            count = rounded.value_or(0);
    }
    std::string dump;
    if (const Failure failure = BuildByteDump(path, palette.location, count, dump); !failure.ok())
        return FailureProblem(failure, path);
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

Problem Run(const std::vector<std::string>& args, const std::string& programFolder,
            std::ostream& out) {
    if (args.empty())
        return UsageProblem("falta o comando");
    const std::string& command = args[0];
    const std::size_t given = args.size() - 1;
    const auto expect = [&](std::size_t wanted) -> Problem {
        if (given != wanted)
            return UsageProblem(command + ": esperados " + std::to_string(wanted) +
                                " argumentos, recebidos " + std::to_string(given));
        return {};
    };
    PaletteArgument palette;
    if (command == "identify" || command == "list") {
        if (Problem problem = expect(1); !problem.ok())
            return problem;
        return command == "identify" ? Identify(args[1], out) : List(args[1], programFolder, out);
    }
    if (command == "show" || command == "bytes") {
        if (Problem problem = expect(2); !problem.ok())
            return problem;
        if (Problem problem = ParsePaletteArgument(args[2], palette); !problem.ok())
            return problem;
        return command == "show" ? Show(args[1], palette, programFolder, out)
                                 : Bytes(args[1], palette, programFolder, out);
    }
    if (command == "export" || command == "import") {
        if (Problem problem = expect(3); !problem.ok())
            return problem;
        if (Problem problem = ParsePaletteArgument(args[2], palette); !problem.ok())
            return problem;
        return command == "export" ? Export(args[1], palette, args[3], programFolder)
                                   : Import(args[1], palette, args[3], programFolder);
    }
    if (command == "set") {
        if (given < 3)
            return UsageProblem("set: esperados FILE, PALETTE e ao menos um INDEX=WORD");
        if (Problem problem = ParsePaletteArgument(args[2], palette); !problem.ok())
            return problem;
        std::vector<Assignment> assignments;
        if (Problem problem = ParseAssignments(std::span(args).subspan(3), assignments);
            !problem.ok())
            return problem;
        return Set(args[1], palette, assignments, programFolder);
    }
    return UsageProblem("comando desconhecido " + Quoted(command));
}

} // namespace

std::string UsageText() {
    return "Uso:\n"
           "  zandrel-cli identify FILE\n"
           "  zandrel-cli list FILE\n"
           "  zandrel-cli show FILE PALETTE\n"
           "  zandrel-cli export FILE PALETTE OUTFILE\n"
           "  zandrel-cli import FILE PALETTE INFILE\n"
           "  zandrel-cli set FILE PALETTE INDEX=WORD [INDEX=WORD ...]\n"
           "  zandrel-cli bytes FILE PALETTE\n"
           "PALETTE: o número de uma paleta do arquivo de definições (0 é a primeira), ou\n"
           "  @HEX, uma localização hex no arquivo onde há 16 cores (ex.: @1A0).\n"
           "OUTFILE, INFILE: .gbapal, .tpl, .pal (JASC), .gpl (GIMP) ou .act (Adobe).\n"
           "INDEX=WORD: índice da cor (0 a 15) e cor GBA em hex (0 a 7FFF), ex.: 3=7FFF.\n"
           "Saída: 0 sucesso, 1 falha (o arquivo não é alterado), 2 erro de uso.\n";
}

int RunCli(const std::vector<std::string>& args, const std::string& programFolder,
           std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help" || args[0] == "help")) {
        out << UsageText();
        return kExitSuccess;
    }
    const Problem problem = Run(args, programFolder, out);
    if (problem.ok())
        return kExitSuccess;
    err << kProgramName << ": " << problem.line << '\n';
    if (problem.status == kExitUsage)
        err << UsageText();
    return problem.status;
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
