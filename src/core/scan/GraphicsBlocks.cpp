#include "scan/GraphicsBlocks.h"

#include <algorithm>

#include "rom/Lz77.h"

namespace zandrel {

namespace {

// A flag byte and eight references of 18 bytes: the most an LZ77 stream's bytes decompress to
// is 144 for every 17.
constexpr std::uint64_t kMostOut = 144;
constexpr std::uint64_t kLeastIn = 17;
constexpr std::size_t kHeaderBytes = 4;
constexpr std::uint64_t kBudgetPerByte = 4;

// The size the header at `offset` declares when the walk may try it, before anything is
// decompressed; or 0.
std::uint32_t PlausibleSize(std::span<const std::uint8_t> rom, std::size_t offset,
                            const Lz77WalkLimits& limits) {
    if (rom.size() - offset <= kHeaderBytes || rom[offset] != kLz77Header)
        return 0;
    const std::uint32_t size = rom[offset + 1] | rom[offset + 2] << 8 | rom[offset + 3] << 16;
    const std::uint64_t after = rom.size() - offset - kHeaderBytes;
    const bool firstIsLiteral = (rom[offset + kHeaderBytes] & 0x80) == 0; // nothing to refer to
    if (size < limits.smallest || size > kLargestGraphicsBlock || size % limits.multipleOf != 0 ||
        size * kLeastIn > after * kMostOut || !firstIsLiteral)
        return 0;
    return size;
}

} // namespace

void ForEachLz77Block(std::span<const std::uint8_t> rom, Lz77WalkLimits limits,
                      const std::function<void(std::uint32_t, const Lz77Block&)>& visit) {
    for (std::size_t offset = 0; offset + kHeaderBytes < rom.size(); offset += 4) {
        const std::uint32_t size = PlausibleSize(rom, offset, limits);
        if (size == 0 || size > limits.budget)
            continue;
        limits.budget -= size;
        const Lz77Block block = DecompressLz77(rom, offset);
        if (!block.ok())
            continue;
        visit(static_cast<std::uint32_t>(offset), block);
        // The next aligned offset after the stream; the loop adds the last 4.
        offset = (offset + block.streamLength + 3) / 4 * 4 - 4;
    }
}

std::vector<GraphicsBlock> FindGraphicsBlocks(std::span<const std::uint8_t> rom) {
    std::vector<GraphicsBlock> blocks;
    const Lz77WalkLimits limits{kSmallestGraphicsBlock, kGraphicsTileBytes,
                                kBudgetPerByte * rom.size() + kLargestGraphicsBlock};
    ForEachLz77Block(rom, limits, [&blocks](std::uint32_t offset, const Lz77Block& block) {
        blocks.push_back({offset, static_cast<std::uint32_t>(block.data.size())});
    });
    return blocks;
}

std::optional<GraphicsBlock> NextGraphicsBlock(std::span<const GraphicsBlock> blocks,
                                               std::uint32_t offset, bool backward) {
    if (backward) {
        const auto before = std::ranges::lower_bound(blocks, offset, {}, &GraphicsBlock::location);
        return before == blocks.begin() ? std::nullopt : std::optional(*std::prev(before));
    }
    const auto after = std::ranges::upper_bound(blocks, offset, {}, &GraphicsBlock::location);
    return after == blocks.end() ? std::nullopt : std::optional(*after);
}

} // namespace zandrel
