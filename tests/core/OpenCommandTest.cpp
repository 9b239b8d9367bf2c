#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"
#include "app/Messages.h"

using namespace zandrel;
using zandrel::testing::FakeServices;
using zandrel::testing::TempDir;

namespace {

std::vector<std::uint8_t> RomWithCode(const std::string& code, std::size_t size = 512) {
    std::vector<std::uint8_t> bytes = zandrel::testing::PatternBytes(size);
    for (std::size_t i = 0; i < code.size() && 0xAC + i < size; ++i)
        bytes[0xAC + i] = static_cast<std::uint8_t>(code[i]);
    return bytes;
}

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

} // namespace

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

TEST_F(OpenCommand, AnIdentifiedRomShowsItsTitleAndPalettes) {
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);

    ASSERT_EQ(services.dialogs.size(), 1u);
    EXPECT_EQ(services.dialogs[0].kind, "open");
    EXPECT_EQ(services.dialogs[0].title, "Abrir");
    EXPECT_EQ(services.dialogs[0].filter,
              "ROMs de GBA (*.gba)|*.gba|Dump de memória (*.dmp)|*.dmp");
    EXPECT_EQ(services.dialogs[0].defaultExt, "");
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
    EXPECT_TRUE(m.cmdRecarrega.enabled);
    EXPECT_EQ(m.lblLocaliza.caption, "Localização: ");
    EXPECT_FALSE(m.lblLoc.visible);
    EXPECT_FALSE(m.lblLocOpt.visible);
    EXPECT_TRUE(app.RomLoaded);
    for (const Control* off : {&m.Command2, &m.cmdExibir, &m.cmdAmostra, &m.cmdImp, &m.cmdExp})
        EXPECT_FALSE(off->enabled) << off->caption;
}

TEST_F(OpenCommand, ADumpIsKnownByItsNameInAnyLetterCase) {
    const std::string kemrith = dir.Write("k.gba", RomWithCode("BKRJ"));
    Open(kemrith);
    ASSERT_EQ(app.GameIndex, 3);
    // Its contents would identify a game, but the name decides.
    const std::string dump = dir.Write("ram.DmP", RomWithCode("AQXE"));
    Open(dump);
    EXPECT_EQ(form.model().lblGame.caption, "MEMORY DUMP");
    EXPECT_EQ(form.model().List1.rows.size(), 3u);
    EXPECT_EQ(app.GameIndex, 3); // a dump keeps the last game's index
}

TEST_F(OpenCommand, UnidentifiedFilesGetTheCriticalMessageAndChangeNothingElse) {
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);
    const FormModel before = form.model();

    const std::string cases[] = {
        dir.Write("lower.gba", RomWithCode("aqxe")), // codes are case-sensitive
        dir.Write("other.gba", RomWithCode("ZZZZ")),
        dir.Write("short.gba", RomWithCode("AQXE", 175)), // no complete code
        dir.File("missing.gba"),                          // a typed name that does not exist
    };
    for (const std::string& path : cases) {
        services.messages.clear();
        Open(path);
        ASSERT_EQ(services.messages.size(), 1u) << path;
        EXPECT_EQ(services.messages[0].text,
                  "O arquivo escolhido não foi identificado como um dos jogos suportados.");
        EXPECT_EQ(services.messages[0].style, 16);
        EXPECT_EQ(services.messages[0].title, "Zandrel");
        EXPECT_EQ(app.GameName, "") << path; // the latest attempt failed
        EXPECT_EQ(app.RomPath, rom);
        EXPECT_EQ(form.model().lblGame.caption, "Torvale (US)");
        EXPECT_EQ(form.model().List1.rows, before.List1.rows);
        EXPECT_EQ(form.model().txtArquivo.caption, rom);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.gba"))); // nothing was created
}

TEST_F(OpenCommand, CancellingTheDialogChangesNothing) {
    Open("");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(form.model().lblGame.caption, "...");
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_EQ(form.model().txtArquivo.caption, dir.path().string());
}

TEST_F(OpenCommand, AMissingDefinitionFileLeavesEmptyListsAndSkipsTheLastStep) {
    const std::string rom = dir.Write("t2.gba", RomWithCode("AWQE")); // TORV2_E.ZNDL is absent
    Open(rom);
    EXPECT_TRUE(services.messages.empty()); // the open command's trap is silent
    EXPECT_EQ(form.model().lblGame.caption, "Torvale 2 (US)");
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_TRUE(form.model().List1.rows.empty());
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_FALSE(form.model().cmdRecarrega.enabled);
    EXPECT_EQ(form.model().lblLocaliza.caption, "Localização:");
}

TEST_F(OpenCommand, AMalformedDefinitionKeepsTheEntriesBeforeIt) {
    dir.WriteText("TORV_E.ZNDL", "16,0,A\r\n16,20,B\r\n\r\n16,40,C\r\n");
    Open(dir.Write("game.gba", RomWithCode("AQXE")));
    EXPECT_EQ(form.model().List1.rows, (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_FALSE(form.model().cmdRecarrega.enabled);
}

TEST_F(OpenCommand, ADefinitionWithOnlyCommentsStillCompletesTheOpen) {
    dir.WriteText("TORV_E.ZNDL", "; nothing known yet\r\n");
    Open(dir.Write("game.gba", RomWithCode("AQXE")));
    EXPECT_TRUE(form.model().List1.rows.empty());
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_TRUE(form.model().cmdRecarrega.enabled);
}

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
