#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "OpenFormFixture.h"
#include "app/StartArguments.h"
#include "util/Messages.h"

namespace zandrel::testing {
namespace {

class OpenCommand : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};

    void SetUp() override {
        services.programFolder = dir.path().string();
        dir.WriteText("TORV_E.ZNDL", "; Torvale\r\n16,1A0,Herói\r\n4,200,Item\r\n");
        dir.WriteText("KEMR_J.ZNDL", "16,0,Kemrith A\r\n");
        dir.WriteText("MEMORYDUMP.ZNDL", "16,0,Fundo 00\r\n16,20,Fundo 01\r\n16,40,Fundo 02\r\n");
        form.Form_Load();
    }

    void Open(const std::string& path) {
        services.openAnswers.push_back(path);
        form.Command1_Click();
    }
};

TEST(FormLoad, TheSpecialWordAloneShowsTheSpecialButton) {
    struct Case {
        std::string commandLine;
        bool special;
    };
    for (const Case& c : {Case{"KALDREX", true},
                          {"kaldrex", true},
                          {"KalDrex", true},
                          {"", false},
                          {"KALDREX extra", false},
                          {" KALDREX", false},
                          {"KALDREXX", false}}) {
        FakeServices services;
        services.commandLine = c.commandLine;
        services.programFolder = "/opt/zandrel";
        AppState app;
        MainForm form(app, services);
        form.Form_Load();
        EXPECT_EQ(app.SpecialMode, c.special) << c.commandLine;
        EXPECT_EQ(form.model().cmdSpecial.visible, c.special) << c.commandLine;
        EXPECT_EQ(form.model().txtArquivo.caption, "/opt/zandrel");
        EXPECT_FALSE(app.RomLoaded);
        EXPECT_EQ(form.model().OptSelected, -1);
    }
}

// A file manager starts the window with one path (Exec=zandrel %f).
TEST(FormLoad, OneArgumentThatIsNotTheSpecialWordIsTheFileToOpenAtStart) {
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(FileToOpenAtStart({"/my roms/hack.gba"}), "/my roms/hack.gba");
    EXPECT_EQ(FileToOpenAtStart({"KALDREXX"}), "KALDREXX");
    for (const Arguments& nothing : {Arguments{"kalDrex"}, Arguments{""}, Arguments{},
                                     Arguments{"a.gba", "b.gba"}, Arguments{"KALDREX", "a.gba"}})
        EXPECT_EQ(FileToOpenAtStart(nothing), "") << ::testing::PrintToString(nothing);
}

TEST_F(OpenCommand, AnIdentifiedRomShowsItsTitleAndPalettes) {
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);

    ExpectOneDialog(services, "open", "Abrir",
                    "ROMs de GBA (*.gba)|*.gba|Dump de memória (*.dmp)|*.dmp");
    EXPECT_TRUE(services.messages.empty());
    const FormModel& m = form.model();
    EXPECT_EQ(m.txtArquivo.caption, rom);
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_EQ(app.GameName, "Torvale (US)");
    EXPECT_EQ(app.GameIndex, 0);
    EXPECT_EQ(m.lblGame.caption, "Torvale (US)");
    EXPECT_EQ(m.List1.rows, (std::vector<std::string>{"Herói", "Item"}));
    EXPECT_EQ(m.lstColor.rows, (std::vector<std::string>{"1A0", "200"}));
    EXPECT_EQ(m.lstCount.rows, (std::vector<std::string>{"16", "4"}));
    EXPECT_EQ(m.lblLocaliza.caption, "Localização: ");
    EXPECT_FALSE(m.lblLoc.visible);
    EXPECT_FALSE(m.lblLocOpt.visible);
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_EQ(EnabledButtons(m), "cmdRecarrega");
}

TEST_F(OpenCommand, ADumpIsKnownByItsNameInAnyLetterCase) {
    Open(dir.Write("k.gba", RomWithCode("BKRJ")));
    ASSERT_EQ(app.GameIndex, 3);
    // Its contents would identify a game, but the name decides.
    Open(dir.Write("ram.DmP", RomWithCode("AQXE")));
    EXPECT_EQ(form.model().lblGame.caption, "MEMORY DUMP");
    EXPECT_EQ(form.model().List1.rows.size(), 3u);
    EXPECT_EQ(app.GameIndex, 3); // a dump keeps the last game's index
}

