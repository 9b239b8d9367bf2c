#include "scan/CompressedCandidates.h"

#include "rom/Lz77.h"

namespace zandrel::scan {

std::size_t FindCompressedCandidates(const RomView& rom, const AlignedWords& aligned,
                                     std::vector<Found>& found) {
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
        std::vector<int> wordsScores;
        for (const PaletteWords16& words : palettes)
            wordsScores.push_back(WordsScore(words));
        // Every palette of the block is a candidate, however low its words score.
        for (std::size_t p = 0; p < palettes.size(); ++p) {
            PaletteSurroundings around;
            around.pointed = aligned.Targets(offset);
            around.compressed = true;
            AddNeighbours(
                palettes[p][0],
                [&](int step) -> std::optional<Neighbour> {
                    const std::size_t other = p + step;
                    if (other >= palettes.size())
                        return std::nullopt;
                    return Neighbour{palettes[other][0], wordsScores[other]};
                },
                around);
            around.pointersInside =
                PointersInside(block.data, p * kPaletteBytes, (p + 1) * kPaletteBytes, rom.size());
            const int score = PaletteScore(wordsScores[p], palettes[p], around);
            const auto at = static_cast<std::uint32_t>(offset);
            const auto inBlock = static_cast<std::uint32_t>(p * kPaletteBytes);
            found.push_back({{{at, true, inBlock}, score},
                             at,
                             at + static_cast<std::uint32_t>(block.streamLength)});
        }
    }
    return spent;
}

} // namespace zandrel::scan
