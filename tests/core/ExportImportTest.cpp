#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "OpenFormFixture.h"
#include "palfiles/PaletteFormats.h"
#include "util/Messages.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

// Sixteen different words, among them black, white and every component at its extremes.
constexpr PaletteWords16 kWords{0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x4210, 0x0421, 0x08CA,
                                0x1234, 0x2345, 0x3456, 0x4567, 0x5678, 0x6789, 0x7ABC, 0x0BCD};

constexpr const char* kFewerThan16 =
    "Esta paleta possui menos de 16 cores. Tente outra por favor...";

class ExportImport : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};

    void SetUp() override {
        services.programFolder = dir.path().string();
        form.Form_Load();
        ChoosePalette("16");
        for (std::size_t i = 0; i < 16; ++i)
            form.model().Opt[i].backColor = WordToColor(kWords[i]);
    }

    // A palette row chosen in the list, with the given colour count text.
    void ChoosePalette(const std::string& count) {
        FormModel& m = form.model();
        m.List1.Assign({"Paleta"});
        m.lstColor.Assign({"0"});
        m.lstCount.Assign({count});
        m.List1.selected = m.lstColor.selected = m.lstCount.selected = 0;
    }

    Palette16 Colours() const {
        Palette16 colours{};
        for (std::size_t i = 0; i < 16; ++i)
            colours[i] = form.model().Opt[i].backColor;
        return colours;
    }

    PaletteWords16 SwatchWords() const {
        PaletteWords16 words{};
        for (std::size_t i = 0; i < 16; ++i)
            words[i] = ColorToWord(form.model().Opt[i].backColor);
        return words;
    }

    void Export(const std::string& answer) {
        services.saveAnswers.push_back(answer);
        form.cmdExp_Click();
    }
    void Import(const std::string& answer) {
        services.openAnswers.push_back(answer);
        form.cmdImp_Click();
    }
};

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The builders' exact bytes are in PaletteFormatsTest.
TEST_F(ExportImport, ExportWritesTheFormatTheNameEndsInWhateverTheFilter) {
    struct Case {
        const char* name;
        bool existing; // an older, longer file is emptied first
        std::vector<std::uint8_t> bytes;
    };
    const Palette16 colours = Colours();
    for (const Case& c : {Case{"p.Tpl", false, TplPaletteBytes(colours)},
                          {"q.TPL", true, TplPaletteBytes(colours)},
                          {"p.pal", false, Bytes(JascPaletteText(colours))},
                          {"q.pal", true, Bytes(JascPaletteText(colours))},
                          {"p.gbapal", true, GbaPaletteBytes(colours)},
                          {"p.GBAPAL", false, GbaPaletteBytes(colours)}}) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        services.dialogs.clear();
        const std::string path = dir.File(c.name);
        if (c.existing)
            dir.Write(c.name, PatternBytes(300));

        Export(path);

        ExpectOneDialog(services, "save", "Salvar",
                        "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer Pro|*.tpl|PAL "
                        "- paleta padrão JASC|*.pal");
        EXPECT_EQ(form.model().strFileHandler, path);
        EXPECT_EQ(ReadBytes(path), c.bytes);
        ExpectOneMessage(services, "Paleta salva.\r\n\r\n" + path, 64);
    }
}

