// The scanner's compressed graphics: which LZ77 blocks count, and the bound on its work. The
// next or previous block from an offset: the viewer's jumps (GraphicsTest).
#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"
#include "scan/GraphicsBlocks.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Block(std::size_t size) {
    return LiteralLz77(PatternBytes(size));
}

TEST(GraphicsBlocks, WholeTilesOfAtLeast256BytesAtAlignedHeaders) {
    Bytes rom(0x1000, 0xFF);
    rom = With(rom, 0x100, Block(256));
    rom = With(rom, 0x300, Block(224)); // fewer than 256 bytes
    rom = With(rom, 0x500, Block(272)); // not whole tiles
    rom = With(rom, 0x702, Block(256)); // not 4-byte aligned
    rom = With(rom, 0x900, Block(288));
    EXPECT_EQ(FindGraphicsBlocks(rom), (std::vector<GraphicsBlock>{{0x100, 256}, {0x900, 288}}));

    // As large as the GBA's work RAM, and no larger.
    EXPECT_EQ(FindGraphicsBlocks(Block(256 * 1024)).size(), 1u);
    EXPECT_EQ(FindGraphicsBlocks(Block(256 * 1024 + 32)).size(), 0u);
}

// Headers that fail cost what they declare: a 64 KiB file may decompress 4 x 64 KiB plus one
// largest block, four of these 128 KiB headers, and then no more.
TEST(GraphicsBlocks, DecompressionStopsAtItsBudget) {
    for (const int failing : {3, 4}) {
        Bytes rom(0x10000, 0xFF);
        for (int k = 0; k < failing; ++k) // 128 KiB declared; a literal, then a reference 4096 back
            rom = With(rom, 8 * k, {0x10, 0x00, 0x00, 0x02, 0x40, 0x00, 0x0F, 0xFF});
        rom = With(rom, 0x8000, Block(256));
        EXPECT_EQ(FindGraphicsBlocks(rom).size(), failing == 3 ? 1u : 0u) << failing;
    }
}

} // namespace
} // namespace zandrel::testing
