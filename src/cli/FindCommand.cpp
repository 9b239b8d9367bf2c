#include "FindCommand.h"

#include <algorithm>
#include <variant>
#include <vector>

#include "Cli.h"
#include "Json.h"
#include "PaletteLookup.h"
#include "colour/ColourText.h"
#include "palfiles/PaletteFiles.h"
#include "rom/Definitions.h"
#include "rom/Games.h"
#include "scan/PaletteFind.h"
#include "scan/PaletteScanner.h"
#include "util/Text.h"

namespace zandrel::cli {

namespace {

// The sixteen words at DUMP@LOCATION: LOCATION as PALETTE's "@" form, read from DUMP.
Failure ReadDumpWords(const Invocation& call, const std::string& dump, const std::string& at,
                      PaletteWords16& wanted) {
    PaletteArgument argument;
    if (Failure failure = ParsePaletteArgument(at, !IsMemoryDumpName(dump), argument);
        !failure.ok())
        return failure;
    Palette palette;
    if (Failure failure =
            ResolvePalette(dump, argument, call.folders, ColourNeed::Sixteen, palette);
        !failure.ok())
        return failure;
    std::vector<ColorWord> words;
    if (Failure failure = ReadWholePalette(dump, palette.where, kPaletteColours, words);
        !failure.ok())
        return failure;
    std::ranges::copy(words, wanted.begin());
    return {};
}

// WHAT: 64 hex digits, else DUMP@LOCATION when what follows the last "@" is a location, else
// a palette file.
Failure ReadWanted(const Invocation& call, PaletteWords16& wanted) {
    const std::string& what = call.Operand(1);
    const PastedColours pasted = ParsePastedColours(what);
    if (const auto* words = std::get_if<PaletteWords16>(&pasted)) {
        wanted = *words;
        return {};
    }
    const std::size_t at = what.rfind('@');
    PaletteArgument probe;
    if (at != std::string::npos && at > 0 &&
        ParsePaletteArgument(what.substr(at), true, probe).ok())
        return ReadDumpWords(call, what.substr(0, at), what.substr(at), wanted);
    return ReadPaletteFile(what, wanted);
}

Failure ReadOptions(const CommandArguments& arguments, FindOptions& options) {
    for (Failure failure : {NumberOption(arguments, "--tolerance", "um número de passos", 0,
                                         kLargestTolerance, options.tolerance),
                            NumberOption(arguments, "--colours", "um número de cores", 1,
                                         kPaletteColours, options.colours)})
        if (!failure.ok())
            return failure;
    options.skipFirst = arguments.Has("--skip-first");
    if (options.skipFirst && options.colours == 1)
        return Failure::Usage(arguments.command + ": --skip-first deixa --colours 1 sem cores");
    return {};
}

std::string JsonOf(const std::string& path, const FindResult& result) {
    std::vector<std::string> matches;
    for (const PaletteMatch& match : result.matches)
        matches.push_back(JsonObject()
                              .Text("location", PaletteLocationText(match.where))
                              .Text("name", MatchName(match))
                              .Number("steps", match.steps)
                              .Number("differing", match.differing)
                              .Close());
    return JsonObject()
               .Text("file", path)
               .Number("found", static_cast<std::int64_t>(result.found))
               .Number("blocks", static_cast<std::int64_t>(result.blocks))
               .Array("matches", matches)
               .Close() +
           "\n";
}

} // namespace

Failure Find(const Invocation& call) {
    FindOptions options;
    PaletteWords16 wanted{};
    for (Failure failure : {ReadOptions(call.arguments, options), ReadWanted(call, wanted)})
        if (!failure.ok())
            return failure;
    const std::string& path = call.Operand(0);
    std::vector<std::uint8_t> rom;
    if (Failure failure = ReadRomImage(path, rom); !failure.ok())
        return failure;
    const FindResult result = FindPalette(rom, wanted, options);
    if (result.matches.empty())
        return Failure::FileRefused(path, "a paleta não foi encontrada nos " +
                                              std::to_string(rom.size()) +
                                              " bytes do arquivo nem nos dados de " +
                                              std::to_string(result.blocks) + " blocos LZ77");
    if (result.found > result.matches.size())
        call.err << kProgramName << ": find: ficaram de fora "
                 << result.found - result.matches.size() << " de " << result.found
                 << " localizações (um arquivo de definições guarda no "
                 << "máximo " << kMostMatches << " paletas; estas são as mais próximas)\n";
    if (call.Json()) {
        call.out << JsonOf(path, result);
        return {};
    }
    std::string lines;
    for (const PaletteMatch& match : result.matches)
        lines += DefinitionEntryText(kPaletteColours, match.where, MatchName(match)) + "\n";
    call.out << lines;
    return {};
}

std::string WhatNote() {
    return "a paleta procurada: 64 dígitos hex (os 32 bytes como Copiar paleta os dá),\n"
           "  DUMP@LOCAL (as 16 cores de outro arquivo, como um dump de memória, no\n"
           "  LOCAL escrito como o de PALETTE; ex.: ram.dmp@3E0) ou um arquivo de\n"
           "  paleta de qualquer formato que import lê.\n";
}

std::string FindNote() {
    return "onde WHAT está em FILE: em cada posição par do arquivo e nos dados\n"
           "  descomprimidos de cada bloco LZ77, o bit 15 ignorado; como linhas de um\n"
           "  arquivo de definições, as exatas antes das próximas. --tolerance N aceita\n"
           "  cada componente de 5 bits a até N passos (0 a " +
           std::to_string(kLargestTolerance) +
           ", padrão 0), --colours K\n"
           "  compara só as K primeiras cores (1 a 16), --skip-first deixa a cor 0 de fora.\n"
           "  Sem nenhuma, diz o que procurou e sai com 1.\n";
}

} // namespace zandrel::cli
