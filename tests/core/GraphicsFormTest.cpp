// The window "Gráficos" as the main form drives it: picking a swatch from a pixel, typed
// locations, redrawing only on a change, and the places kept per game in the user's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "OpenFormFixture.h"
#include "gfx/ViewerSettings.h"
#include "png/Png.h"

namespace zandrel::testing {
namespace {

constexpr const char* kHeading =
    "# Zandrel: gráficos mostrados com cada paleta (paleta, gráficos, bits por pixel, largura)\n";

// A dump whose palettes are at 0 (16 colours) and 40 (12), and whose tile at 100 has the
// 4bpp indexes 0 to 7 in its first row and 8 to F in its second.
class GraphicsFormTest : public OpenFormTest {
  protected:
    void SetUp() override {
        OpenFormTest::SetUp();
        app.Folders.userData = (dir.path() / "data" / "zandrel").string();
        std::vector<std::uint8_t> bytes = PatternBytes(0x400);
        const std::uint8_t tile[16] = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE};
        std::copy(std::begin(tile), std::end(tile), bytes.begin() + 0x100);
        OpenDump(bytes, "16,0,Cheia\r\n12,40,Curta\r\n");
    }
    GraphicsForm& graphics() { return form.graphics(); }
    std::string Start() const { return form.graphics().model().txtLocation; }
    std::string SettingsFile() const { return app.Folders.userData + "/MEMORYDUMP.graficos"; }
};

TEST_F(GraphicsFormTest, ClickPicksTheShownSwatchOfTheIndexOnly) {
    Choose(1); // twelve colours: swatches C to F hidden
    form.mnuGraphics_Click();
    graphics().SetZoom(1);
    graphics().txtLocation_Enter("100");
    // x, y, bits per pixel, the swatch selected after the click (1: none picked).
    const std::tuple<int, int, int, int> clicks[] = {
        {3, 0, 4, 3},    // index 3
        {3, 1, 4, 11},   // index B, the last shown
        {4, 1, 4, 1},    // index C: a hidden swatch
        {64, 8, 4, 1},   // a tile that starts at the end of the file
        {-1, 0, 4, 1},   // left of the view
        {0, 5000, 4, 1}, // below it
        {0, 0, 8, 1},    // 8 bpp: index 10 is no swatch
        {0, 1, 8, 0},    // 8 bpp: byte 108 is 0
    };
    for (const auto& [x, y, bits, selected] : clicks) {
        form.Opt_Click(1);
        graphics().SetBitsPerPixel(bits);
        form.Graphics_Click(x, y);
        EXPECT_EQ(model().OptSelected, selected) << x << "," << y << " " << bits;
        EXPECT_TRUE(model().Opt[static_cast<std::size_t>(selected)].selected);
    }
}

TEST_F(GraphicsFormTest, TypedLocationOpensOrIsRefusedAndTheFieldShowsTheStart) {
    form.mnuGraphics_Click();
    EXPECT_EQ(Start(), "0"); // a file without a kept place opens at its first byte
    graphics().txtLocation_Enter("1a0");
    EXPECT_EQ(Start(), "1A0");
    EXPECT_EQ(graphics().model().lblStart, "Início: 1A0");
    const std::uint64_t revision = graphics().model().txtLocationRevision;
    graphics().txtLocation_Enter("400"); // the file's length
    graphics().txtLocation_Enter("LZ:1A0");
    EXPECT_EQ(Start(), "1A0");
    EXPECT_EQ(graphics().model().txtLocationRevision, revision + 2); // shown again over the text
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[0].style, kStyleCritical);
    EXPECT_NE(services.messages[0].text.find("400"), std::string::npos);
    EXPECT_NE(services.messages[1].text.find("1A0"), std::string::npos);
    graphics().PointAt(2 * 9, 0); // zoom 2: the second tile
    EXPECT_EQ(graphics().model().lblPointer,
              "Tile 1 em 1C0, cor " + std::to_string(PatternBytes(0x400)[0x1C0] >> 4));
}

