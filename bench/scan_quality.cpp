// Recall and precision of the palette scanner on synthetic ROMs whose planted palettes are
// listed beside them (tools/make_synthetic_rom.py writes NAME.gba and NAME.palettes.csv).
// Recall: planted palettes among the candidates at or above the minimum score. Precision:
// those candidates that are planted palettes.
// Usage: zandrel_scan_quality [--min SCORE] [--verbose] ROM.gba ...
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "rom/Definitions.h"
#include "scan/PaletteScanner.h"
#include "util/ColourTypes.h"

using namespace zandrel;

namespace {

using Key = std::tuple<std::uint32_t, bool, std::uint32_t>;

std::set<Key> ReadPlanted(const std::string& romPath) {
    std::string stem = romPath;
    if (stem.size() > 4 && stem.substr(stem.size() - 4) == ".gba")
        stem.resize(stem.size() - 4);
    std::ifstream in(stem + ".palettes.csv");
    std::set<Key> planted;
    std::string line;
    std::getline(in, line); // column names
    while (std::getline(in, line)) {
        unsigned location = 0, compressed = 0, offset = 0, pointed = 0;
        if (std::sscanf(line.c_str(), "%x,%u,%x,%u", &location, &compressed, &offset, &pointed) ==
            4)
            planted.insert({location, compressed != 0, offset});
    }
    return planted;
}

} // namespace

int main(int argc, char** argv) {
    ScanOptions options;
    bool verbose = false;
    std::vector<std::string> roms;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--min" && i + 1 < argc)
            options.minimumScore = std::stoi(argv[++i]);
        else if (arg == "--verbose")
            verbose = true;
        else
            roms.push_back(arg);
    }
    std::size_t allPlanted = 0, allFound = 0, allReported = 0;
    for (const std::string& path : roms) {
        std::vector<std::uint8_t> bytes;
        if (!ReadRomImage(path, bytes).ok()) {
            std::fprintf(stderr, "%s: cannot read\n", path.c_str());
            return 2;
        }
        const std::set<Key> planted = ReadPlanted(path);
        std::set<Key> found;
        const auto candidates = ScanPalettes(bytes, options);
        for (const PaletteCandidate& c : candidates) {
            const Key key{c.where.location, c.where.compressed, c.where.offsetInBlock};
            const bool isPlanted = planted.count(key) != 0;
            if (isPlanted)
                found.insert(key);
            if (verbose)
                std::printf("  %s: %s\n", isPlanted ? "true" : "false",
                            DefinitionEntryText(kPaletteColours, c.where, CandidateName(c)).c_str());
        }
        if (verbose)
            for (const Key& key : planted)
                if (!found.count(key))
                    std::printf("  missed: %X %d +%X\n", std::get<0>(key), std::get<1>(key),
                                std::get<2>(key));
        std::printf("%s: planted %zu, found %zu (recall %.1f%%), reported %zu (precision %.1f%%)\n",
                    path.c_str(), planted.size(), found.size(),
                    100.0 * found.size() / std::max<std::size_t>(1, planted.size()),
                    candidates.size(),
                    100.0 * found.size() / std::max<std::size_t>(1, candidates.size()));
        allPlanted += planted.size();
        allFound += found.size();
        allReported += candidates.size();
    }
    std::printf(
        "all: minimum score %d, recall %.1f%% (%zu of %zu), precision %.1f%% (%zu of %zu)\n",
        options.minimumScore, 100.0 * allFound / std::max<std::size_t>(1, allPlanted), allFound,
        allPlanted, 100.0 * allFound / std::max<std::size_t>(1, allReported), allFound,
        allReported);
    return 0;
}
