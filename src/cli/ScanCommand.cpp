#include "ScanCommand.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "Arguments.h"
#include "Cli.h"
#include "Json.h"
#include "ScanProgress.h"
#include "TilesCommand.h"
#include "platform/NewFile.h"
#include "platform/SameFile.h"
#include "rom/Definitions.h"
#include "scan/PaletteScanner.h"
#include "util/Text.h"

namespace zandrel::cli {

namespace {

constexpr int kLowestScore = 0;
constexpr int kHighestScore = 100;
constexpr std::string_view kSortOrders[] = {"best", "offset"};

// Anything at the path, a link to nothing included.
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// -o NEWFILE: refused before the scan when it is FILE itself or, without --force, is there.
Failure CheckNewFile(const Invocation& call, const std::string& outPath) {
    if (Failure failure = RefuseWritingOverOpenFile(outPath, call.Operand(0)); !failure.ok())
        return failure;
    if (!call.arguments.Has("--force") && Exists(outPath))
        return Failure::FileRefused(
            outPath, "o arquivo já existe; use --force para substituí-lo. Nada foi gravado.");
    return {};
}

std::string JsonOf(const std::string& path, const std::vector<PaletteCandidate>& candidates) {
    std::vector<std::string> palettes;
    for (const PaletteCandidate& candidate : candidates)
        palettes.push_back(JsonObject()
                               .Text("location", PaletteLocationText(candidate.where))
                               .Number("score", candidate.score)
                               .Text("name", CandidateName(candidate))
                               .Close());
    return JsonObject().Text("file", path).Array("palettes", palettes).Close() + "\n";
}

} // namespace

Failure Scan(const Invocation& call) {
    if (call.arguments.Has("--graphics"))
        return ScanGraphics(call);
    const CommandArguments& arguments = call.arguments;
    ScanOptions options;
    std::string_view order = kSortOrders[0];
    std::string outPath;
    for (Failure failure :
         {NumberOption(arguments, "--min", "uma pontuação", kLowestScore, kHighestScore,
                       options.minimumScore),
          RefuseBoth(arguments, "--raw-only", "--compressed-only"),
          ChoiceOption(arguments, "--sort", kSortOrders, order),
          FileNameOption(arguments, "-o", outPath), RefuseBoth(arguments, "--json", "-o")})
        if (!failure.ok())
            return failure;
    options.raw = !arguments.Has("--compressed-only");
    options.compressed = !arguments.Has("--raw-only");
    const bool toFile = !outPath.empty() && outPath != kStandardStream;
    if (Failure failure = toFile ? CheckNewFile(call, outPath) : Failure{}; !failure.ok())
        return failure;

    const std::string& path = call.Operand(0);
    std::vector<std::uint8_t> rom;
    if (Failure failure = ReadRomImage(path, rom); !failure.ok())
        return failure;
    options.progress = ScanProgress(call.err, rom.size());
    std::vector<PaletteCandidate> candidates = ScanPalettes(rom, options);
    if (candidates.empty())
        return Failure::FileRefused(
            path, "nenhuma paleta encontrada com pontuação " +
                      std::to_string(options.minimumScore) + " ou mais" +
                      (toFile ? "; nada foi gravado em " + Quoted(outPath) : std::string()));
    // The best ones a definition file holds; the error stream says how many more there were.
    const std::size_t found = candidates.size();
    if (!call.Json() && found > kMaxDefinitionEntries) {
        candidates.resize(kMaxDefinitionEntries);
        call.err << kProgramName << ": scan: ficaram de fora " << found - candidates.size()
                 << " de " << found << " candidatas (um arquivo de definições guarda no máximo "
                 << kMaxDefinitionEntries << " paletas; estas são as de pontuação mais alta)\n";
    }
    if (order == "offset")
        std::ranges::sort(candidates, {}, [](const PaletteCandidate& candidate) {
            return std::pair(candidate.where.location, candidate.where.offsetInBlock);
        });
    if (call.Json()) {
        call.out << JsonOf(path, candidates);
        return {};
    }
    std::string lines;
    for (const PaletteCandidate& candidate : candidates)
        lines +=
            DefinitionEntryText(kPaletteColours, candidate.where, CandidateName(candidate)) + "\n";
    if (!toFile) {
        call.out << lines;
        return {};
    }
    return WriteNewFile(outPath, std::vector<std::uint8_t>(lines.begin(), lines.end()));
}

std::string ScanNote() {
    return "as paletas que o arquivo parece ter, como linhas de um arquivo de\n"
           "  definições, da melhor para a pior; --min N só as de pontuação N ou mais\n"
           "  (" +
           std::to_string(kLowestScore) + " a " + std::to_string(kHighestScore) + ", padrão " +
           std::to_string(kDefaultMinimumScore) +
           "), --raw-only só as brutas, --compressed-only só as\n"
           "  comprimidas; --sort offset na ordem do arquivo; -o NEWFILE grava as linhas\n"
           "  num arquivo novo (--force substitui um que já exista; - é a saída padrão),\n"
           "  só se achar alguma paleta. Sem nenhuma, diz isso e sai com 1. --graphics,\n"
           "  em vez delas, os blocos comprimidos de gráficos (tiles inteiros, 256 bytes\n"
           "  ou mais): localização, bytes descomprimidos e tiles de 4 bits.\n";
}

} // namespace zandrel::cli
