#include "scan/ScanContext.h"

#include <bit>
#include <cstring>

#include "rom/Lz77.h"

namespace zandrel::scan {

static_assert(std::endian::native == std::endian::little); // as the GBA: words are read whole

namespace {

// What the first bytes after a header must hold for the stream to start palettes, checked
// before anything is decompressed: the first block is a literal (nothing lies before it to
// refer to), and when the second is a literal too it is the high byte of colour 0, bit 15 clear.
bool PlausiblePaletteStream(std::span<const std::uint8_t> rom, std::size_t header) {
    if (header + 7 > rom.size())
        return false;
    const std::uint8_t flags = rom[header + 4];
    return (flags & 0x80) == 0 && ((flags & 0x40) != 0 || (rom[header + 6] & 0x80) == 0);
}

} // namespace

AlignedWords::AlignedWords(std::span<const std::uint8_t> rom)
    : targets_(rom.size() / 128 + 1, 0), pointerEnds_(rom.size() / 128 + 1, 0) {
    for (std::size_t offset = 0; offset + 4 <= rom.size(); offset += 4) {
        std::uint32_t value = 0;
        std::memcpy(&value, rom.data() + offset, 4); // little-endian, as the GBA
        if ((value >> 25) == kRomAddress >> 25) {
            const std::uint32_t target = value - kRomAddress;
            if (target < rom.size()) {
                const std::size_t end = offset + 4;
                pointerEnds_[end / 128] |= std::uint64_t{1} << (end / 2 % 64);
                if (target % 2 == 0)
                    targets_[target / 128] |= std::uint64_t{1} << (target / 2 % 64);
            }
        } else if ((value & 0xFF0000FF) == kLz77Header) {
            const std::uint32_t size = value >> 8;
            if (size % kPaletteBytes == 0 && size != 0 && size <= kLargestBlock &&
                PlausiblePaletteStream(rom, offset))
                blocks_.push_back(offset);
        }
    }
}

int PointersInside(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t end,
                   std::size_t romSize) {
    int pointers = 0;
    for (std::size_t at = (first + 3) / 4 * 4; at + 4 <= end; at += 4) {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        pointers += (value >> 25) == kRomAddress >> 25 && value - kRomAddress < romSize;
    }
    return pointers;
}

} // namespace zandrel::scan
