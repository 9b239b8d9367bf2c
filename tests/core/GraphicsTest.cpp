// Graphics in the core: tiles decoded from hand-made bytes, the palettes after a palette,
// graphics locations, and the viewer's model (what lies under a point, its colours and PNG;
// zandrel-cli's tests hold the colour sets on the GBA's screen and in 8 bpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "TempDir.h"
#include "gfx/TileViewer.h"
#include "png/Png.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Two 4bpp tiles. Tile 0: row 0 is 21 43 65 87 (pixels 1 to 8), row 7 is F0 0F 00 A0 (pixels
// 0 F F 0 0 0 0 A). Tile 1: its first byte 0B (pixels B 0), its last C0 (pixels 0 C).
Bytes TwoTiles() {
    Bytes bytes(64, 0);
    bytes[0] = 0x21, bytes[1] = 0x43, bytes[2] = 0x65, bytes[3] = 0x87;
    bytes[28] = 0xF0, bytes[29] = 0x0F, bytes[31] = 0xA0;
    bytes[32] = 0x0B, bytes[63] = 0xC0;
    return bytes;
}

// `bytes` after `before` bytes of EE.
Bytes After(std::size_t before, const Bytes& bytes) {
    Bytes file(before, 0xEE);
    file.insert(file.end(), bytes.begin(), bytes.end());
    return file;
}

TEST(Tiles, DecodedInGbaTileOrder) {
    Bytes eightBpp(64);
    for (int k = 0; k < 64; ++k)
        eightBpp[k] = static_cast<std::uint8_t>(k + 1);
    const Bytes two = TwoTiles();
    const Bytes cut(two.begin(), two.begin() + 40); // tile 1's rows 2-7 missing
    struct Case {
        TileGrid grid;
        Bytes bytes;
        std::size_t tiles;
        int width, height;
        std::vector<std::tuple<int, int, int>> pixels; // x, y, index
    };
    const Case cases[] = {
        {{4, 2}, two, 2, 16, 8, {{0, 0, 1}, {1, 0, 2}, {7, 0, 8}, {0, 7, 0}, {1, 7, 0xF}}},
        {{4, 2}, two, 2, 16, 8, {{2, 7, 0xF}, {7, 7, 0xA}, {8, 0, 0xB}, {9, 0, 0}, {15, 7, 0xC}}},
        {{4, 1}, two, 2, 8, 16, {{7, 0, 8}, {0, 8, 0xB}, {7, 15, 0xC}}},
        // A last row that is not full, and bytes past the end, are index 0.
        {{4, 2}, two, 3, 16, 16, {{15, 7, 0xC}, {0, 8, 0}, {15, 15, 0}}},
        {{4, 2}, cut, 2, 16, 8, {{8, 0, 0xB}, {15, 7, 0}}},
        {{8, 1}, eightBpp, 1, 8, 8, {{0, 0, 1}, {7, 0, 8}, {0, 1, 9}, {7, 7, 64}}},
        {{4, 16}, {}, 0, 128, 0, {}},
    };
    for (const Case& c : cases) {
        const TileImage image = DecodeTiles(c.bytes, c.grid, c.tiles);
        EXPECT_EQ(image.width, c.width) << c.tiles;
        EXPECT_EQ(image.height, c.height) << c.tiles;
        ASSERT_EQ(image.indexes.size(), static_cast<std::size_t>(c.width * c.height));
        for (const auto& [x, y, index] : c.pixels)
            EXPECT_EQ(image.indexes[y * image.width + x], index) << x << "," << y;
    }
}

// Palette at 20 (raw) or at +20 of a block at 4: the following words start 32 bytes later.
TEST(TileColours, FollowingPalettesComeFromTheFileOrTheBlockAndAreBlackPastItsEnd) {
    TempDir dir;
    Bytes data(0x60, 0);
    data[0x40] = 0x1F;
    data[0x5E] = 0xFF, data[0x5F] = 0xFF; // bit 15 dropped
    const std::string raw = dir.Write("raw.gba", data);
    const std::string lz = dir.Write("lz.gba", After(4, LiteralLz77(data)));
    for (const PaletteLocation& where : {PaletteLocation{0x20, false, 0}, {4, true, 0x20}}) {
        FollowingWords words{};
        words.fill(1);
        ASSERT_TRUE(ReadFollowingPalettes(where.compressed ? lz : raw, where, words).ok());
        EXPECT_EQ(words[0], 0x001F);
        EXPECT_EQ(words[15], 0x7FFF);
        EXPECT_EQ(words[16], 0);
        EXPECT_EQ(words[239], 0);
    }
}

