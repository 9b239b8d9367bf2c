#include "scan/CompressedCandidates.h"

#include <algorithm>

#include "rom/Lz77.h"

namespace zandrel::scan {

std::size_t
EachCompressedPalette(const RomView& rom, const AlignedWords& aligned,
                      const std::function<void(std::size_t, std::size_t, std::size_t,
                                               const std::optional<EvidenceValues>&)>& each) {
    const std::size_t budget = DecompressionBudget(rom.size());
    std::size_t spent = 0;
    for (const std::size_t offset : aligned.PaletteSizedBlocks()) {
        const auto declared = static_cast<std::size_t>(Lz77DeclaredSize(rom.bytes(), offset));
        if (spent + declared > budget)
            break;
        spent += declared;
        const Lz77Block block = DecompressLz77(rom.bytes(), offset);
        if (!block.ok())
            continue;
        const RomView data(block.data);
        std::vector<PaletteWords16> palettes(block.data.size() / kPaletteBytes);
        bool clear = true;
        for (std::size_t p = 0; p < palettes.size() && clear; ++p)
            clear = data.Palette(p * kPaletteBytes, palettes[p]);
        if (!clear)
            continue;
        // A block whose every nibble is below 8 holds pixels of at most 8 slots, not colours.
        const bool pixels = std::all_of(block.data.begin(), block.data.end(),
                                        [](std::uint8_t b) { return (b & 0x88) == 0; });
        std::vector<std::optional<EvidenceValues>> evidence(palettes.size());
        std::vector<float> alone(palettes.size(), 0.0f);
        for (std::size_t p = 0; p < palettes.size(); ++p) {
            EvidenceValues e = NewEvidence();
            if (!WordsEvidence(palettes[p], e))
                continue;
            const ColorWord first = palettes[p][0];
            if (first != 0) {
                e[kSharedFirst] += 0.5f * (p > 0 && palettes[p - 1][0] == first);
                e[kSharedFirst] += 0.5f * (p + 1 < palettes.size() && palettes[p + 1][0] == first);
            }
            e[kPointersIn] =
                static_cast<float>(PointersInside(block.data, p * kPaletteBytes,
                                                  (p + 1) * kPaletteBytes, rom.size())) /
                8.0f;
            e[kSelfTiles] = pixels;
            e[kCompressed] = 1;
            e[kBlockPointed] = aligned.Targets(offset);
            e[kBlockPalettes] = static_cast<float>(palettes.size()) / 16.0f;
            alone[p] = static_cast<float>(AloneChance(e));
            evidence[p] = e;
        }
        for (std::size_t p = 0; p < palettes.size(); ++p) {
            if (evidence[p]) {
                (*evidence[p])[kPaletteBefore] = p > 0 ? alone[p - 1] : 0.0f;
                (*evidence[p])[kPaletteAfter] = p + 1 < palettes.size() ? alone[p + 1] : 0.0f;
                (*evidence[p])[kTableBefore] = static_cast<float>(std::min<std::size_t>(p, 4)) / 4;
                (*evidence[p])[kTableAfter] =
                    static_cast<float>(std::min<std::size_t>(palettes.size() - 1 - p, 4)) / 4;
            }
            each(offset, p * kPaletteBytes, block.streamLength, evidence[p]);
        }
    }
    return spent;
}

std::size_t FindCompressedCandidates(const RomView& rom, const AlignedWords& aligned,
                                     std::vector<Found>& found) {
    return EachCompressedPalette(
        rom, aligned,
        [&](std::size_t offset, std::size_t inBlock, std::size_t streamLength,
            const std::optional<EvidenceValues>& e) {
            const int score = e ? ScoreOfChance(PaletteChance(*e)) : 0;
            const auto at = static_cast<std::uint32_t>(offset);
            found.push_back({{{at, true, static_cast<std::uint32_t>(inBlock)}, score},
                             at,
                             at + static_cast<std::uint32_t>(streamLength)});
        });
}

} // namespace zandrel::scan
