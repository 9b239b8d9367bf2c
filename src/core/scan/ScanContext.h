// What the palette scanner's parts share: the ROM's bytes as colour words, one pass over its
// aligned words (pointer targets, LZ77 headers), the candidates found, and how neighbouring
// palettes add to a candidate's score. Internal to the scanner.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "scan/PaletteCandidate.h"
#include "scan/PaletteScore.h"

namespace zandrel::scan {

constexpr std::uint32_t kRomAddress = 0x08000000;
constexpr std::size_t kPaletteBytes = 2 * kPaletteColours;
constexpr std::size_t kLargestBlock = 16 * kPaletteBytes;

class RomView {
  public:
    explicit RomView(std::span<const std::uint8_t> rom) : rom_(rom) {}

    std::size_t size() const { return rom_.size(); }
    std::span<const std::uint8_t> bytes() const { return rom_; }
    ColorWord Word(std::size_t offset) const {
        return static_cast<ColorWord>(rom_[offset] | rom_[offset + 1] << 8);
    }
    bool Clear(std::size_t offset) const { return (rom_[offset + 1] & 0x80) == 0; }
    // The 16 words at `offset` when all have bit 15 clear.
    bool Palette(std::size_t offset, PaletteWords16& words) const {
        if (offset + kPaletteBytes > rom_.size())
            return false;
        for (int i = 0; i < kPaletteColours; ++i) {
            if (!Clear(offset + 2 * i))
                return false;
            words[i] = Word(offset + 2 * i);
        }
        return true;
    }

  private:
    std::span<const std::uint8_t> rom_;
};

// One pass over the 4-byte aligned words: every even file offset a ROM pointer targets, and
// every header of an LZ77 block of palette size (0x10, 32 to 512 bytes in whole palettes)
// whose first bytes can start a stream of palettes.
class AlignedWords {
  public:
    explicit AlignedWords(std::span<const std::uint8_t> rom);
    bool Targets(std::size_t offset) const {
        return offset % 2 == 0 && (targets_[offset / 128] >> (offset / 2 % 64) & 1) != 0;
    }
    // Whether any even offset of [from, to) might be a target: false only when none is (the
    // set is looked at 128 bytes at a time).
    bool MayTargetAny(std::size_t from, std::size_t to) const {
        for (std::size_t block = from / 128; block * 128 < to; ++block)
            if (targets_[block] != 0)
                return true;
        return false;
    }
    // `each(offset)` for every target in [from, to), in order.
    template <typename Each> void ForEachTarget(std::size_t from, std::size_t to, Each each) const {
        for (std::size_t block = from / 128; block * 128 < to; ++block)
            for (std::uint64_t bits = targets_[block]; bits != 0; bits &= bits - 1) {
                const std::size_t offset = block * 128 + 2 * std::countr_zero(bits);
                if (offset >= from && offset < to)
                    each(offset);
            }
    }
    // The latest offset in [from, to] right after a ROM pointer on a 4-byte boundary (a table
    // of data may start there), or 0 when there is none (no pointer ends at offset 0).
    std::size_t LatestPointerEnd(std::size_t from, std::size_t to) const {
        for (std::size_t block = to / 128 + 1; block-- > from / 128;) {
            std::uint64_t bits = pointerEnds_[block];
            if (block == to / 128)
                bits &= ~std::uint64_t{0} >> (63 - to / 2 % 64);
            if (bits != 0) {
                const std::size_t offset = block * 128 + 2 * (63 - std::countl_zero(bits));
                return offset >= from ? offset : 0;
            }
        }
        return 0;
    }
    const std::vector<std::size_t>& PaletteSizedBlocks() const { return blocks_; }

  private:
    std::vector<std::uint64_t> targets_;
    std::vector<std::uint64_t> pointerEnds_;
    std::vector<std::size_t> blocks_;
};

// A 16-bit count (1 to 511) may head a table of palettes.
inline bool MayBeCount(ColorWord word) {
    return word != 0 && word < 0x200;
}

struct Found {
    PaletteCandidate candidate;
    std::uint32_t claimStart = 0; // the file bytes it stands for
    std::uint32_t claimEnd = 0;
};

// ROM pointers (08xxxxxx or 09xxxxxx, inside a ROM of `romSize` bytes) among the 4-byte
// aligned words of bytes[first, end), as pointer tables hold.
int PointersInside(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t end,
                   std::size_t romSize);

} // namespace zandrel::scan