// Salvar imagem: the view as a PNG where the dialog says, never over the open file, nothing
// when the dialog is cancelled.
TEST_F(GraphicsFormTest, SaveImageWritesThePngNamedNeverTheOpenFile) {
    Choose(0);
    form.mnuGraphics_Click();
    const std::vector<std::uint8_t> dump = ReadBytes(dumpPath);
    const std::string image = dir.File("view.png");
    services.saveAnswers = {"", dumpPath, image};
    for (int k = 0; k < 3; ++k)
        graphics().SaveImage_Click(SwatchColours(model()), false);
    ASSERT_EQ(services.dialogs.size(), 4u); // the open dialog, then three saves
    const DialogCall& d = services.dialogs[1];
    EXPECT_EQ(std::tie(d.title, d.filter, d.defaultExt),
              std::make_tuple("Salvar imagem", "Imagem PNG (*.png)|*.png", "png"));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].style, kStyleCritical);
    EXPECT_NE(services.messages[0].text.find(dumpPath), std::string::npos);
    EXPECT_EQ(ReadBytes(dumpPath), dump);
    const std::vector<std::uint8_t> png = ReadBytes(image);
    ASSERT_GT(png.size(), 8u);
    EXPECT_TRUE(StartsAsPng(png));
}

// Only a change of the swatches, of the view or of the way it is drawn paints again.
TEST_F(GraphicsFormTest, PaintsAgainOnlyAfterAChange) {
    Choose(0);
    form.mnuGraphics_Click();
    const auto paint = [this] {
        return graphics().Paint(SwatchColours(model()), model().gbaScreen);
    };
    EXPECT_TRUE(paint());
    EXPECT_FALSE(paint());
    form.Opt_Click(2);
    EXPECT_FALSE(paint()); // a selection changes no colour
    form.SetSliderValue(SliderId::Red, model().RedScroll == 0 ? 1 : 0);
    EXPECT_TRUE(paint());
    const std::function<void()> changes[] = {
        [this] { form.mnuGbaScreen_Click(); }, [this] { graphics().SetTransparentZero(true); },
        [this] { graphics().ScrollRows(1); }, [this] { graphics().SetZoom(3); }};
    for (const auto& change : changes) {
        change();
        EXPECT_TRUE(paint());
        EXPECT_FALSE(paint());
    }
}

// Each palette's place is kept, written when the viewer closes, and found again next time. The
// special state shows palettes of no game: the game's places are written on leaving it, and
// nothing is kept for its palettes.
TEST_F(GraphicsFormTest, PlacesAreKeptPerPaletteInTheUsersFolder) {
    Choose(0);
    form.mnuGraphics_Click();
    graphics().txtLocation_Enter("100");
    graphics().SetWidth(4);
    Choose(1);
    form.SyncGraphics();
    EXPECT_EQ(Start(), "100"); // nothing kept for it: the view stays
    graphics().SetBitsPerPixel(8);
    graphics().StepStart(1);
    Choose(0);
    form.SyncGraphics();
    EXPECT_EQ(Start(), "100");
    EXPECT_EQ(graphics().viewer().Grid(), (TileGrid{4, 4}));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    form.GraphicsClosed();
    EXPECT_EQ(ReadText(SettingsFile()), std::string(kHeading) + "0 100 4 4\n40 101 8 4\n");

    Choose(1);
    form.mnuGraphics_Click(); // read from the file again
    EXPECT_EQ(Start(), "101");
    EXPECT_EQ(graphics().viewer().Grid(), (TileGrid{8, 4}));

    graphics().txtLocation_Enter("140");
    ShowGameLabel(form, "MODO ESPECIAL");
    form.SyncGraphics();
    graphics().txtLocation_Enter("120");
    form.GraphicsClosed();
    EXPECT_EQ(ReadText(SettingsFile()), std::string(kHeading) + "0 100 4 4\n40 140 8 4\n");
}