TEST(GraphicsLocation, PaletteFormsWithAnyByteOfTheBlock) {
    const std::pair<const char*, std::optional<GraphicsLocation>> cases[] = {
        {"1a0", GraphicsLocation{0x1A0, false, 0}},
        {"LZ:6290", GraphicsLocation{0x6290, true, 0}},
        {"LZ:6290+21", GraphicsLocation{0x6290, true, 0x21}},
        {"LZ:6290+FFFFFF", GraphicsLocation{0x6290, true, 0xFFFFFF}},
        {"LZ:6290+1000000", std::nullopt},
        {"LZ:6290+2a", std::nullopt},
        {"LZ:80000000+2", std::nullopt},
    };
    for (const auto& [text, where] : cases)
        EXPECT_EQ(ParseGraphicsLocation(text), where) << text;
}

class Graphics : public ::testing::Test {
  protected:
    TempDir dir;
    // 0x40 bytes of EE, TwoTiles()'s first tile, then its first 4 bytes again: 100 bytes.
    std::string Plain() {
        const Bytes two = TwoTiles();
        Bytes tiles(two.begin(), two.begin() + 32);
        tiles.insert(tiles.end(), two.begin(), two.begin() + 4);
        return dir.Write("plain.gba", After(0x40, tiles));
    }
    // An LZ77 block at 8 whose data are TwoTiles().
    std::string Compressed() { return dir.Write("lz.gba", After(8, LiteralLz77(TwoTiles()))); }
};

TEST_F(Graphics, ViewerShowsRowsFromTheStartAndMovesInsideTheSource) {
    TileViewer viewer;
    ASSERT_TRUE(viewer.SetGrid({4, 1}).ok());
    ASSERT_TRUE(viewer.SetRows(2).ok());
    const std::string plain = Plain();
    EXPECT_EQ(viewer.Open(plain, "LZ:x").reason,
              "A localização \"LZ:x\" não é válida (esperado: de 1 a 8 dígitos hex até 7FFFFFFF, "
              "como 1A0, ou um bloco comprimido, como LZ:3B8A8C ou LZ:3B8A8C+21).");
    EXPECT_FALSE(viewer.IsOpen());
    ASSERT_TRUE(viewer.Open(plain, "40").ok());
    EXPECT_EQ(viewer.ImageWidth(), 8);
    EXPECT_EQ(viewer.ImageHeight(), 16);
    Palette16 swatches{};
    swatches[8] = 0x0000FF;
    viewer.Paint(swatches, false);
    ASSERT_EQ(viewer.Pixels().size(), 128u);
    EXPECT_EQ(viewer.Pixels()[7], 0xFFFF0000u);         // index 8, red
    EXPECT_EQ(viewer.Pixels()[8 * 8 + 7], 0xFFFF0000u); // the row again in the second tile
    // Steps from the first byte to the last; rows (32 bytes here) while one starts inside.
    const std::tuple<std::int64_t, int, std::string> moves[] = {
        {-1, 0, "3F"}, {2, 0, "41"}, {32, 0, "61"}, {4, 0, "63"}, {-0x100, 0, "0"},
        {0, 1, "20"},  {0, 5, "60"}, {0, -1, "40"}, {0, -9, "0"}};
    for (const auto& [bytes, rows, start] : moves) {
        ASSERT_TRUE(bytes != 0 ? viewer.StepStart(bytes).ok() : viewer.ScrollRows(rows).ok());
        EXPECT_EQ(PaletteLocationText(viewer.Start()), start) << bytes << " " << rows;
    }
}

