#include "scan/KeptScore.h"

#include <algorithm>
#include <cmath>

namespace zandrel::scan {

namespace {

bool IsColourWord(ColorWord word) {
    return word != 0 && word < 0x8000;
}

// Log-odds of a chance, kept within what a score of 1 to 99 can tell.
float LogOdds(double chance) {
    const double p = std::clamp(chance, 0.005, 0.995);
    return static_cast<float>(std::log(p / (1 - p)));
}
constexpr float kNoRival = -6.0f;

} // namespace

std::vector<KeptEvidenceValues> KeptEvidenceOf(const RomView& rom, const AlignedWords& aligned,
                                               std::span<const ScoredWindow> scored,
                                               std::span<const ScoredWindow> kept) {
    const auto word = [&](std::size_t w) {
        return 2 * w + 2 <= rom.size() ? rom.Word(2 * w) : ColorWord{0};
    };
    const auto wordBefore = [&](std::size_t w) { return w > 0 ? word(w - 1) : ColorWord{0}; };
    std::vector<KeptEvidenceValues> out(kept.size());
    std::size_t near = 0; // the first scored window that may overlap the kept one
    for (std::size_t rowStart = 0; rowStart < kept.size();) {
        std::size_t rowEnd = rowStart + 1;
        while (rowEnd < kept.size() && kept[rowEnd].w == kept[rowEnd - 1].w + kPaletteColours)
            ++rowEnd;
        const std::size_t n = rowEnd - rowStart;
        float logitSum = 0, likely = 0;
        for (std::size_t k = rowStart; k < rowEnd; ++k) {
            logitSum += LogOdds(kept[k].chance);
            likely += kept[k].chance >= 0.5; // above even odds
        }
        const std::size_t head = kept[rowStart].w;
        const bool rowPointed =
            aligned.Targets(2 * head) ||
            (head > 0 && aligned.Targets(2 * head - 2) && MayBeCount(wordBefore(head)));
        const std::size_t rowEndByte = 2 * (kept[rowEnd - 1].w + kPaletteColours);
        // Pointers only ever target the file; the row may end at its end.
        const auto targets = [&](std::size_t at) { return at < rom.size() && aligned.Targets(at); };
        const bool endPointed = targets(rowEndByte);
        const bool endNear = !endPointed && (targets(rowEndByte + 2) || targets(rowEndByte + 4) ||
                                             targets(rowEndByte + 6));
        // The ends of a window: how near its colours run on into the words beyond it.
        const auto endsJoin = [&](std::size_t w) {
            return std::min(ColourJoin(wordBefore(w), word(w)),
                            ColourJoin(word(w + kPaletteColours - 1), word(w + kPaletteColours)));
        };
        float joined = 0;
        for (std::size_t k = rowStart; k < rowEnd; ++k)
            joined += endsJoin(kept[k].w) <= kJoins;
        // Only a head on a 4-byte boundary has an aligned word to read.
        const bool headPointer =
            PointersInside(rom.bytes(), 2 * head, 2 * head + 4, rom.size()) == 1;
        float sameFirst = 0, sameLast = 0;
        for (std::size_t k = rowStart + 1; k < rowEnd; ++k) {
            sameFirst += word(kept[k].w) == word(kept[k - 1].w);
            sameLast +=
                word(kept[k - 1].w + kPaletteColours - 1) == word(kept[k].w + kPaletteColours - 1);
        }
        // Colour words beyond the row's ends, up to a zero or a word with bit 15 set (the
        // file's ends read as zeros).
        std::size_t headGap = 0, tailGap = 0;
        while (headGap < kPaletteColours && IsColourWord(wordBefore(head - headGap)))
            ++headGap;
        while (tailGap < kPaletteColours && IsColourWord(word(rowEndByte / 2 + tailGap)))
            ++tailGap;
        const float pairs = n > 1 ? static_cast<float>(n - 1) : 1.0f;
        bool countCrossed = false;
        for (std::size_t k = rowStart; k < rowEnd; ++k) {
            const std::size_t w = kept[k].w;
            const ColorWord first = word(w);
            countCrossed = countCrossed || (w % 2 == 0 && first >= 1 && first <= kPaletteColours);
            KeptEvidenceValues& e = out[k];
            const float own = LogOdds(kept[k].chance);
            e[kKeptBias] = 1;
            e[kOwnLogit] = own;
            e[kRowLength] = std::log2(static_cast<float>(n));
            e[kRowFirst] = k == rowStart;
            e[kRowLast] = k + 1 == rowEnd;
            e[kRowOthers] = n > 1 ? (logitSum - own) / static_cast<float>(n - 1) : 0.0f;
            e[kKeptJustBefore] = k > 0 && w < kept[k - 1].w + 2 * kPaletteColours &&
                                 w != kept[k - 1].w + kPaletteColours;
            e[kKeptJustAfter] = k + 1 < kept.size() && kept[k + 1].w < w + 2 * kPaletteColours &&
                                kept[k + 1].w != w + kPaletteColours;
            e[kKeptPointed] = aligned.Targets(2 * w);
            e[kRowPointed] = rowPointed;
            // The windows kept ones overlap were not kept (kept windows do not overlap).
            while (near < scored.size() && scored[near].w + kPaletteColours <= w)
                ++near;
            double rival = 0;
            for (std::size_t j = near; j < scored.size() && scored[j].w < w + kPaletteColours; ++j)
                if (scored[j].w != w)
                    rival = std::max(rival, scored[j].chance);
            e[kRivalLogit] = rival > 0 ? LogOdds(rival) : kNoRival;
            e[kRivalAbove] = e[kRivalLogit] - own;
            e[kKeptAligned] = w % 2 == 0;
            e[kKeptAfterCount] = w % 2 == 1 && MayBeCount(wordBefore(w));
            e[kRowLikely] = likely / static_cast<float>(n);
            const std::size_t last = w + kPaletteColours - 1;
            e[kZeroFirst] = word(w) == 0;
            e[kZeroBeforeIt] = wordBefore(w) == 0;
            int zeros = 0;
            while (zeros < kPaletteColours && word(last - zeros) == 0)
                ++zeros;
            e[kZeroSlots] = static_cast<float>(zeros) / kPaletteColours;
            e[kZeroLast] = word(last) == 0;
            e[kZeroAfterIt] = word(last + 1) == 0;
            const auto sameAsPalettesAway = [&](std::size_t at) {
                return (at >= kPaletteColours && word(at - kPaletteColours) == word(at)) ||
                       word(at + kPaletteColours) == word(at);
            };
            e[kSameFirst] = sameAsPalettesAway(w);
            e[kSameLast] = word(last) != 0 && sameAsPalettesAway(last);
            e[kRowHeadSmall] = head % 2 == 0 && MayBeCount(word(head));
            e[kRowEndPointed] = endPointed;
            e[kRowEndNear] = endNear;
            e[kCountCrossed] = countCrossed;
            e[kEndsJoin] = static_cast<float>(endsJoin(w));
            e[kRowEndsJoin] = joined / static_cast<float>(n);
            e[kRowHeadPointer] = headPointer;
            e[kRowSameFirst] = sameFirst / pairs;
            e[kRowSameLast] = sameLast / pairs;
            e[kRowHeadGap] = static_cast<float>(headGap);
            e[kRowTailGap] = static_cast<float>(tailGap);
        }
        // The row's rivals are known once each of its windows has found its own.
        float rivalsAbove = 0;
        for (std::size_t k = rowStart; k < rowEnd; ++k)
            rivalsAbove += out[k][kRivalAbove];
        for (std::size_t k = rowStart; k < rowEnd; ++k)
            out[k][kRowRivalAbove] = rivalsAbove / static_cast<float>(n);
        rowStart = rowEnd;
    }
    return out;
}

double KeptChance(const KeptEvidenceValues& e) {
    return ChanceOfLogit(TreesSum(kKeptTreesBase, kKeptTrees, e));
}

} // namespace zandrel::scan
