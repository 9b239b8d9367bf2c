#include "scan/ScanContext.h"

#include <bit>
#include <cstring>

#include "rom/Lz77.h"

namespace zandrel::scan {

static_assert(std::endian::native == std::endian::little); // as the GBA: words are read whole

AlignedWords::AlignedWords(std::span<const std::uint8_t> rom) : targets_(rom.size() / 128 + 1, 0) {
    for (std::size_t offset = 0; offset + 4 <= rom.size(); offset += 4) {
        std::uint32_t value = 0;
        std::memcpy(&value, rom.data() + offset, 4); // little-endian, as the GBA
        if ((value >> 25) == kRomAddress >> 25) {
            const std::uint32_t target = value - kRomAddress;
            if (target < rom.size() && target % 2 == 0)
                targets_[target / 128] |= std::uint64_t{1} << (target / 2 % 64);
        } else if ((value & 0xFF0000FF) == kLz77Header) {
            const std::uint32_t size = value >> 8;
            if (size % kPaletteBytes == 0 && size != 0 && size <= kLargestBlock)
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
