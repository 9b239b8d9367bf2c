// Choosing a palette, saving it in place and reloading the list; and every way a save fails.
#include "OpenFormFixture.h"

namespace zandrel::testing {
namespace {

using PaletteCommandsTest = OpenFormTest;

constexpr const char* kAllOn = "Command2 cmdRecarrega cmdExibir cmdAmostra cmdImp cmdExp";

// Only the shown words go back, bit 15 clear, no other byte, the length kept.
TEST_F(PaletteCommandsTest, SavingWritesExactlyTheShownWordsAtTheLocation) {
    struct Case {
        const char* definition;
        std::size_t location;
        std::size_t shown;
    };
    for (const Case c : {Case{"4,11,P", 0x11, 4}, {"20,3E0,P", 0x3E0, 16}}) {
        SCOPED_TRACE(c.definition);
        services.messages.clear();
        const std::vector<std::uint8_t> before = PatternBytes(0x400); // bit 7 set in many
        OpenDump(before, std::string(c.definition) + "\r\n");
        model().Opt[3].selected = true;
        Choose(0);
        EXPECT_FALSE(model().Opt[3].selected);
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(model().Opt[i].visible, i < c.shown) << i;
            if (i < c.shown) {
                EXPECT_EQ(model().Opt[i].backColor,
                          WordToColor(StoredWord(before, c.location + 2 * i)));
            }
        }
        // The odd swatches edited, hidden ones too; the even ones go back as read.
        for (std::size_t i = 1; i < 16; i += 2)
            model().Opt[i].backColor = WordToColor(static_cast<ColorWord>(0x1234 + i));
        form.Command2_Click();
        std::vector<std::uint8_t> expected = before;
        for (std::size_t i = 0; i < c.shown; ++i) {
            const std::size_t at = c.location + 2 * i;
            expected[at] = i % 2 ? static_cast<std::uint8_t>(0x34 + i) : expected[at];
            expected[at + 1] = i % 2 ? 0x12 : expected[at + 1] & 0x7F;
        }
        EXPECT_EQ(ReadBytes(dumpPath), expected);
        ExpectOneMessage(services, "Paleta salva.", 64);
    }
}

TEST_F(PaletteCommandsTest, BytesPastTheEndReadAsZeroAndSavingThereIsRefused) {
    std::vector<std::uint8_t> before(0x20, 0);
    before[0x1C] = 0xFF;
    before[0x1D] = 0x7F;
    before[0x1E] = 0x1F;
    OpenDump(before, "4,1C,Fim\r\n");
    Choose(0);
    for (const auto& [i, colour] : {std::pair{0, 0xFFFFFFu}, {1, 0x0000FFu}, {2, 0u}, {3, 0u}})
        EXPECT_EQ(model().Opt[i].backColor, colour) << i;
    form.Command2_Click();
    ExpectOneMessage(services,
                     "A paleta de 8 bytes na localização 1C (hex) passa do fim do arquivo \"" +
                         dumpPath +
                         "\", que tem 32 bytes. Nada foi gravado, para não mudar o tamanho do "
                         "arquivo.",
                     16);
    EXPECT_EQ(ReadBytes(dumpPath), before);
}

// The byte viewer is for dumps only; a reload lists new rows, chooses none, keeps swatches.
TEST_F(PaletteCommandsTest, ChoosingEnablesThePaletteCommandsAndReloadDisablesThem) {
    OpenDump(PatternBytes(0x40), "4,0010,Quatro\r\n");
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    model().OptSelected = 2;
    model().lblColor.caption = "1C00";
    Choose(0);
    EXPECT_EQ(model().OptSelected, -1);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 0010"); // as the file writes it
    EXPECT_EQ(EnabledButtons(model()), kAllOn);
    EXPECT_EQ(model().lblColor.caption, "1C00");

    form.Opt_Click(1);
    model().lblLoc.visible = model().lblLocOpt.visible = true;
    const auto swatches = Swatches(model());
    dir.WriteText("MEMORYDUMP.ZNDL", "4,10,Quatro\r\n2,20,Nova\r\n");
    form.cmdRecarrega_Click();
    EXPECT_EQ(model().List1.rows, (std::vector<std::string>{"Quatro", "Nova"}));
    EXPECT_EQ(model().lstColor.rows, (std::vector<std::string>{"10", "20"}));
    EXPECT_EQ(model().lstCount.rows, (std::vector<std::string>{"4", "2"}));
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_EQ(model().OptSelected, 1);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: ");
    EXPECT_FALSE(model().lblLoc.visible || model().lblLocOpt.visible);
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    EXPECT_TRUE(services.messages.empty());

    ShowGameLabel(form, "Some Game");
    model().cmdExibir.enabled = false;
    Choose(0);
    EXPECT_EQ(EnabledButtons(model()), "Command2 cmdRecarrega cmdAmostra cmdImp cmdExp");
}

// Nothing after the failed load runs: the controls stay as the chosen palette left them.
TEST_F(PaletteCommandsTest, ReloadOfAVanishedDefinitionFileNamesItAndKeepsTheControls) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
    fs::remove(dir.File("MEMORYDUMP.ZNDL"));
    form.cmdRecarrega_Click();
    EXPECT_TRUE(model().List1.rows.empty());
    ExpectOneMessage(services,
                     "Não foi possível ler o arquivo de definições \"MEMORYDUMP.ZNDL\".\r\n\r\n" +
                         std::string(std::strerror(ENOENT)),
                     16);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 10");
    EXPECT_EQ(EnabledButtons(model()), kAllOn);
}