TEST_F(ExportImport, ExportToAnUnknownNameOrACancelWritesAndShowsNothing) {
    for (const std::string name : {"p.txt", "p", "p.gpl", "p.tpl.bak"})
        Export(dir.File(name));
    Export(""); // cancelled
    EXPECT_EQ(services.dialogs.size(), 5u);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(ExportImport, ExportThatCannotCreateTheFileEndsWithoutConfirmation) {
    for (const std::string name : {"no-folder/p.tpl", "no-folder/p.pal", "no-folder/p.gbapal"})
        Export(dir.File(name));
    EXPECT_TRUE(services.messages.empty()); // every format ends quietly
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// The preview would name a missing sample image if it got as far as the images.
TEST_F(ExportImport, FewerThanSixteenColoursRefusesBeforeAnyDialogOrImage) {
    struct Case {
        const char* what;
        std::string count; // empty: no row chosen
        bool special;
        void (MainForm::*command)();
    };
    for (const Case& c : {Case{"export, 15 colours", "15", false, &MainForm::cmdExp_Click},
                          {"export, 1 colour", "1", false, &MainForm::cmdExp_Click},
                          {"export, no row chosen", "", false, &MainForm::cmdExp_Click},
                          {"import, 15 colours", "15", false, &MainForm::cmdImp_Click},
                          {"import, no row chosen", "", false, &MainForm::cmdImp_Click},
                          {"import in the special state", "4", true, &MainForm::cmdImp_Click},
                          {"preview, 15 colours", "15", false, &MainForm::cmdAmostra_Click},
                          {"preview, no row chosen", "", false, &MainForm::cmdAmostra_Click}}) {
        SCOPED_TRACE(c.what);
        services.messages.clear();
        ChoosePalette(c.count);
        if (c.count.empty())
            form.model().List1.selected = -1;
        ShowGameLabel(form, c.special ? "MODO ESPECIAL" : "MEMORY DUMP");
        const Palette16 before = Colours();
        services.saveAnswers = {dir.File("p.gbapal")};
        services.openAnswers = {dir.File("p.gbapal")};

        (form.*c.command)();

        EXPECT_TRUE(services.dialogs.empty());
        ExpectOneMessage(services, kFewerThan16, 48);
        EXPECT_EQ(Colours(), before);
        EXPECT_TRUE(services.previewImages.empty());
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

TEST_F(ExportImport, SpecialStateExportSkipsTheColourCountCheck) {
    ChoosePalette("4");
    form.model().List1.selected = -1; // the special state reads no list row
    ShowGameLabel(form, "MODO ESPECIAL");
    const std::string path = dir.File("special.GBAPAL");
    Export(path);
    EXPECT_EQ(ReadBytes(path), GbaPaletteBytes(Colours()));
    ExpectOneMessage(services, "Paleta salva.\r\n\r\n" + path, 64);
}

TEST_F(ExportImport, RoundTripThroughARawPaletteRestoresTheWords) {
    const std::string path = dir.File("round.gbapal");
    Export(path);

    // Another palette with hidden swatches and one selected, as after choosing a short one.
    for (Swatch& swatch : form.model().Opt) {
        swatch.backColor = 0x123456;
        swatch.visible = false;
    }
    form.model().Opt[5].selected = true;
    form.model().OptSelected = 5;
    form.model().StrColor = "ABCDEF";
    services.messages.clear();
    services.dialogs.clear();

    Import(path);

    ExpectOneDialog(services, "open", "Abrir", "GBAPAL - Paleta do GBA|*.GBAPAL");
    EXPECT_EQ(SwatchWords(), kWords);
    for (const Swatch& swatch : form.model().Opt) {
        EXPECT_TRUE(swatch.visible);
        EXPECT_FALSE(swatch.selected);
    }
    EXPECT_EQ(form.model().OptSelected, -1);
    EXPECT_EQ(form.model().StrColor, "ABCDEF"); // the working colour stays
    EXPECT_TRUE(services.messages.empty());
}

// Import took any file as raw colour words: a JASC text became colours and a 4-byte file made
// colours 2-15 black. The content decides (the readers' own rules are in ExtraFormatsTest); a
// file that is no palette keeps the swatches and is named with what is wrong.
TEST_F(ExportImport, ImportReadsByContentAndNamesAFileThatIsNoPalette) {
    const std::string jasc =
        dir.Write("jasc.GBAPAL", PaletteFileBytes(PaletteFormat::Jasc, Colours()));
    const std::string four = dir.Write("four.GBAPAL", {0x1F, 0x00, 0xE0, 0x03});
    const std::string folder = dir.File("folder.GBAPAL");
    fs::create_directory(folder);
    form.model().Opt[3].selected = true;
    form.model().OptSelected = 3;
    for (Swatch& swatch : form.model().Opt)
        swatch.backColor = 0;
    const auto before = Swatches(form.model());
    const struct {
        std::string path;
        std::string message;
    } refused[] = {
        {four, "\"" + four +
                   "\": não é uma paleta JASC, GIMP, Tile Layer Pro ou ACT, nem uma paleta GBA: "
                   "offset 4: o arquivo termina antes dos 32 bytes de uma paleta GBA"},
        {folder,
         "Não foi possível ler o arquivo \"" + folder + "\".\r\n\r\n" + std::strerror(EISDIR)},
    };
    for (const auto& c : refused) {
        services.messages.clear();
        form.ImportPaletteFile(c.path);
        ExpectOneMessage(services, c.message, 48);
        EXPECT_EQ(Swatches(form.model()), before);
    }
    services.messages.clear();

    form.ImportPaletteFile(jasc);

    EXPECT_EQ(SwatchWords(), kWords);
    EXPECT_EQ(form.model().OptSelected, -1);
    EXPECT_TRUE(services.messages.empty());
}

// The export wrote a palette file over the open ROM when the name was a link to it or the ROM
// itself carried a palette extension, leaving a 52-byte ROM and "Paleta salva.".
TEST_F(ExportImport, ExportOntoTheOpenRomThroughALinkOrItsOwnNameIsRefused) {
    const std::vector<std::uint8_t> rom = RomWithCode("AQXE");
    const struct {
        const char* romName;
        const char* target; // empty: the ROM's own path
        bool special;       // the special state, through a symbolic link
    } cases[] = {{"game.gba", "hard.pal", false},
                 {"game.GBAPAL", "", false},
                 {"game.gba", "self.tpl", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.romName + std::string(c.target));
        TempDir folder;
        app.RomPath = folder.Write(c.romName, rom);
        const std::string target = *c.target ? folder.File(c.target) : app.RomPath;
        if (c.special)
            fs::create_symlink(app.RomPath, target);
        else if (target != app.RomPath)
            fs::create_hard_link(app.RomPath, target);
        ShowGameLabel(form, c.special ? "MODO ESPECIAL" : "Torvale (US)");
        services.messages.clear();

        Export(target);

        ExpectOneMessage(services,
                         "\"" + target + "\": é o próprio arquivo \"" + app.RomPath +
                             "\"; escolha outro arquivo de saída. Nada foi gravado.",
                         16);
        EXPECT_EQ(ReadBytes(app.RomPath), rom);
    }
}

TEST_F(ExportImport, ImportOfAMissingFileOrACancelChangesNothing) {
    form.model().Opt[3].selected = true;
    form.model().OptSelected = 3;
    form.model().Opt[9].visible = false;
    const auto before = Swatches(form.model());
    Import(dir.File("missing.gbapal"));
    Import("");
    EXPECT_EQ(services.dialogs.size(), 2u);
    EXPECT_FALSE(fs::exists(dir.File("missing.gbapal")));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(Swatches(form.model()), before);
    EXPECT_EQ(form.model().OptSelected, 3);
}

} // namespace
} // namespace zandrel::testing