TEST_F(OpenCommand, UnidentifiedFilesGetTheCriticalMessageAndChangeNothingElse) {
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);
    const FormModel before = form.model();

    for (const std::string& path : {
             dir.Write("lower.gba", RomWithCode("aqxe")), // codes are case-sensitive
             dir.Write("other.gba", RomWithCode("ZZZZ")),
             dir.Write("short.gba", RomWithCode("AQXE", 175)), // no complete code
             dir.File("missing.gba"),                          // a typed name that does not exist
         }) {
        SCOPED_TRACE(path);
        services.messages.clear();
        Open(path);
        ExpectOneMessage(
            services, "O arquivo escolhido não foi identificado como um dos jogos suportados.", 16);
        EXPECT_EQ(app.GameName, ""); // the latest attempt failed
        EXPECT_EQ(app.RomPath, rom);
        EXPECT_EQ(form.model().lblGame.caption, "Torvale (US)");
        EXPECT_EQ(form.model().List1.rows, before.List1.rows);
        EXPECT_EQ(form.model().txtArquivo.caption, rom);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.gba"))); // nothing was created
}

// A ROM of none of the five games opens by the definition file named after its code (letters
// and digits only); without one it is not identified, as before.
TEST_F(OpenCommand, AnyOtherRomOpensByItsCodesDefinitionFile) {
    services.userDataFolder = dir.path().string();
    std::vector<std::uint8_t> bytes = RomWithCode("ZNDL");
    std::copy_n("ZANDREL\0 \0\0\0", 12, bytes.begin() + 0xA0);
    const std::string rom = dir.Write("demo.gba", bytes);
    dir.WriteText("AB-D.ZNDL", "16,0,A\r\n");
    for (const std::string& path : {rom, dir.Write("o.gba", RomWithCode("AB-D"))}) {
        services.messages.clear();
        Open(path);
        ExpectOneMessage(services, text::kNotIdentified, 16);
    }
    for (const std::string image : {"preview01.gif", "preview02.gif"})
        std::filesystem::copy_file(std::string(ZANDREL_DATA_DIR) + "/" + image, dir.File(image));
    Open(dir.Write("k.gba", RomWithCode("BKRJ"))); // GameIndex 3 shows the second image
    dir.WriteText("ZNDL.ZNDL", "16,0,Um\r\n");
    Open(rom);
    EXPECT_EQ(form.model().lblGame.caption, "ZANDREL (ZNDL)");
    EXPECT_EQ(app.shown, Shown::Game);
    dir.WriteText("ZNDL.ZNDL", "16,0,Um\r\n16,20,Dois\r\n");
    form.cmdRecarrega_Click();
    EXPECT_EQ(form.model().List1.rows, (std::vector<std::string>{"Um", "Dois"}));
    form.model().List1.selected = 0;
    form.List1_Click();
    form.cmdAmostra_Click();
    EXPECT_EQ(services.previewImages, std::vector<std::string>{dir.File("preview01.gif")});
}

TEST_F(OpenCommand, CancellingTheDialogChangesNothing) {
    Open("");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(form.model().lblGame.caption, "...");
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_EQ(form.model().txtArquivo.caption, dir.path().string());
}

// Missing and broken definition files are in FaultTest.
TEST_F(OpenCommand, AnUnreadableRomEndsSilentlyKeepingTheLastGameName) {
    Open(dir.Write("game.gba", RomWithCode("AQXE")));
    // A folder exists under the name but cannot be read as a file (and root reads every
    // file, so permissions would not do here).
    std::filesystem::create_directory(dir.File("folder.gba"));
    Open(dir.File("folder.gba"));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(app.GameName, "Torvale (US)");
    EXPECT_EQ(app.RomPath, dir.File("game.gba"));
}

} // namespace
} // namespace zandrel::testing
