#include "CliCommands.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "Arguments.h"
#include "PaletteLookup.h"
#include "TilesCommand.h"
#include "colour/Codec.h"
#include "palfiles/PaletteFiles.h"
#include "palfiles/PaletteFormats.h"
#include "platform/Failure.h"
#include "platform/SameFile.h"
#include "rom/Definitions.h"
#include "rom/Identify.h"
#include "rom/PaletteAccess.h"
#include "rom/PaletteIO.h"
#include "rom/PaletteLocation.h"
#include "scan/PaletteScanner.h"
#include "special/ByteDump.h"
#include "util/Messages.h"

namespace zandrel::cli {

namespace {

constexpr int kLowestScore = 0;
constexpr int kHighestScore = 100;

// The exchange format the name of a palette file to write asks for by its extension.
Failure FormatOfName(const std::string& path, PaletteFormat& format) {
    format = FormatForName(path, kEveryPaletteFormat);
    if (format == PaletteFormat::None)
        return Failure::FileRefused(path,
                                    "extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act");
    return {};
}

// PALETTE, the second operand, in FILE, the first.
Failure PaletteOperand(const Invocation& call, ColourNeed need, Palette& palette) {
    PaletteArgument argument;
    if (Failure failure = ParsePaletteArgument(call.Operand(1), argument); !failure.ok())
        return failure;
    return ResolvePalette(call.Operand(0), argument, call.folders, need, palette);
}

// --- The commands, in the order of the table. ---

Failure Identify(const Invocation& call) {
    const std::string& path = call.Operand(0);
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    const std::optional<Identification> identification = IdentifyFile(path, call.folders);
    if (!identification)
        return Failure::FileRefused(path, text::kNotIdentified);
    call.out << identification->title << '\n';
    return {};
}

Failure List(const Invocation& call) {
    const std::string& path = call.Operand(0);
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    Definitions definitions;
    if (Failure failure = LoadDefinitions(path, call.folders, definitions); !failure.ok())
        return failure;
    const PaletteTable& table = definitions.table;
    for (std::size_t row = 0; row < table.locations.size(); ++row)
        call.out << row << '\t' << table.counts[row] << '\t' << table.locations[row] << '\t'
                 << table.names[row] << '\n';
    return {};
}

Failure Show(const Invocation& call) {
    Palette palette;
    if (Failure failure = PaletteOperand(call, ColourNeed::OneOrMore, palette); !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (const Failure failure =
            ReadPalette(call.Operand(0), palette.where, static_cast<int>(palette.count), words);
        !failure.ok())
        return failure;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Rgb rgb = SplitColor(WordToColor(words[i]));
        call.out << i << '\t' << WordHexText(words[i]) << '\t' << rgb.red << '\t' << rgb.green
                 << '\t' << rgb.blue << '\n';
    }
    return {};
}

Failure Export(const Invocation& call) {
    PaletteArgument argument;
    if (Failure failure = ParsePaletteArgument(call.Operand(1), argument); !failure.ok())
        return failure;
    const std::string& path = call.Operand(0);
    const std::string& outPath = call.Operand(2);
    PaletteFormat format = PaletteFormat::None;
    if (Failure failure = FormatOfName(outPath, format); !failure.ok())
        return failure;
    if (Failure failure = RefuseWritingOverOpenFile(outPath, path); !failure.ok())
        return failure;
    Palette palette;
    if (Failure failure =
            ResolvePalette(path, argument, call.folders, ColourNeed::Sixteen, palette);
        !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (const Failure failure = ReadPalette(path, palette.where, kPaletteColours, words);
        !failure.ok())
        return failure;
    return WritePaletteFile(outPath, format, WordsToColours(words), palette.name);
}

// INFILE is read by its content, as the window's import reads it, whatever its name says.
Failure Import(const Invocation& call) {
    Palette palette;
    if (Failure failure = PaletteOperand(call, ColourNeed::Sixteen, palette); !failure.ok())
        return failure;
    PaletteWords16 words{};
    if (Failure failure = ReadPaletteFile(call.Operand(2), words); !failure.ok())
        return failure;
    return WritePalette(call.Operand(0), palette.where, words);
}

Failure Set(const Invocation& call) {
    PaletteArgument argument;
    if (Failure failure = ParsePaletteArgument(call.Operand(1), argument); !failure.ok())
        return failure;
    std::vector<Assignment> assignments;
    if (Failure failure =
            ParseAssignments(std::span(call.arguments.operands).subspan(2), assignments);
        !failure.ok())
        return failure;
    const std::string& path = call.Operand(0);
    Palette palette;
    if (Failure failure =
            ResolvePalette(path, argument, call.folders, ColourNeed::OneOrMore, palette);
        !failure.ok())
        return failure;
    const auto count = static_cast<std::size_t>(palette.count);
    std::size_t first = count;
    std::size_t last = 0;
    for (const Assignment& assignment : assignments) {
        if (assignment.index >= count)
            return Failure::FileRefused(path, "o índice " + std::to_string(assignment.index) +
                                                  " não está na paleta " + argument.text +
                                                  ", que tem " + std::to_string(count) +
                                                  " cores (0 a " + std::to_string(count - 1) + ")");
        first = std::min(first, assignment.index);
        last = std::max(last, assignment.index);
    }
    if (palette.where.compressed)
        return ChangeCompressedPalette(path, palette.where, static_cast<int>(count),
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

Failure Bytes(const Invocation& call) {
    Palette palette;
    if (Failure failure = PaletteOperand(call, ColourNeed::ViewerCount, palette); !failure.ok())
        return failure;
    std::string dump;
    if (const Failure failure = BuildByteDump(call.Operand(0), palette.where, palette.count, dump);
        !failure.ok())
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
    call.out << lines;
    return {};
}

// The candidates as definition-file lines, best first.
Failure Scan(const Invocation& call) {
    if (call.arguments.Has("--graphics"))
        return ScanGraphics(call);
    ScanOptions options;
    if (Failure failure = NumberOption(call.arguments, "--min", "uma pontuação", kLowestScore,
                                       kHighestScore, options.minimumScore);
        !failure.ok())
        return failure;
    if (Failure failure = RefuseBoth(call.arguments, "--raw-only", "--compressed-only");
        !failure.ok())
        return failure;
    options.raw = !call.arguments.Has("--compressed-only");
    options.compressed = !call.arguments.Has("--raw-only");
    const std::string& path = call.Operand(0);
    std::vector<std::uint8_t> rom;
    if (Failure failure = ReadRomImage(path, rom); !failure.ok())
        return failure;
    for (const PaletteCandidate& candidate : ScanPalettes(rom, options))
        call.out << DefinitionLine(kPaletteColours, candidate.where, CandidateName(candidate))
                 << '\n';
    return {};
}

constexpr OptionRule kScanOptions[] = {
    {"--min", true}, {"--raw-only", false}, {"--compressed-only", false}, {"--graphics", false}};

constexpr Command kCommands[] = {
    {"identify", "FILE", 1, 1, {}, Identify},
    {"list", "FILE", 1, 1, {}, List},
    {"show", "FILE PALETTE", 2, 2, {}, Show},
    {"export", "FILE PALETTE OUTFILE", 3, 3, {}, Export},
    {"import", "FILE PALETTE INFILE", 3, 3, {}, Import},
    {"set", "FILE PALETTE INDEX=WORD [INDEX=WORD ...]", 3, kAnyNumber, {}, Set},
    {"bytes", "FILE PALETTE", 2, 2, {}, Bytes},
    {"scan", "FILE [--min N] [--raw-only|--compressed-only] [--graphics]", 1, 1, kScanOptions,
     Scan},
    {"tiles", kTilesUsage, 4, 4, kTilesOptions, Tiles},
};

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

std::span<const UsageNote> UsageNotes() {
    static const UsageNote notes[] = {
        {"PALETTE",
         "o número de uma paleta do arquivo de definições (0 é a primeira), ou\n"
         "  @HEX, uma localização hex no arquivo onde há 16 cores (ex.: @1A0), ou\n"
         "  @LZ:HEX[+DESL], as cores de um bloco comprimido LZ77 na localização HEX, a\n"
         "  partir do byte DESL (hex, par) dos dados descomprimidos (ex.: @LZ:3B8A8C+20).\n"},
        {"OUTFILE", ".gbapal, .tpl, .pal (JASC), .gpl (GIMP) ou .act (Adobe).\n"},
        {"INFILE", ".gbapal, .tpl, .pal, .gpl, .act ou .png (indexado); o formato é\n"
                   "  reconhecido pelo conteúdo.\n"},
        {"INDEX=WORD", "índice da cor (0 a 15) e cor GBA em hex (0 a 7FFF), ex.: 3=7FFF.\n"},
        {"scan", "as paletas que o arquivo parece ter, como linhas de um arquivo de\n"
                 "  definições, da melhor para a pior; --min N só as de pontuação N ou mais\n"
                 "  (" +
                     std::to_string(kLowestScore) + " a " + std::to_string(kHighestScore) +
                     ", padrão " + std::to_string(kDefaultMinimumScore) +
                     "), --raw-only só as brutas, --compressed-only só as comprimidas;\n"
                     "  --graphics, em vez delas, os blocos comprimidos de gráficos (tiles\n"
                     "  inteiros, 256 bytes ou mais): localização, bytes descomprimidos e tiles\n"
                     "  de 4 bits.\n"},
        {"GRAPHICS", GraphicsNote()},
        {"OUT.png", "criado ou substituído inteiro; não pode ser FILE.\n"},
        {"tiles", TilesNote()},
    };
    return notes;
}

} // namespace zandrel::cli