TEST_F(Graphics, PointingGivesTileOffsetAndIndexAtTheZoom) {
    TileViewer viewer;
    ASSERT_TRUE(viewer.SetGrid({4, 1}).ok());
    ASSERT_TRUE(viewer.SetRows(2).ok());
    viewer.SetZoom(3);
    ASSERT_TRUE(viewer.Open(Compressed(), GraphicsLocation{8, true, 0}).ok());
    const std::tuple<int, int, std::size_t, std::string, int> cases[] = {
        {0, 0, 0, "LZ:8", 1}, {23, 2, 0, "LZ:8", 8}, {23, 47, 1, "LZ:8+20", 0xC}};
    for (const auto& [x, y, tile, at, index] : cases) {
        const std::optional<PointedPixel> pointed = viewer.At(x, y);
        ASSERT_TRUE(pointed) << x;
        EXPECT_EQ(pointed->tile, tile);
        EXPECT_EQ(PaletteLocationText(pointed->tileAt), at);
        EXPECT_EQ(pointed->index, index);
    }
    EXPECT_FALSE(viewer.At(24, 0));
    EXPECT_FALSE(viewer.At(0, 48));
    viewer.SetZoom(8);
    ASSERT_TRUE(viewer.StepStart(32).ok());
    EXPECT_TRUE(viewer.At(0, 0));
    EXPECT_FALSE(viewer.At(0, 8 * 8)); // past the end of the data: no tile
}

// F3 and Shift+F3: the next or previous block of graphics from the source's place in the file.
TEST_F(Graphics, JumpsBetweenCompressedGraphics) {
    Bytes file(0x800, 0xFF);
    file = With(file, 0x100, LiteralLz77(PatternBytes(256)));
    file = With(file, 0x400, LiteralLz77(PatternBytes(512)));
    TileViewer viewer;
    ASSERT_TRUE(viewer.Open(dir.Write("blocks.gba", file), GraphicsLocation{0x200, false, 0}).ok());
    const std::pair<bool, const char*> jumps[] = {{false, "LZ:400"},
                                                  {false, "LZ:400"},
                                                  {true, "LZ:100"},
                                                  {true, "LZ:100"},
                                                  {false, "LZ:400"}};
    for (const auto& [backward, start] : jumps) {
        ASSERT_TRUE(viewer.JumpToBlock(backward).ok());
        EXPECT_EQ(PaletteLocationText(viewer.Start()), start) << backward;
    }
}

// A swatch change maps the kept indexes again (the file is not read for it); 8 bpp takes the
// following palettes, live swatches first; the view saves with the colours drawn.
TEST_F(Graphics, PaintMapsTheKeptIndexesAndSaveWritesWhatIsShown) {
    Bytes file(0x100, 0);
    file[0x00] = 16; // an 8bpp pixel of colour 16: the word at 0x20 + 32
    file[0x01] = 1;
    file[0x40] = 0x1F;
    const std::string path = dir.Write("eight.gba", file);
    TileViewer viewer;
    ASSERT_TRUE(viewer.SetGrid({8, 1}).ok());
    ASSERT_TRUE(viewer.Open(path, GraphicsLocation{0, false, 0}).ok());
    ASSERT_TRUE(viewer.UsePalette(path, {0x20, false, 0}).ok());
    const std::string png = dir.File("view.png");
    ASSERT_TRUE(viewer.SaveImage(png, Palette16{}, false).ok());
    std::filesystem::remove(path);
    Palette16 swatches{};
    swatches[1] = 0x00FF00;
    viewer.SetTransparentZero(true);
    viewer.Paint(swatches, false);
    EXPECT_EQ(viewer.Pixels()[0], 0xFFFF0000u);
    EXPECT_EQ(viewer.Pixels()[1], 0xFF00FF00u);
    EXPECT_EQ(viewer.Pixels()[2], 0u);      // index 0, transparent
    EXPECT_FALSE(viewer.StepStart(1).ok()); // a move reads again
    std::vector<Rgb> entries;
    ASSERT_TRUE(ReadPngPlte(ReadBytes(png), entries).ok());
    ASSERT_EQ(entries.size(), 256u);
    EXPECT_EQ(entries[16], (Rgb{255, 0, 0}));
}

} // namespace
} // namespace zandrel::testing
