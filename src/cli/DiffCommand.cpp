#include "DiffCommand.h"

#include <algorithm>
#include <vector>

#include "Json.h"
#include "PaletteLookup.h"
#include "rom/RomCompare.h"
#include "scan/PaletteScanner.h"
#include "util/Hex.h"
#include "util/NumberText.h"

namespace zandrel::cli {

namespace {

// The rows of A's definition file that name a palette; the others (no colours, no location)
// are left out, as the window leaves them.
Failure DefinedPalettes(const Invocation& call, std::vector<ListedPalette>& palettes) {
    Definitions definitions;
    if (Failure failure = LoadDefinitions(call.Operand(0), call.folders, definitions);
        !failure.ok())
        return failure;
    const PaletteTable& table = definitions.table;
    for (std::size_t row = 0; row < table.locations.size(); ++row) {
        const int colours = PaletteColourCount(table.counts[row]);
        const std::optional<PaletteLocation> where = ParsePaletteLocation(table.locations[row]);
        if (colours > 0 && where)
            palettes.push_back(
                {*where, std::min(colours, kPaletteColours), std::string(table.names[row])});
    }
    return {};
}

std::vector<ListedPalette> ScannedPalettes(std::span<const std::uint8_t> rom) {
    std::vector<ListedPalette> palettes;
    for (const PaletteCandidate& candidate : ScanPalettes(rom))
        palettes.push_back(
            {candidate.where, kPaletteColours, PaletteLocationText(candidate.where)});
    return palettes;
}

std::string RangeText(const ByteRange& range) {
    return range.first == range.last ? HexText(static_cast<std::int64_t>(range.first))
                                     : HexText(static_cast<std::int64_t>(range.first)) + "-" +
                                           HexText(static_cast<std::int64_t>(range.last));
}

std::string ChangesText(const PaletteDifference& difference) {
    if (!difference.readableBefore || !difference.readableAfter)
        return std::string("ilegível em ") + (difference.readableBefore ? "B" : "A");
    std::string text;
    for (const ColourChange& change : difference.changes)
        text += (text.empty() ? "" : " ") + std::to_string(change.index) + ":" +
                WordHexText(change.before) + ">" + WordHexText(change.after);
    return text;
}

std::string Text(std::span<const ListedPalette> palettes, const RomComparison& comparison) {
    std::string text;
    for (const PaletteDifference& difference : comparison.palettes) {
        const ListedPalette& palette = palettes[difference.palette];
        text += PaletteLocationText(palette.where) + "\t" + palette.name + "\t" +
                ChangesText(difference) + "\n";
    }
    if (comparison.bytes == 0)
        return text;
    text += "fora das paletas: " + std::to_string(comparison.bytes) +
            (comparison.bytes == 1 ? " byte" : " bytes") + " em " +
            std::to_string(comparison.ranges) + (comparison.ranges == 1 ? " trecho:" : " trechos:");
    for (const ByteRange& range : comparison.firstRanges)
        text += " " + RangeText(range);
    return text + (comparison.ranges > comparison.firstRanges.size() ? " ...\n" : "\n");
}

std::string Json(const Invocation& call, std::span<const ListedPalette> palettes,
                 const RomComparison& comparison) {
    std::vector<std::string> differences;
    for (const PaletteDifference& difference : comparison.palettes) {
        std::vector<std::string> colours;
        for (const ColourChange& change : difference.changes)
            colours.push_back(JsonObject()
                                  .Number("index", change.index)
                                  .Text("before", WordHexText(change.before))
                                  .Text("after", WordHexText(change.after))
                                  .Close());
        const ListedPalette& palette = palettes[difference.palette];
        differences.push_back(JsonObject()
                                  .Text("location", PaletteLocationText(palette.where))
                                  .Text("name", palette.name)
                                  .Text("unreadable", difference.readableBefore
                                                          ? difference.readableAfter ? "" : "B"
                                                          : "A")
                                  .Array("colours", colours)
                                  .Close());
    }
    std::vector<std::string> ranges;
    for (const ByteRange& range : comparison.firstRanges)
        ranges.push_back(JsonObject()
                             .Text("first", HexText(static_cast<std::int64_t>(range.first)))
                             .Text("last", HexText(static_cast<std::int64_t>(range.last)))
                             .Close());
    return JsonObject()
               .Text("file", call.Operand(0))
               .Text("other", call.Operand(1))
               .Array("palettes", differences)
               .Number("bytes", static_cast<std::int64_t>(comparison.bytes))
               .Number("rangeCount", static_cast<std::int64_t>(comparison.ranges))
               .Array("ranges", ranges)
               .Close() +
           "\n";
}

} // namespace

Failure Diff(const Invocation& call) {
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    for (Failure failure :
         {ReadRomImage(call.Operand(0), before), ReadRomImage(call.Operand(1), after)})
        if (!failure.ok())
            return failure;
    std::vector<ListedPalette> palettes;
    if (call.arguments.Has("--scan"))
        palettes = ScannedPalettes(before);
    else if (Failure failure = DefinedPalettes(call, palettes); !failure.ok())
        return failure;
    const RomComparison comparison = CompareRoms(before, after, palettes);
    call.different = !comparison.Same();
    call.out << (call.Json() ? Json(call, palettes, comparison) : Text(palettes, comparison));
    return {};
}

std::string DiffNote() {
    return "as paletas do arquivo de definições de A (--scan: as que scan acha em A)\n"
           "  cujas cores mudaram em B, uma por linha: localização, nome e\n"
           "  ÍNDICE:ANTES>DEPOIS de cada cor; depois os bytes diferentes fora delas,\n"
           "  com os primeiros trechos (hex). Sai com 0 se nada difere, 1 se algo\n"
           "  difere, 2 em qualquer problema (uso, arquivo ilegível), como cmp.\n";
}

} // namespace zandrel::cli
