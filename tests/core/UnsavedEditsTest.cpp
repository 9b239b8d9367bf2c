// Unsaved edits: every command that leaves the palette on show asks first, and each answer does
// what it says.
#include "OpenFormFixture.h"

namespace zandrel::testing {
namespace {

const std::vector<std::string> kAsked = {
    "A paleta \"Cheia\" tem alterações que não foram salvas. Salvar agora?"};

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
        model().closed = false;
        app.GameIndex = 0;
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
            services.choices = {answer == Cancelar ? Choice::Cancel
                                : answer == Nao    ? Choice::No
                                                   : Choice::Yes};
            leave();
            EXPECT_EQ(services.questions, kAsked);
            const bool goesOn = answer == Nao || answer == Sim;
            EXPECT_EQ(wentOn(), goesOn);
            EXPECT_EQ(form.HasUnsavedEdits(), !goesOn); // Não lets the edit go
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
            const std::vector<std::string> texts = services.MessageTexts();
            EXPECT_EQ(texts.size(), answer >= Sim ? 1u : 0u);
            EXPECT_TRUE(answer != Sim || texts.at(0) == "Paleta salva.");
        }
}

} // namespace
} // namespace zandrel::testing
