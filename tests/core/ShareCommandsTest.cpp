// Criar patch: the unsaved-edits question first, then the original and the patch's name; the
// patch is of the open file as saved. Localizar na ROM: the palette on show found in a ROM,
// which opens with it chosen, its row added to the user's definition file when none names it.
#include "OpenFormFixture.h"
#include "util/Messages.h"

namespace zandrel::testing {
namespace {

class CreatePatch : public OpenFormTest {
  protected:
    // "Cheia" chosen, its swatch 2 edited from 261F to 2600, unsaved; a save also writes bit 15
    // of seven other words as 0.
    void OpenAndEdit() {
        services = FakeServices();
        OpenDump(PatternBytes(0x400), "16,0,Cheia\r\n");
        Choose(0);
        form.Opt_Click(2);
        form.SetSliderValue(SliderId::Red, 0);
        services = FakeServices();
    }
};

TEST_F(CreatePatch, AsksAboutUnsavedEditsAndPatchesTheFileAsSaved) {
    const std::string original = dir.Write("original.dmp", PatternBytes(0x400));
    const std::string ips = dir.File("p.ips");
    const struct {
        Choice answer;
        std::string patchName;
        std::vector<std::string> messages; // none: no dialog was shown
    } cases[] = {
        {Choice::Cancel, ips, {}},
        {Choice::No, ips, {"Patch gravado em \"" + ips + "\": 0 bytes mudados, 8 bytes de patch."}},
        {Choice::Yes,
         ips,
         {"Paleta salva.",
          "Patch gravado em \"" + ips + "\": 8 bytes mudados, 32 bytes de patch."}},
        {Choice::No,
         dir.File("p.txt"),
         {"\"" + dir.File("p.txt") +
          "\": o nome do patch deve terminar em .ips ou .bps, que dizem o formato. Nada foi "
          "gravado."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.patchName + " " + std::to_string(static_cast<int>(c.answer)));
        OpenAndEdit();
        fs::remove(ips);
        services.choices = {c.answer};
        services.openAnswers = {original};
        services.saveAnswers = {c.patchName};
        form.mnuCreatePatch_Click();
        EXPECT_EQ(services.questions.size(), 1u);
        EXPECT_EQ(services.MessageTexts(), c.messages);
        EXPECT_EQ(services.dialogs.size(), c.answer == Choice::Cancel ? 0u : 2u);
        EXPECT_EQ(fs::exists(ips), c.answer != Choice::Cancel && c.patchName == ips);
    }
    EXPECT_EQ(
        std::tie(services.dialogs[0].title, services.dialogs[1].title, services.dialogs[1].filter),
        std::tie(text::kOriginalRomTitle, text::kPatchTitle, text::kPatchFilter));
}

// A ROM of 0xFF bytes with `code` at 0xAC and the dump's palette "Cheia" at 0x100.
std::vector<std::uint8_t> RomHolding(const std::string& code) {
    std::vector<std::uint8_t> rom(0x400, 0xFF);
    const std::vector<std::uint8_t> palette = PatternBytes(32);
    std::ranges::copy(palette, rom.begin() + 0x100);
    std::ranges::copy(code, rom.begin() + 0xAC);
    return rom;
}

class FindInRom : public OpenFormTest {
  protected:
    std::string user = dir.File("user");
    void SetUp() override {
        form.Form_Load({dir.path().string(), {dir.path().string(), user, {}}, {}});
        OpenDump(PatternBytes(0x400), "16,0,Cheia\r\n");
        Choose(0);
        services = FakeServices();
    }
    void Find(const std::string& rom, const std::string& typedName = {}) {
        services.openAnswers = {rom};
        services.inputAnswers = {typedName};
        form.mnuFindInRom_Click();
    }
};

TEST_F(FindInRom, OpensTheRomWithThePlaceChosenAddingARowWhereNoneNamesIt) {
    dir.WriteText("KEMR_J.ZNDL", "16,0,Outra\r\n16,100,Achada\r\n");
    const std::string rom = dir.Write("k.gba", RomHolding("BKRJ"));
    Find(rom);
    EXPECT_EQ(std::tie(app.RomPath, app.GameName, model().List1.selected),
              std::tuple(rom, "Kemrith (J)", 1));
    EXPECT_TRUE(services.inputPrompts.empty());

    // No row at 100: the user's copy of the installed file gets one; the installed file stays.
    dir.WriteText("KEMR_J.ZNDL", "16,0,Outra");
    Find(rom, "Minha");
    EXPECT_EQ(services.inputPrompts, std::vector<std::string>{text::kNameFoundPalette});
    EXPECT_EQ(ReadText(user + "/KEMR_J.ZNDL"), "16,0,Outra\r\n16,100,Minha\r\n");
    EXPECT_EQ(ReadText(dir.File("KEMR_J.ZNDL")), "16,0,Outra");
    EXPECT_EQ(std::tie(model().List1.selected, app.DefinitionFile),
              std::tuple(1, user + "/KEMR_J.ZNDL"));

    // A code with no definition file: a new one of its own.
    const std::string other = dir.Write("q.gba", RomHolding("QQ42"));
    Find(other, "Nova");
    EXPECT_EQ(ReadText(user + "/QQ42.ZNDL"), "16,100,Nova\r\n");
    EXPECT_EQ(std::tie(app.RomPath, model().List1.selected), std::tuple(other, 0));
}

TEST_F(FindInRom, NothingFoundOrNoUsableCodeOpensNothingAndSaysWhy) {
    const std::string none = dir.Write("none.gba", std::vector<std::uint8_t>(0x400, 0xFF));
    const std::string nameless = dir.Write("x.gba", RomHolding(std::string("\x01\x02\x03\x04")));
    Find(none);
    Find(nameless);
    EXPECT_EQ(services.MessageTexts(),
              (std::vector<std::string>{
                  "A paleta não foi encontrada em \"" + none +
                      "\": procurados os 1024 bytes do arquivo e os dados de 0 blocos LZ77.",
                  "A paleta está em \"" + nameless +
                      "\", que não tem um código de jogo utilizável; nada foi aberto. Lugares "
                      "encontrados:\r\n100 (exata)"}));
    EXPECT_EQ(services.messages.at(1).style, kStyleInformation);
    EXPECT_EQ(std::tie(app.RomPath, model().List1.selected), std::tuple(dumpPath, 0));
    EXPECT_FALSE(fs::exists(user));
}

} // namespace
} // namespace zandrel::testing
