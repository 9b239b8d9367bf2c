#include "CliCommands.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <istream>
#include <optional>
#include <span>
#include <vector>

#include "Arguments.h"
#include "DiffCommand.h"
#include "FindCommand.h"
#include "Json.h"
#include "PaletteLookup.h"
#include "PatchCommand.h"
#include "ScanCommand.h"
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
#include "special/ByteDump.h"
#include "util/Messages.h"
#include "util/NumberText.h"

namespace zandrel::cli {

namespace {

// What OUTFILE --format names, in the order the usage lists them.
constexpr std::string_view kFormatNames[] = {"gbapal", "tpl", "pal", "gpl", "act"};

// The exchange format of a palette file to write: --format's, else its name's extension.
Failure OutputFormat(const Invocation& call, const std::string& outPath, PaletteFormat& format) {
    std::string_view name;
    if (Failure failure = ChoiceOption(call.arguments, "--format", kFormatNames, name);
        !failure.ok())
        return failure;
    if (!name.empty()) {
        format = FormatForName("." + std::string(name), kEveryPaletteFormat);
        return {};
    }
    if (outPath == kStandardStream)
        return Failure::Usage(call.arguments.command + ": a saída padrão (-) precisa de --format " +
                              ChoiceList(kFormatNames));
    format = FormatForName(outPath, kEveryPaletteFormat);
    if (format == PaletteFormat::None)
        return Failure::FileRefused(outPath,
                                    "extensão desconhecida; use .gbapal, .tpl, .pal, .gpl ou .act");
    return {};
}

// PALETTE, the second operand, as FILE, the first, takes it.
Failure PaletteArgumentOf(const Invocation& call, PaletteArgument& argument) {
    return ParsePaletteArgument(call.Operand(1), !IsMemoryDumpName(call.Operand(0)), argument);
}

// PALETTE, the second operand, in FILE, the first.
Failure PaletteOperand(const Invocation& call, ColourNeed need, Palette& palette) {
    PaletteArgument argument;
    if (Failure failure = PaletteArgumentOf(call, argument); !failure.ok())
        return failure;
    return ResolvePalette(call.Operand(0), argument, call.folders, need, palette);
}

// Standard input read whole, by its content as a palette file is, and no more of it than a
// palette file may hold.
Failure ReadPaletteFromInput(std::istream& in, PaletteWords16& words) {
    std::vector<std::uint8_t> bytes;
    std::array<char, 4096> buffer{};
    while (bytes.size() <= kMaxPaletteFileSize && in) {
        in.read(buffer.data(), buffer.size());
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + in.gcount());
    }
    const std::string name(kStandardStream);
    if (in.bad())
        return Failure::CannotRead(name, FileStatus{FileError::ReadFailed, EIO});
    if (bytes.size() > kMaxPaletteFileSize)
        return Failure::CannotRead(name, FileStatus{FileError::TooLarge, 0, kMaxPaletteFileSize});
    if (const Failure failure = ReadPaletteOfContent(bytes, words); !failure.ok())
        return Failure::FileRefused(name, failure.reason);
    return {};
}

// --- The commands, in the order of the table. ---

Failure Identify(const Invocation& call) {
    const std::string& path = call.Operand(0);
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    Identification identification;
    if (Failure failure = IdentifyGame(path, call.folders, identification); !failure.ok())
        return failure;
    if (!call.Json()) {
        call.out << identification.title << '\n';
        return {};
    }
    call.out << JsonObject()
                    .Text("file", path)
                    .Text("title", identification.title)
                    .TextOrNull("code", identification.code)
                    .Text("definitions", DefinitionPath(identification, call.folders))
                    .Close()
             << '\n';
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
    std::vector<std::string> rows;
    for (std::size_t row = 0; row < table.locations.size(); ++row) {
        if (!call.Json()) {
            call.out << row << '\t' << table.counts[row] << '\t' << table.locations[row] << '\t'
                     << table.names[row] << '\n';
            continue;
        }
        rows.push_back(JsonObject()
                           .Number("row", static_cast<std::int64_t>(row))
                           .Text("count", table.counts[row])
                           .Number("colours", PaletteColourCount(table.counts[row]))
                           .Text("location", table.locations[row])
                           .Text("name", table.names[row])
                           .Close());
    }
    if (call.Json())
        call.out << JsonObject()
                        .Text("file", path)
                        .Text("definitions", definitions.path)
                        .Array("palettes", rows)
                        .Close()
                 << '\n';
    return {};
}

Failure Show(const Invocation& call) {
    const std::string& path = call.Operand(0);
    Palette palette;
    if (Failure failure = PaletteOperand(call, ColourNeed::OneOrMore, palette); !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (Failure failure = ReadWholePalette(path, palette.where, palette.count, words);
        !failure.ok())
        return failure;
    std::vector<std::string> colours;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Rgb rgb = SplitColor(WordToColor(words[i]));
        if (!call.Json()) {
            call.out << i << '\t' << WordHexText(words[i]) << '\t' << rgb.red << '\t' << rgb.green
                     << '\t' << rgb.blue << '\n';
            continue;
        }
        colours.push_back(JsonObject()
                              .Number("index", static_cast<std::int64_t>(i))
                              .Text("word", WordHexText(words[i]))
                              .Number("red", rgb.red)
                              .Number("green", rgb.green)
                              .Number("blue", rgb.blue)
                              .Close());
    }
    if (call.Json())
        call.out << JsonObject()
                        .Text("file", path)
                        .Text("palette", palette.name)
                        .Text("location", PaletteLocationText(palette.where))
                        .Array("colours", colours)
                        .Close()
                 << '\n';
    return {};
}

Failure Export(const Invocation& call) {
    PaletteArgument argument;
    if (Failure failure = PaletteArgumentOf(call, argument); !failure.ok())
        return failure;
    const std::string& path = call.Operand(0);
    const std::string& outPath = call.Operand(2);
    const bool toOut = outPath == kStandardStream;
    PaletteFormat format = PaletteFormat::None;
    if (Failure failure = OutputFormat(call, outPath, format); !failure.ok())
        return failure;
    if (Failure failure = toOut ? Failure{} : RefuseWritingOverOpenFile(outPath, path);
        !failure.ok())
        return failure;
    Palette palette;
    if (Failure failure =
            ResolvePalette(path, argument, call.folders, ColourNeed::Sixteen, palette);
        !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (Failure failure = ReadWholePalette(path, palette.where, kPaletteColours, words);
        !failure.ok())
        return failure;
    if (!toOut)
        return WritePaletteFile(outPath, format, WordsToColours(words), palette.name);
    const std::vector<std::uint8_t> bytes =
        PaletteFileBytes(format, WordsToColours(words), palette.name);
    call.out.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    return {};
}

// INFILE is read by its content, as the window's import reads it, whatever its name says.
Failure Import(const Invocation& call) {
    Palette palette;
    if (Failure failure = PaletteOperand(call, ColourNeed::Sixteen, palette); !failure.ok())
        return failure;
    const std::string& inPath = call.Operand(2);
    PaletteWords16 words{};
    if (Failure failure = inPath == kStandardStream ? ReadPaletteFromInput(call.in, words)
                                                    : ReadPaletteFile(inPath, words);
        !failure.ok())
        return failure;
    return WritePalette(call.Operand(0), palette.where, words);
}

Failure Set(const Invocation& call) {
    PaletteArgument argument;
    if (Failure failure = PaletteArgumentOf(call, argument); !failure.ok())
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
    if (Failure failure = CheckInsideFile(call.Operand(0), palette.where, palette.count);
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

constexpr OptionRule kJsonOption[] = {{"--json", false}};
constexpr OptionRule kExportOptions[] = {{"--format", true}};

constexpr Command kCommands[] = {
    {"identify", "FILE [--json]", 1, 1, kJsonOption, Identify},
    {"list", "FILE [--json]", 1, 1, kJsonOption, List},
    {"show", "FILE PALETTE [--json]", 2, 2, kJsonOption, Show},
    {"export", "FILE PALETTE OUTFILE [--format FORMAT]", 3, 3, kExportOptions, Export},
    {"import", "FILE PALETTE INFILE", 3, 3, {}, Import},
    {"set", "FILE PALETTE INDEX=COLOUR [INDEX=COLOUR ...]", 3, kAnyNumber, {}, Set},
    {"bytes", "FILE PALETTE", 2, 2, {}, Bytes},
    {"scan", kScanUsage, 1, 1, kScanOptions, Scan},
    {"tiles", kTilesUsage, 4, 4, kTilesOptions, Tiles},
    {"find", kFindUsage, 2, 2, kFindOptions, Find},
    {"diff", kDiffUsage, 2, 2, kDiffOptions, Diff, true},
    {"patch", kPatchUsage, 3, 3, {}, MakePatchCommand},
    {"apply", kApplyUsage, 3, 3, {}, ApplyPatchCommand},
};

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

std::span<const UsageNote> UsageNotes() {
    static const UsageNote notes[] = {
        {"PALETTE",
         "o número de uma paleta do arquivo de definições (0 é a primeira), ou\n"
         "  @HEX, uma localização hex no arquivo onde há 16 cores (ex.: @1A0, @0x1A0,\n"
         "  @$1A0), ou @LZ:HEX[+DESL], as cores de um bloco comprimido LZ77 na\n"
         "  localização HEX, a partir do byte DESL (hex, par) dos dados descomprimidos\n"
         "  (ex.: @LZ:3B8A8C+20, @lz:3b8a8c). Numa ROM (não num dump de memória), um\n"
         "  endereço do GBA de 08000000 a 09FFFFFF é a posição no arquivo: 08000000 é 0.\n"},
        {"OUTFILE", ".gbapal, .tpl, .pal (JASC), .gpl (GIMP) ou .act (Adobe), ou - para\n"
                    "  a saída padrão, com --format.\n"},
        {"FORMAT", ChoiceList(kFormatNames) + "; vale no lugar da extensão de OUTFILE.\n"},
        {"INFILE", ".gbapal, .tpl, .pal, .gpl, .act ou .png (indexado), ou - para a\n"
                   "  entrada padrão; o formato é reconhecido pelo conteúdo.\n"},
        {"INDEX=COLOUR", "índice da cor (0 a 15) e cor: uma palavra GBA (7FFF, $7FFF,\n"
                         "  0x7FFF, 1F) ou #RRGGBB, RRGGBB; ex.: 3=7FFF, 3=#FF0000.\n"},
        {"scan", ScanNote()},
        {"GRAPHICS", GraphicsNote()},
        {"OUT.png", "criado ou substituído inteiro; não pode ser FILE; - é a saída padrão.\n"},
        {"tiles", TilesNote()},
        {"WHAT", WhatNote()},
        {"find", FindNote()},
        {"diff", DiffNote()},
        {"patch", PatchNote()},
        {"apply", ApplyNote()},
        {"--json", "a saída como um objeto JSON numa linha, para scripts.\n"},
    };
    return notes;
}

} // namespace zandrel::cli
