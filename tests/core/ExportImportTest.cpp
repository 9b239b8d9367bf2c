// Export and import of palette files, and their refusals, which name the file.
#include "OpenFormFixture.h"

namespace zandrel::testing {
namespace {

// Swatches 0 to 3 as words 7FFF, 001F, 03E0, 7C00; the rest 0421 (1, 1, 1).
constexpr std::uint8_t kGbaBytes[32] = {
    0xFF, 0x7F, 0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04,
    0x21, 0x04, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04, 0x21, 0x04};
constexpr RgbColor kColours[4] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000};

class ExportImport : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};

    void SetUp() override {
        form.Form_Load(StartIn(dir.path().string()));
        app.RomLoaded = true;
        form.model().cmdImp.enabled = form.model().cmdExp.enabled = true;
        ChoosePalette("16");
        for (std::size_t i = 0; i < 16; ++i)
            form.model().Opt[i].backColor = i < 4 ? kColours[i] : 0x080808;
    }
    void ChoosePalette(const std::string& count) {
        form.model().List1.Assign({"Paleta"});
        form.model().lstColor.Assign({"0"});
        form.model().lstCount.Assign({count});
        form.model().List1.selected = 0;
    }
    void Export(const std::string& answer) {
        services.messages.clear();
        services.saveAnswers.push_back(answer);
        form.cmdExp_Click();
    }
    std::vector<RgbColor> Colours() const {
        std::vector<RgbColor> colours;
        for (const Swatch& swatch : form.model().Opt)
            colours.push_back(swatch.backColor);
        return colours;
    }
};

// Only the name counts; a longer file is emptied; unknown, cancelled or unflushed: silent.
TEST_F(ExportImport, ExportWritesTheFormatTheNameEndsIn) {
    for (const std::string name : {"p.txt", "p.tpl.bak", "", "no-folder/p.tpl"})
        Export(name.empty() ? "" : dir.File(name));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
    {
        const ScopedSyncFaultForTesting fault(EIO);
        Export(dir.File("out.gbapal"));
        EXPECT_TRUE(services.messages.empty());
    }
    const std::string tpl = dir.File("p.Tpl"), jasc = dir.File("q.PAL");
    const std::string gba = dir.Write("r.gbapal", PatternBytes(300));
    for (const std::string& path : {tpl, jasc, gba}) {
        services.dialogs.clear();
        Export(path);
        ExpectOneDialog(services, "save", "Salvar",
                        "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer Pro|*.tpl|PAL "
                        "- paleta padrão JASC|*.pal");
        ExpectOneMessage(services, "Paleta salva.\r\n\r\n" + path, 64);
    }
    EXPECT_EQ(ReadText(tpl).substr(0, 10), std::string("TPL\0\xFF\xFF\xFF\xFF\0\0", 10));
    EXPECT_EQ(ReadText(jasc).substr(0, 33), "JASC-PAL\r\n0100\r\n16\r\n255 255 255\r\n");
    EXPECT_EQ(ReadBytes(gba),
              std::vector<std::uint8_t>(std::begin(kGbaBytes), std::end(kGbaBytes)));
}