TEST(ViewerSettings, LinesOfFourFieldsInTheirRangesAreTakenTheRestSkipped) {
    const RememberedPlaces places = ParseViewerSettings(
        "# a note 1 2 3\n"
        "\n"
        "C980 LZ:30200 4 16\r\n" // CR LF
        "  1A0\t31 8 1\n"        // blanks and tabs; width 1
        "2A0 31 8 64\n"          // width 64
        "3A0 31 4 0\n"           // width 0
        "4A0 31 4 65\n"          // width 65
        "5A0 31 5 16\n"          // 5 bits
        "6A0 31 4 16 x\n"        // five fields
        "7A0 LZ:x 4 16\n"        // no location
        "lz:8A0 31 4 16\n"       // no palette location
        "9A0 31 4 +1\n"          // no plain number
        "C980 LZ:30200+41 8 2"); // the last line of a palette counts, without a line end
    const RememberedPlaces expected = {
        {"C980", {{0x30200, true, 0x41}, {8, 2}}},
        {"1A0", {{0x31, false, 0}, {8, 1}}},
        {"2A0", {{0x31, false, 0}, {8, 64}}},
    };
    EXPECT_EQ(places, expected);
    EXPECT_EQ(ViewerSettingsText(expected),
              std::string(kHeading) + "1A0 31 8 1\n2A0 31 8 64\nC980 LZ:30200+41 8 2\n");
}

TEST(ViewerSettings, OneFilePerGameInTheUsersFolderNeverAFileWhereEitherIsUnknown) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"/d/zandrel", "/usr/share/zandrel/BPRE.ZNDL", "/d/zandrel/BPRE.graficos"},
        {"/d/zandrel", "MEMORYDUMP.ZNDL", "/d/zandrel/MEMORYDUMP.graficos"},
        {"", "/x/BPRE.ZNDL", ""},
        {"/d/zandrel", "", ""},
    };
    for (const auto& [folder, definitions, path] : cases)
        EXPECT_EQ(ViewerSettingsPath(folder, definitions), path) << definitions;
}

TEST(ViewerSettings, ADamagedOrOversizedFileGivesWhatItCanAndIsReplacedWhole) {
    TempDir dir;
    const std::string path = dir.WriteText("G.graficos", "10 20 4 16\n\xFF\xFE garbage\n");
    EXPECT_EQ(ReadViewerSettings(path).size(), 1u);
    EXPECT_TRUE(ReadViewerSettings(dir.File("missing")).empty());
    const std::string big =
        dir.Write("big.graficos", std::vector<std::uint8_t>((1 << 20) + 1, '\n'));
    EXPECT_TRUE(ReadViewerSettings(big).empty());
    // Written beside and renamed over a link, which is replaced and its target left alone.
    const std::string target = dir.WriteText("target", "kept");
    std::filesystem::create_symlink(target, dir.File("link.graficos"));
    ASSERT_TRUE(WriteViewerSettings(dir.File("link.graficos"), {}).ok());
    EXPECT_FALSE(std::filesystem::is_symlink(dir.File("link.graficos")));
    EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
    // A folder that cannot be made is a failure naming it.
    const Failure failure = WriteViewerSettings(target + "/sub/G.graficos", {});
    EXPECT_EQ(failure.result, Result::CannotWrite);
    EXPECT_EQ(failure.file, target + "/sub");
}

TEST(TileViewer, GridAndZoomAreClampedToTheirRanges) {
    // Asked for, and what the viewer takes.
    const std::tuple<int, int, int, int, int, int> cases[] = {{4, 0, 0, 4, 1, 1},
                                                              {8, 1, 1, 8, 1, 1},
                                                              {8, 64, 8, 8, 64, 8},
                                                              {5, 65, 9, 4, 64, 8},
                                                              {0, -3, -1, 4, 1, 1}};
    for (const auto& [bits, width, zoom, takenBits, takenWidth, takenZoom] : cases) {
        TileViewer viewer;
        ASSERT_TRUE(viewer.SetGrid({bits, width}).ok());
        viewer.SetZoom(zoom);
        EXPECT_EQ(viewer.Grid(), (TileGrid{takenBits, takenWidth})) << bits << " " << width;
        EXPECT_EQ(viewer.Zoom(), takenZoom) << zoom;
    }
}

} // namespace
} // namespace zandrel::testing
