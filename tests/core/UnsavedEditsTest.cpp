// Unsaved edits: every command that leaves the palette on show asks first, and each answer does
// what it says; paths that open nothing ask nothing.
#include "OpenFormFixture.h"
#include "util/Messages.h"

namespace zandrel::testing {
namespace {

// "Cheia" at 0 chosen, its swatch 2 edited from 261F to 2600; a Kemrith (J) ROM beside it.
class UnsavedEdits : public OpenFormTest {
  protected:
    std::string rom;
    void SetUp() override {
        OpenFormTest::SetUp();
        dir.WriteText("KEMR_J.ZNDL", "16,0,K\r\n");
        rom = dir.Write("k.gba", RomWithCode("BKRJ"));
        OpenAndEdit();
    }
    void OpenAndEdit() {
        services = FakeServices();
        std::tie(model().closed, app.GameIndex) = std::tuple(false, 0);
        OpenDump(PatternBytes(0x400), "16,0,Cheia\r\n16,20,Outra\r\n");
        Choose(0);
        Edit();
    }
    void Edit() {
        form.Opt_Click(2);
        form.SetSliderValue(SliderId::Red, 0);
        services = FakeServices();
    }
};

TEST_F(UnsavedEdits, EveryWayOutAsksAndOnlySimAndNaoGoOn) {
    const std::tuple<const char*, std::function<void()>, std::function<bool()>> flows[] = {
        {"another row", [&] { Choose(1); }, [&] { return model().List1.selected == 1; }},
        {"the same row", [&] { Choose(0); }, [&] { return !form.EditMenuState().undo; }},
        {"reload", [&] { form.cmdRecarrega_Click(); },
         [&] { return model().List1.selected == -1; }},
        {"open", [&] { services.openAnswers.push_back(rom), form.Command1_Click(); },
         [&] { return app.GameName == "Kemrith (J)"; }},
        {"drop", [&] { form.OpenFile(rom); }, [&] { return app.GameIndex == 3; }},
        {"special", [&] { form.cmdSpecial_Click(); }, [&] { return !services.dialogs.empty(); }},
        {"exit", [&] { form.Command4_Click(); }, [&] { return model().closed; }},
    };
    enum Answer { Cancelar, Nao, Sim, SimButTheSaveFails };
    for (const auto& [name, leave, wentOn] : flows)
        for (const Answer answer : {Cancelar, Nao, Sim, SimButTheSaveFails}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(answer));
            OpenAndEdit();
            if (answer == SimButTheSaveFails)
                fs::remove(dumpPath);
            services.choices = {
                std::array{Choice::Cancel, Choice::No, Choice::Yes, Choice::Yes}[answer]};
            leave();
            EXPECT_EQ(services.questions,
                      std::vector<std::string>{"A paleta \"Cheia\" tem alterações "
                                               "que não foram salvas. Salvar agora?"});
            const bool goesOn = answer == Nao || answer == Sim;
            // Não lets the edit go.
            EXPECT_EQ(std::pair(wentOn(), form.HasUnsavedEdits()), std::pair(goesOn, !goesOn));
            if (!goesOn) {
                EXPECT_EQ(std::tie(model().List1.selected, app.GameName, app.GameIndex),
                          std::tuple(0, "MEMORY DUMP", 0));
                EXPECT_EQ(ColorToWord(model().Opt[2].backColor), 0x2600);
                EXPECT_TRUE(form.EditMenuState().undo);
            }
            if (answer != SimButTheSaveFails) {
                EXPECT_EQ(StoredWord(ReadBytes(dumpPath), 4), answer == Sim ? 0x2600 : 0x261F);
            }
            // Only a save shows a box (no exit question): its confirmation or why it failed.
            EXPECT_EQ(services.messages.size(), answer >= Sim ? 1u : 0u);
            EXPECT_TRUE(answer != Sim || services.messages.at(0).text == "Paleta salva.");
        }
}

// Asked only with an edit to lose, once the file is known, and never in the special state.
TEST_F(UnsavedEdits, PathsThatOpenNothingAskNothingAndSayWhy) {
    form.mnuUndo_Click(); // back to the colours read
    Choose(1);
    Edit();
    const std::string c = dir.Write("c.gba", RomWithCode("AQXE"));
    services.openAnswers = {"", dir.Write("x.gba", RomWithCode("ZZZZ"))};
    form.Command1_Click();
    form.Command1_Click();
    form.OpenFile(dir.File("gone.gba"));
    fs::create_directory(dir.File("pasta.gba"));
    form.OpenFile(dir.File("pasta.gba")); // named from outside: why it cannot be read
    form.OpenFile(c + '\0' + ".dmp");     // the system would open c.gba
    EXPECT_TRUE(services.questions.empty());
    EXPECT_EQ(
        services.MessageTexts(),
        (std::vector<std::string>{
            text::kNotIdentified, "O arquivo \"" + dir.File("gone.gba") + "\" não existe.",
            "Não foi possível ler o arquivo \"" + dir.File("pasta.gba") + "\".\r\n\r\nÉ uma pasta",
            "O nome de arquivo \"" + c +
                "%00.dmp\" não pode ser usado: ele contém um caractere nulo ou bytes que "
                "não são texto válido (UTF-8)."}));
    EXPECT_EQ(services.messages.at(3).style, kStyleExclamation);
    EXPECT_EQ(std::pair(app.RomPath, model().List1.selected), std::pair(dumpPath, 1));

    services.openAnswers = {dumpPath};
    form.cmdSpecial_Click(); // asked about "Outra": Não
    Edit();
    services.openAnswers = {dumpPath};
    form.Command1_Click();
    form.Command4_Click();
    EXPECT_TRUE(services.questions.empty());
    EXPECT_EQ(services.MessageTexts(), std::vector<std::string>{"Deseja realmente sair?"});
}

} // namespace
} // namespace zandrel::testing