// The preview would name a missing sample image if it got as far as the images.
TEST_F(ExportImport, FewerThanSixteenColoursRefusesBeforeAnyDialogOrImage) {
    for (const auto& [count, command] : {std::pair{"15", &MainForm::cmdExp_Click},
                                         {"4", &MainForm::cmdImp_Click}, // special state too
                                         {"15", &MainForm::cmdAmostra_Click},
                                         {"15", &MainForm::mnuExportAs_Click},
                                         {"4", &MainForm::mnuImportFile_Click}}) {
        SCOPED_TRACE(count);
        services.messages.clear();
        ChoosePalette(count);
        ShowGameLabel(form, *count == '4' ? "MODO ESPECIAL" : "MEMORY DUMP");
        services.saveAnswers = services.openAnswers = {dir.File("p.gbapal")};
        (form.*command)();
        EXPECT_TRUE(services.dialogs.empty());
        ExpectOneMessage(services, "Esta paleta possui menos de 16 cores. Tente outra por favor...",
                         48);
        EXPECT_TRUE(services.previewImages.empty());
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

// All sixteen shown, none selected; a cancel or missing file is quiet, a bad one named.
TEST_F(ExportImport, ImportShowsTheFilesSixteenColoursOrNamesTheFileAndChangesNothing) {
    const std::string four = dir.Write("four.GBAPAL", {0x1F, 0x00, 0xE0, 0x03});
    const std::vector<RgbColor> before = Colours();
    for (const auto& [path, message] :
         {std::pair{four, "\"" + four +
                              "\": não é uma paleta JASC, GIMP, Tile Layer Pro, ACT ou PNG, nem "
                              "uma paleta GBA: offset 4: o arquivo termina antes dos 32 bytes "
                              "de uma paleta GBA"},
          {dir.File("missing.gbapal"), std::string()},
          {std::string(), std::string()}}) {
        services.messages.clear();
        services.openAnswers.push_back(path);
        form.cmdImp_Click();
        if (message.empty()) {
            EXPECT_TRUE(services.messages.empty());
        } else {
            ExpectOneMessage(services, message, 48);
        }
        EXPECT_EQ(Colours(), before);
    }
    EXPECT_FALSE(fs::exists(dir.File("missing.gbapal")));

    for (Swatch& swatch : form.model().Opt)
        swatch.visible = false;
    form.model().Opt[5].backColor = 0;
    form.model().Opt[5].selected = true;
    form.model().OptSelected = 5;
    form.model().StrColor = "ABCD";
    services.dialogs.clear();
    services.openAnswers.push_back(
        dir.Write("raw.GBAPAL", {std::begin(kGbaBytes), std::end(kGbaBytes)}));
    form.cmdImp_Click();
    ExpectOneDialog(services, "open", "Abrir", "GBAPAL - Paleta do GBA|*.GBAPAL");
    EXPECT_EQ(Colours(), before);
    EXPECT_TRUE(form.model().Opt[15].visible && !form.model().Opt[5].selected);
    EXPECT_EQ(form.model().OptSelected, -1);
    EXPECT_EQ(form.model().StrColor, "ABCD");
    EXPECT_TRUE(services.messages.empty());
}

// The context menu's two commands list every format; they are offered where Importar and
// Exportar are.
TEST_F(ExportImport, TheMenusImportAndExportListEveryFormat) {
    const std::string every = "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer "
                              "Pro|*.tpl|PAL - paleta padrão JASC|*.pal|GPL - paleta do "
                              "GIMP|*.gpl|ACT - tabela de cores do Adobe|*.act";
    form.model().Opt[0].backColor = 0;
    services.openAnswers.push_back(
        dir.Write("raw.act", {std::begin(kGbaBytes), std::end(kGbaBytes)}));
    form.mnuImportFile_Click();
    ExpectOneDialog(services, "palette open", "Importar arquivo de paleta",
                    "Paletas (todos os formatos)|*.GBAPAL;*.tpl;*.pal;*.gpl;*.act;*.png|" + every +
                        "|PNG - imagem com paleta|*.png|Todos os arquivos (*)|*");
    EXPECT_EQ(form.model().Opt[0].backColor, 0xFFFFFFu); // read by its content
    for (const std::string name : {"p.GPL", "p.txt", ""}) {
        services.dialogs.clear();
        services.saveAnswers.push_back(name.empty() ? name : dir.File(name));
        form.mnuExportAs_Click();
        ExpectOneDialog(services, "palette save", "Exportar como", every);
    }
    EXPECT_EQ(ReadText(dir.File("p.GPL")).substr(0, 26), "GIMP Palette\nName: Paleta\n");
    EXPECT_FALSE(fs::exists(dir.File("p.txt")));
    EXPECT_EQ(services.messages.back().text,
              "O nome do arquivo precisa terminar com a extensão de um formato de paleta: "
              ".GBAPAL, .tpl, .pal, .gpl ou .act. Nada foi gravado.");
    EXPECT_EQ(services.messages.size(), 2u); // the confirmation, and nothing for a cancel
    EXPECT_TRUE(form.EditMenuState().importFile && form.EditMenuState().exportAs);
    form.model().cmdImp.enabled = form.model().cmdExp.enabled = false;
    EXPECT_FALSE(form.EditMenuState().importFile || form.EditMenuState().exportAs);
}

// A link to the open ROM, or the ROM itself, left a 52-byte ROM and "Paleta salva.".
TEST_F(ExportImport, ExportOntoTheOpenRomThroughALinkOrItsOwnNameIsRefused) {
    const std::vector<std::uint8_t> rom = RomWithCode("AQXE");
    app.RomPath = dir.Write("game.GBAPAL", rom);
    fs::create_hard_link(app.RomPath, dir.File("hard.pal"));
    fs::create_symlink(app.RomPath, dir.File("soft.tpl"));
    for (const std::string& path : {dir.File("hard.pal"), dir.File("soft.tpl"), app.RomPath}) {
        Export(path);
        ExpectOneMessage(services,
                         "\"" + path + "\": é o próprio arquivo \"" + app.RomPath +
                             "\"; escolha outro arquivo de saída. Nada foi gravado.",
                         16);
    }
    EXPECT_EQ(ReadBytes(app.RomPath), rom);
}

} // namespace
} // namespace zandrel::testing
