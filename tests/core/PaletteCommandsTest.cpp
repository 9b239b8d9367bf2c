// Choosing a palette, saving it in place and reloading the list; and every way a save fails.
#include "OpenFormFixture.h"

namespace zandrel::testing {
namespace {

using PaletteCommandsTest = OpenFormTest;

constexpr const char* kAllOn = "Command2 cmdRecarrega cmdExibir cmdAmostra cmdImp cmdExp";

// Only the shown words go back, bit 15 clear, no other byte, the length kept.
TEST_F(PaletteCommandsTest, SavingWritesExactlyTheShownWordsAtTheLocation) {
    const std::vector<std::uint8_t> before = PatternBytes(0x400); // bit 7 set in many
    OpenDump(before, "4,11,P\r\n");
    model().Opt[3].selected = true;
    Choose(0);
    EXPECT_FALSE(model().Opt[3].selected);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(model().Opt[i].visible, i < 4) << i;
        if (i < 4) {
            EXPECT_EQ(model().Opt[i].backColor, WordToColor(StoredWord(before, 0x11 + 2 * i)));
        }
        // The odd swatches edited, hidden ones too; the even ones go back as read.
        if (i % 2)
            model().Opt[i].backColor = WordToColor(static_cast<ColorWord>(0x1234 + i));
    }
    form.Command2_Click();
    std::vector<std::uint8_t> expected = before;
    for (const std::size_t at : {0x11, 0x15})
        expected[at + 1] &= 0x7F;
    for (const auto& [at, low] : {std::pair{0x13, 0x35}, {0x17, 0x37}})
        expected[at] = static_cast<std::uint8_t>(low), expected[at + 1] = 0x12;
    EXPECT_EQ(ReadBytes(dumpPath), expected);
    ExpectOneMessage(services, "Paleta salva.", 64);
}

// The palette that ends with the file's last byte saves; one a word further is refused.
TEST_F(PaletteCommandsTest, BytesPastTheEndReadAsZeroAndSavingThereIsRefused) {
    std::vector<std::uint8_t> before(0x20, 0);
    before[0x1C] = 0xFF;
    before[0x1D] = 0x7F;
    before[0x1E] = 0x1F;
    OpenDump(before, "4,1C,Fim\r\n4,18,Último\r\n");
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

    services.messages.clear();
    Choose(1);
    model().Opt[3].backColor = 0xFFFFFF;
    form.Command2_Click();
    ExpectOneMessage(services, "Paleta salva.", 64);
    std::vector<std::uint8_t> after = before;
    after[0x1E] = 0xFF;
    after[0x1F] = 0x7F;
    EXPECT_EQ(ReadBytes(dumpPath), after);
}

// The byte viewer is for dumps only; a reload lists new rows, chooses none, keeps swatches.
TEST_F(PaletteCommandsTest, ChoosingEnablesThePaletteCommandsAndReloadDisablesThem) {
    OpenDump(PatternBytes(0x40), "4,0010,Quatro\r\n");
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    model().OptSelected = 2;
    model().lblColor.caption = "1C00";
    Choose(0);
    EXPECT_EQ(std::tie(model().OptSelected, model().lblColor.caption), std::tuple(-1, "1C00"));
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 0010"); // as the file writes it
    EXPECT_EQ(EnabledButtons(model()), kAllOn);

    form.Opt_Click(1);
    const auto swatches = Swatches(model());
    dir.WriteText("MEMORYDUMP.ZNDL", "4,10,Quatro\r\n2,20,Nova\r\n");
    form.cmdRecarrega_Click();
    EXPECT_EQ(model().lstColor.rows, (TextColumn{"10", "20"}));
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: ");
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");

    ShowGameLabel(form, "Some Game");
    model().cmdExibir.enabled = false;
    Choose(0);
    EXPECT_EQ(EnabledButtons(model()), "Command2 cmdRecarrega cmdAmostra cmdImp cmdExp");
    // A load that stopped, by the reload or the open, left SALVAR and the rest on with no row
    // chosen, acting on no palette; the special state's palette is no row, and keeps its export.
    dir.WriteText("MEMORYDUMP.ZNDL", "4,10,Quatro\r\nno comma\r\n");
    form.cmdRecarrega_Click();
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    ShowGameLabel(form, "MEMORY DUMP");
    Choose(0);
    ASSERT_EQ(EnabledButtons(model()), kAllOn);
    services.openAnswers = {dumpPath, dumpPath, dir.path().string()};
    form.Command1_Click(); // stops silently at the bad line
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    form.cmdSpecial_Click(); // a special state whose file cannot be read
    form.cmdSpecial_Click();
    EXPECT_EQ(EnabledButtons(model()), "cmdExp");
}

// Unchecked, these said "Paleta salva." for unwritten bytes or made a file where one was.
TEST_F(PaletteCommandsTest, SaveThatCannotWriteOrFlushSaysWhyAndIsNeverConfirmed) {
    // EACCES: a file marked read-only, refused even to root; EIO: written, flush fails.
    for (const int error : {ENOENT, EACCES, EIO}) {
        SCOPED_TRACE(error);
        services.messages.clear();
        OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n", "f" + std::to_string(error) + ".dmp");
        Choose(0);
        model().Opt[0].backColor = 0;
        if (error == ENOENT)
            fs::remove(dumpPath);
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
                             "\r\n\r\n" + SystemErrorText(error),
                         16);
        EXPECT_EQ(fs::exists(dumpPath), error != ENOENT); // never created
        if (error == EACCES) {
            EXPECT_EQ(ReadBytes(dumpPath), PatternBytes(0x40));
        }
        EXPECT_TRUE(model().Command2.enabled); // the edit may be saved again
    }
}

// A palette of no colours saves nothing. Choosing from a file turned folder keeps the
// swatches and offers no save: the old colours must never be saved at the new row's location.
TEST_F(PaletteCommandsTest, NoColoursOrAFileTurnedFolderSaveNothing) {
    OpenDump(PatternBytes(0x40), "0,10,Vazia\r\n4,10,Quatro\r\n16,20,Dezesseis\r\n");
    Choose(0);
    form.Command2_Click();
    ExpectOneMessage(services,
                     "\"" + dumpPath + "\": a paleta \"Vazia\" não tem cores (contagem \"0\")", 48);
    EXPECT_EQ(ReadBytes(dumpPath), PatternBytes(0x40));
    services.messages.clear();
    Choose(1);
    form.Opt_Click(2);
    const auto swatches = Swatches(model());
    fs::remove(dumpPath);
    fs::create_directory(dumpPath);
    Choose(2);
    ExpectOneMessage(services, Unreadable(dumpPath, EISDIR), 16);
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
}

} // namespace
} // namespace zandrel::testing
