// Start-up, the open command and its definition file, leaving and the About box.
#include "OpenFormFixture.h"
#include "app/StartArguments.h"
#include "app/Version.h"

namespace zandrel::testing {
namespace {
using Rows = std::vector<std::string>;

class OpenCommand : public OpenFormTest {
  protected:
    const FormModel& m = form.model();

    void SetUp() override {
        dir.WriteText("TORV_E.ZNDL", "; Torvale\r\n16,1A0,Herói\r\n4,200,Item\r\n");
        dir.WriteText("MEMORYDUMP.ZNDL", "16,0,Fundo 00\r\n16,20,Fundo 01\r\n");
        dir.WriteText("KEMR_J.ZNDL", "16,0,Kemrith A\r\n");
        OpenFormTest::SetUp();
    }
    void Open(const std::string& path) {
        services.messages.clear();
        services.openAnswers.push_back(path);
        form.Command1_Click();
    }
};

// The special word alone shows the special button; one other argument is the file to open.
TEST(FormLoad, StartArgumentsChooseTheSpecialButtonOrTheFileToOpen) {
    const std::tuple<Rows, bool, std::string> cases[] = {
        {{"kalDrex"}, true, ""},
        {{" KALDREX"}, false, " KALDREX"},
        {{"KALDREXX"}, false, "KALDREXX"},
        {{"/my roms/hack.gba"}, false, "/my roms/hack.gba"},
        {{""}, false, ""},
        {{}, false, ""},
        {{"kaldrex", "b.gba"}, false, ""}};
    for (const auto& [arguments, special, file] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        FakeServices services;
        AppState app;
        MainForm form(app, services);
        form.Form_Load(StartIn("/opt/zandrel", arguments));
        EXPECT_EQ(app.SpecialMode, special);
        EXPECT_EQ(form.model().cmdSpecial.visible, special);
        EXPECT_EQ(ParseStartArguments(arguments).fileToOpen, file);
        EXPECT_EQ(form.model().txtArquivo.caption, "/opt/zandrel");
    }
}

// A dump is known by its name in any letter case and keeps the last game's index.
TEST_F(OpenCommand, AnIdentifiedRomShowsItsTitleAndPalettesADumpItsName) {
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);
    ExpectOneDialog(services, "open", "Abrir",
                    "ROMs de GBA (*.gba)|*.gba|Dump de memória (*.dmp)|*.dmp");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(m.txtArquivo.caption, rom);
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_EQ(m.lblGame.caption, "Torvale (US)");
    EXPECT_EQ(m.List1.rows, (TextColumn{"Herói", "Item"}));
    EXPECT_EQ(m.lstColor.rows, (TextColumn{"1A0", "200"}));
    EXPECT_EQ(m.lstCount.rows, (TextColumn{"16", "4"}));
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_EQ(EnabledButtons(m), "cmdRecarrega");

    Open(dir.Write("k.gba", RomWithCode("BKRJ")));
    ASSERT_EQ(app.GameIndex, 3);
    Open(dir.Write("ram.DmP", RomWithCode("AQXE"))); // the name decides, not the code
    EXPECT_EQ(m.lblGame.caption, "MEMORY DUMP");
    EXPECT_EQ(m.List1.rows.size(), 2u);
    EXPECT_EQ(app.GameIndex, 3);
}

// The code rules are the identification's; a cancel or unreadable file ends silently. The
// box's details say why; a faulty definition file of the user's is named instead.
TEST_F(OpenCommand, UnidentifiedFilesGetTheCriticalMessageAndChangeNothingElse) {
    Open("");
    EXPECT_EQ(m.lblGame.caption, "...");
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);
    EXPECT_TRUE(services.messages.empty());
    const std::string dash = dir.Write("dash.gba", RomWithCode("AB-D"));
    dir.WriteText("AB-D.ZNDL", "16,0,A\r\n");
    Open(dash);
    ExpectOneMessage(services,
                     "O arquivo escolhido não foi identificado como um dos jogos suportados.", 16);
    EXPECT_EQ(services.messages[0].details, NotIdentifiedDetails(dash, app.Folders));
    EXPECT_EQ(app.GameName, ""); // the latest attempt failed
    EXPECT_EQ(std::tie(app.RomPath, m.lblGame.caption, m.txtArquivo.caption),
              std::tie(rom, "Torvale (US)", rom));
    app.Folders.userData = dir.path().string();
    fs::remove(dir.File("KEMR_J.ZNDL"));
    fs::create_directory(dir.File("KEMR_J.ZNDL"));
    Open(dir.Write("k.gba", RomWithCode("BKRJ")));
    ExpectOneMessage(services,
                     "Não foi possível ler o arquivo de definições \"" + dir.File("KEMR_J.ZNDL") +
                         "\".\r\n\r\nÉ uma pasta",
                     16);
    EXPECT_EQ(app.RomPath, rom);
}
// Any other ROM opens by its code's definition file and reloads it.
TEST_F(OpenCommand, AnyOtherRomOpensByItsCodesDefinitionFile) {
    app.Folders.userData = dir.path().string();
    std::vector<std::uint8_t> bytes = RomWithCode("ZNDL");
    std::copy_n("ZANDREL\0 \0\0\0", 12, bytes.begin() + 0xA0);
    const std::string rom = dir.Write("demo.gba", bytes);
    dir.WriteText("ZNDL.ZNDL", "16,0,Um\r\n");
    Open(rom);
    EXPECT_EQ(m.lblGame.caption, "ZANDREL (ZNDL)");
    dir.WriteText("ZNDL.ZNDL", "16,0,Um\r\n16,20,Dois\r\n");
    form.cmdRecarrega_Click();
    EXPECT_EQ(m.List1.rows, (TextColumn{"Um", "Dois"}));
}

