// Writes what the palette scanner weighs on ROMs whose palettes are known, one CSV row each:
//   evidence rows: label,rom,location,compressed,offset,evidence... for every raw window the
//                  counts let through and every palette of a clean LZ77 block;
//   --counts:      label,counts... for the counts of every planted raw window and one in 8 of
//                  the other windows with two non-zero words or more;
//   --kept:        label,rom,location,0,0,evidence... for every raw window the scan keeps, its
//                  evidence among the windows kept around it.
// The label is 1 for a planted palette, 0 for anything else; planted palettes of fewer than 3
// distinct colours (which the scanner is not measured on) are left out.
// Usage: zandrel_scan_dump [--counts | --kept] ROM.gba...   (each with ROM.palettes.csv beside it,
// as tools/make_real_rom.py and tools/make_synthetic_rom.py write them)
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "scan/CompressedCandidates.h"
#include "scan/PaletteScanner.h"
#include "scan/RawCandidates.h"

using namespace zandrel;

namespace {

using Key = std::tuple<unsigned, int, unsigned>; // location, compressed, offset in the block

// The planted palettes of ROM.gba: 1 to fit on, -1 to leave out (fewer than 3 colours).
std::map<Key, int> Planted(const std::string& rom) {
    std::ifstream in(rom.substr(0, rom.size() - 4) + ".palettes.csv");
    std::map<Key, int> planted;
    std::string line;
    std::getline(in, line);
    const bool hasDistinct = line.find("distinct") != std::string::npos;
    while (std::getline(in, line)) {
        std::stringstream fields(line);
        std::string f[4];
        for (std::string& field : f)
            std::getline(fields, field, ',');
        const Key key{unsigned(std::stoul(f[0], nullptr, 16)), std::stoi(f[1]),
                      unsigned(std::stoul(f[2], nullptr, 16))};
        planted[key] = hasDistinct && std::stoi(f[3]) < 3 ? -1 : 1;
    }
    return planted;
}

} // namespace

int main(int argc, char** argv) {
    bool counts = false, kept = false;
    for (int a = 1; a < argc; ++a) {
        const std::string path = argv[a];
        if (path == "--counts" || path == "--kept") {
            (path == "--counts" ? counts : kept) = true;
            continue;
        }
        std::vector<std::uint8_t> bytes;
        if (!ReadRomImage(path, bytes).ok()) {
            std::fprintf(stderr, "%s: cannot read\n", path.c_str());
            return 2;
        }
        const std::map<Key, int> planted = Planted(path);
        const auto label = [&](const Key& key) {
            const auto it = planted.find(key);
            return it == planted.end() ? 0 : it->second;
        };
        const scan::RomView rom(bytes);
        const scan::AlignedWords aligned(bytes);
        if (counts) {
            std::size_t sampled = 0;
            scan::EachCountedWindow(rom, [&](std::size_t at, const WindowCountValues& c) {
                const int l = label({unsigned(at), 0, 0});
                if (l < 0 || c[kNonZeroWords] < 2 || (l == 0 && sampled++ % 8 != 0))
                    return;
                std::printf("%d", l);
                for (const int v : c)
                    std::printf(",%d", v);
                std::printf("\n");
            });
            continue;
        }
        const auto row = [&](const Key& key, const auto& e) {
            const int l = label(key);
            if (l < 0)
                return;
            std::printf("%d,%s,%X,%d,%X", l, path.c_str(), std::get<0>(key), std::get<1>(key),
                        std::get<2>(key));
            for (const float v : e)
                std::printf(",%.9g", v);
            std::printf("\n");
        };
        if (kept) {
            scan::EachKeptWindow(rom, aligned,
                                 [&](std::size_t at, const scan::KeptEvidenceValues& e) {
                                     row({unsigned(at), 0, 0}, e);
                                 });
            continue;
        }
        scan::EachRawWindow(rom, aligned, [&](std::size_t at, const EvidenceValues& e) {
            row({unsigned(at), 0, 0}, e);
        });
        scan::EachCompressedPalette(rom, aligned,
                                    [&](std::size_t header, std::size_t offset, std::size_t,
                                        const std::optional<EvidenceValues>& e) {
                                        if (e)
                                            row({unsigned(header), 1, unsigned(offset)}, *e);
                                    });
    }
    return 0;
}