// Unchecked, these said "Paleta salva." for unwritten bytes or made a file where one was.
TEST_F(PaletteCommandsTest, SaveThatCannotWriteOrFlushSaysWhyAndIsNeverConfirmed) {
    for (const int error : {ENOENT, EISDIR, EACCES, EIO}) { // EIO: written, flush fails
        SCOPED_TRACE(error);
        if (error == EACCES && ::geteuid() == 0)
            continue; // permission bits do not bind root
        services.messages.clear();
        const std::vector<std::uint8_t> before = PatternBytes(0x40);
        OpenDump(before, "4,10,Quatro\r\n", "f" + std::to_string(error) + ".dmp");
        Choose(0);
        model().Opt[0].backColor = 0;
        if (error == ENOENT || error == EISDIR)
            fs::remove(dumpPath);
        if (error == EISDIR)
            fs::create_directory(dumpPath);
        if (error == EACCES)
            fs::permissions(dumpPath, fs::perms::owner_read);
        const ScopedSyncFaultForTesting fault(error == EIO ? EIO : 0);

        form.Command2_Click();

        ExpectOneMessage(services,
                         (error != EIO ? "Não foi possível gravar no arquivo \"" + dumpPath +
                                             "\". Nada foi alterado."
                                       : "A gravação no arquivo \"" + dumpPath +
                                             "\" começou, mas não pôde ser concluída: o arquivo "
                                             "pode ter sido alterado. Confira-o antes de usá-lo.") +
                             "\r\n\r\n" + std::strerror(error),
                         16);
        EXPECT_EQ(fs::exists(dumpPath), error != ENOENT); // never created
        EXPECT_TRUE(model().Command2.enabled);            // the edit may be saved again
        if (error == EACCES) {
            EXPECT_EQ(ReadBytes(dumpPath), before);
        }
    }
}

// No colours, or no row after a reload stopped at a broken line: nothing written or said.
TEST_F(PaletteCommandsTest, SaveWithNoColoursOrNoRowWritesNothing) {
    OpenDump(PatternBytes(0x40), "0,10,Vazia\r\n4,10,Quatro\r\n");
    Choose(0);
    form.Command2_Click();
    ExpectOneMessage(services,
                     "\"" + dumpPath + "\": a paleta \"Vazia\" não tem cores (contagem \"0\")", 48);

    Choose(1);
    form.SetSliderValue(SliderId::Red, (model().RedScroll + 1) % 32);
    dir.WriteText("MEMORYDUMP.ZNDL", "4,10\r\n");
    form.cmdRecarrega_Click();
    services.messages.clear();
    form.Command2_Click();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(ReadBytes(dumpPath), PatternBytes(0x40));
}

// The old colours must never be saved at the new row's location.
TEST_F(PaletteCommandsTest, ChoosingFromAFileTurnedFolderKeepsTheSwatchesAndOffersNoSave) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n16,20,Dezesseis\r\n");
    Choose(0);
    form.Opt_Click(2);
    const auto swatches = Swatches(model());
    fs::remove(dumpPath);
    fs::create_directory(dumpPath);
    Choose(1);
    ExpectOneMessage(services, Unreadable(dumpPath, EISDIR), 16);
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_EQ(model().OptSelected, 2);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 10");
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
}

} // namespace
} // namespace zandrel::testing