// The open stops silently at a broken line; the reload names the file and line.
TEST_F(OpenCommand, ABrokenDefinitionLineStopsTheOpenSilentlyAndTheReloadNamesIt) {
    dir.WriteText("TORV_E.ZNDL", "; c\r\n16,0,A\r\n16,20\r\n16,40,C\r\n");
    Open(dir.Write("game.gba", RomWithCode("AQXE")));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(m.List1.rows, (TextColumn{"A", "20"}));
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_FALSE(m.cmdRecarrega.enabled);
    form.cmdRecarrega_Click();
    ExpectOneMessage(services,
                     "Arquivo de definições \"" + dir.File("TORV_E.ZNDL") +
                         "\", linha 3: a linha tem só uma vírgula "
                         "(esperado: cores,localização,nome). A lista foi carregada até a linha "
                         "anterior.",
                     16);
    EXPECT_EQ(m.List1.rows, (TextColumn{"A", "20"}));
}

// The reload kept the folder where the open had found its file, so after an unidentified file
// it looked for the game's file (by GameIndex) in the dump's folder and failed.
TEST_F(OpenCommand, TheReloadLooksItsFileUpAsTheOpenDoesEveryTime) {
    const TempDir user;
    app.Folders.userData = user.path().string();
    user.WriteText("MEMORYDUMP.ZNDL", "16,0,Do usuário\r\n");
    Open(dir.Write("ram.dmp", RomWithCode("AQXE"))); // found in the user's folder
    Open(dir.Write("other.gba", RomWithCode("XXXX")));
    form.cmdRecarrega_Click();
    EXPECT_EQ(services.messages.size(), 1u); // the unidentified file's, and none after it
    EXPECT_EQ(m.List1.rows, (TextColumn{"Herói", "Item"})); // GameIndex 0's, the program's
    user.WriteText("TORV_E.ZNDL", "16,0,Meu\r\n");
    form.cmdRecarrega_Click();
    EXPECT_EQ(m.List1.rows, (TextColumn{"Meu"}));
}

// "0x1A0" was read as 411A0, and a save wrote there while the label showed the text.
TEST_F(OpenCommand, ARowWhoseLocationIsNotStrictHexIsNamedAndChoosesNothing) {
    dir.WriteText("MEMORYDUMP.ZNDL", "16,1a0,g\r\n16,0x1A0,f\r\n");
    const std::vector<std::uint8_t> bytes = PatternBytes(0x400);
    Open(dir.Write("game.dmp", bytes));
    form.ChooseRow(0);
    const auto swatches = Swatches(m);
    EXPECT_EQ(m.Opt[0].backColor, WordToColor(StoredWord(bytes, 0x1A0)));
    form.ChooseRow(1);
    ExpectOneMessage(services,
                     "Arquivo de definições \"" + dir.File("MEMORYDUMP.ZNDL") +
                         "\", linha 2: a localização \"0x1A0\" não é válida (esperado: de 1 a 8 "
                         "dígitos hex até 7FFFFFFF, como 1A0, ou um bloco comprimido, como "
                         "LZ:3B8A8C ou LZ:3B8A8C+20). Nada foi lido nem gravado.",
                     16);
    EXPECT_EQ(Swatches(m), swatches);
    EXPECT_EQ(m.List1.selected, -1);
    EXPECT_EQ(EnabledButtons(m), "cmdRecarrega");
}

// Only "..." skips the question; only No keeps the window.
TEST(Exit, QuitQuestionDecidesOnceAFileIsInUse) {
    for (const auto& [game, answer, closes] : {std::tuple{"...", kAnswerNo, true},
                                               {"MEMORY DUMP", kAnswerYes, true},
                                               {"MODO ESPECIAL", kAnswerNo, false},
                                               {"Some Game", 2, true}}) {
        SCOPED_TRACE(std::string(game) + " " + std::to_string(answer));
        FakeServices services;
        AppState app;
        MainForm form(app, services);
        form.Form_Load({});
        ShowGameLabel(form, game);
        services.messageAnswers = {answer, answer};
        EXPECT_EQ(form.Form_QueryUnload(), !closes); // the close request's cancel flag
        EXPECT_FALSE(form.model().closed);
        services.messages.clear();
        form.Command4_Click();
        EXPECT_EQ(form.model().closed, closes);
        if (std::string(game) != "...") {
            ExpectOneMessage(services, "Deseja realmente sair?", 292, "Sair");
        } else {
            EXPECT_TRUE(services.messages.empty());
        }
    }
}

TEST(About, ShowsTitleVersionWithZeroFilledPartsAndCopyright) {
    FakeServices services;
    AppState app;
    MainForm form(app, services);
    services.version = {1, 0, 11};
    form.Command3_Click();
    ExpectOneMessage(services,
                     "Zandrel\r\nVersão 1.00.0011\r\n\r\nCopyright © 2026 os desenvolvedores "
                     "do Zandrel. Software livre, sem nenhuma garantia.",
                     0);
}

} // namespace
} // namespace zandrel::testing
