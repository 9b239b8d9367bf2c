#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"
#include "app/Messages.h"
#include "palfiles/PaletteFormats.h"

using namespace zandrel;
using zandrel::testing::FakeServices;
using zandrel::testing::ReadBytes;
using zandrel::testing::TempDir;

namespace {

// Sixteen different words, among them black, white and every component at its extremes.
constexpr PaletteWords16 kWords{0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x4210, 0x0421, 0x08CA,
                                0x1234, 0x2345, 0x3456, 0x4567, 0x5678, 0x6789, 0x7ABC, 0x0BCD};

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

    Palette16 Swatches() const {
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

std::string Saved(const std::string& path) {
    return std::string("Paleta salva.\r\n\r\n") + path;
}

} // namespace

TEST_F(ExportImport, ExportWritesTheFormatTheNameEndsInWhateverTheFilter) {
    struct Case {
        const char* name;
        PaletteFormat format;
        std::size_t size;
    };
    for (const Case& c : {Case{"p.Tpl", PaletteFormat::Tpl, 52},
                          {"p.TPL", PaletteFormat::Tpl, 52},
                          {"p.pal", PaletteFormat::Jasc, 0},
                          {"p.gbapal", PaletteFormat::GbaRaw, 32},
                          {"p.GBAPAL", PaletteFormat::GbaRaw, 32}}) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        services.dialogs.clear();
        const std::string path = dir.File(c.name);
        Export(path);

        ASSERT_EQ(services.dialogs.size(), 1u);
        EXPECT_EQ(services.dialogs[0].kind, "save");
        EXPECT_EQ(services.dialogs[0].title, "Salvar");
        EXPECT_EQ(services.dialogs[0].filter,
                  "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer Pro|*.tpl|PAL - "
                  "paleta padrão JASC|*.pal");
        EXPECT_EQ(services.dialogs[0].defaultExt, "");
        EXPECT_EQ(form.model().strFileHandler, path);

        const std::vector<std::uint8_t> bytes = ReadBytes(path);
        EXPECT_EQ(bytes, PaletteFileBytes(c.format, Swatches()));
        if (c.size != 0) {
            EXPECT_EQ(bytes.size(), c.size);
        }
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, Saved(path));
        EXPECT_EQ(services.messages[0].style, 64);
        EXPECT_EQ(services.messages[0].title, "Zandrel");
        std::filesystem::remove(path);
    }
}

TEST_F(ExportImport, ExportToAnUnknownNameOrACancelWritesAndShowsNothing) {
    for (const std::string name : {"p.txt", "p", "p.gpl", "p.tpl.bak"}) {
        SCOPED_TRACE(name);
        Export(dir.File(name));
        EXPECT_FALSE(std::filesystem::exists(dir.File(name)));
    }
    Export(""); // cancelled
    EXPECT_EQ(services.dialogs.size(), 5u);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(ExportImport, FewerThanSixteenColoursRefusesBeforeAnyDialog) {
    struct Case {
        const char* what;
        std::string count; // empty: no row chosen
        bool special;
        bool exportCommand;
    };
    for (const Case& c : {Case{"export, 15 colours", "15", false, true},
                          {"export, 1 colour", "1", false, true},
                          {"export, no row chosen", "", false, true},
                          {"import, 15 colours", "15", false, false},
                          {"import, no row chosen", "", false, false},
                          {"import in the special state", "4", true, false}}) {
        SCOPED_TRACE(c.what);
        services.messages.clear();
        ChoosePalette(c.count);
        if (c.count.empty())
            form.model().List1.selected = -1;
        form.model().lblGame.caption = c.special ? "MODO ESPECIAL" : "MEMORY DUMP";
        const Palette16 before = Swatches();
        c.exportCommand ? Export(dir.File("p.gbapal")) : Import(dir.File("p.gbapal"));

        EXPECT_TRUE(services.dialogs.empty());
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text,
                  "Esta paleta possui menos de 16 cores. Tente outra por favor...");
        EXPECT_EQ(services.messages[0].style, 48);
        EXPECT_EQ(services.messages[0].title, "Zandrel");
        EXPECT_EQ(Swatches(), before);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
        services.saveAnswers.clear();
        services.openAnswers.clear();
    }
}

TEST_F(ExportImport, SpecialStateExportSkipsTheColourCountCheck) {
    ChoosePalette("4");
    form.model().List1.selected = -1; // the special state reads no list row
    form.model().lblGame.caption = "MODO ESPECIAL";
    const std::string path = dir.File("special.GBAPAL");
    Export(path);
    EXPECT_EQ(ReadBytes(path), GbaPaletteBytes(Swatches()));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, Saved(path));
}

TEST_F(ExportImport, OverwritingALongerFileLeavesNoStaleBytes) {
    for (const char* name : {"old.tpl", "old.pal", "old.gbapal"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.Write(name, zandrel::testing::PatternBytes(300));
        Export(path);
        EXPECT_EQ(ReadBytes(path), PaletteFileBytes(ExportFormatForName(name), Swatches()));
    }
}

TEST_F(ExportImport, ExportThatCannotCreateTheFileEndsWithoutConfirmation) {
    for (const std::string name : {"no-folder/p.tpl", "no-folder/p.pal", "no-folder/p.gbapal"}) {
        SCOPED_TRACE(name);
        services.messages.clear();
        Export(dir.File(name));
        EXPECT_FALSE(std::filesystem::exists(dir.File(name)));
        EXPECT_TRUE(services.messages.empty()); // every format ends quietly
    }
}

TEST_F(ExportImport, RoundTripThroughARawPaletteRestoresTheWords) {
    const std::string path = dir.File("round.gbapal");
    Export(path);
    ASSERT_EQ(ReadBytes(path).size(), 32u);

    // Another palette with hidden swatches and one selected, as after choosing a short one.
    for (Swatch& swatch : form.model().Opt) {
        swatch.backColor = 0x123456;
        swatch.visible = false;
    }
    form.model().Opt[5].selected = true;
    form.model().OptSelected = 5;
    const std::string strColorBefore = form.model().StrColor = "ABCDEF";
    services.messages.clear();

    Import(path);
    ASSERT_EQ(services.dialogs.size(), 2u);
    EXPECT_EQ(services.dialogs[1].kind, "open");
    EXPECT_EQ(services.dialogs[1].title, "Abrir");
    EXPECT_EQ(services.dialogs[1].filter, "GBAPAL - Paleta do GBA|*.GBAPAL");
    EXPECT_EQ(services.dialogs[1].defaultExt, "");
    EXPECT_EQ(SwatchWords(), kWords);
    for (const Swatch& swatch : form.model().Opt) {
        EXPECT_TRUE(swatch.visible);
        EXPECT_FALSE(swatch.selected);
    }
    EXPECT_EQ(form.model().OptSelected, -1);
    EXPECT_EQ(form.model().StrColor, strColorBefore); // the working colour stays
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(ExportImport, ImportReadsAnyNameAndMissingBytesOfAShortFileAsZero) {
    const std::string path = dir.Write("short.bin", {0x1F, 0x80, 0xE0});
    Import(path);
    PaletteWords16 expected{};
    expected[0] = 0x001F; // bit 15 dropped
    expected[1] = 0x00E0;
    EXPECT_EQ(SwatchWords(), expected);
    EXPECT_EQ(ReadBytes(path).size(), 3u);
}

TEST_F(ExportImport, ImportOfAMissingFileOrACancelChangesNothing) {
    form.model().Opt[3].selected = true;
    form.model().OptSelected = 3;
    form.model().Opt[9].visible = false;
    const FormModel before = form.model();
    const std::string missing = dir.File("missing.gbapal");
    Import(missing);
    Import("");
    EXPECT_EQ(services.dialogs.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(Swatches(), [&] {
        Palette16 colours{};
        for (std::size_t i = 0; i < 16; ++i)
            colours[i] = before.Opt[i].backColor;
        return colours;
    }());
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(form.model().Opt[i].visible, before.Opt[i].visible) << i;
        EXPECT_EQ(form.model().Opt[i].selected, before.Opt[i].selected) << i;
    }
    EXPECT_EQ(form.model().OptSelected, 3);
}
