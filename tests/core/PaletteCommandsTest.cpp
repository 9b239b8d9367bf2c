#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "OpenFormFixture.h"
#include "platform/Failure.h"
#include "platform/FileFaults.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

using PaletteCommandsTest = OpenFormTest;

// Choosing shows the count's words (bit 15 dropped) and hides the other swatches; saving
// writes exactly those words back, bit 15 clear, and no other byte.
TEST_F(PaletteCommandsTest, ChoosingShowsTheCountsWordsAndSavingWritesExactlyThem) {
    struct Case {
        const char* definition;
        std::size_t location;
        std::size_t shown;
    };
    for (const Case c : {Case{"16,1A0,P", 0x1A0, 16},
                         {"4,10,P", 0x10, 4},
                         {"20,10,P", 0x10, 16},
                         {"0,10,P", 0x10, 0}}) {
        SCOPED_TRACE(c.definition);
        services.messages.clear();
        // The pattern sets bit 7 of many high bytes.
        const std::vector<std::uint8_t> before = PatternBytes(0x400);
        OpenDump(before, std::string(c.definition) + "\r\n");
        for (Swatch& swatch : model().Opt)
            swatch.selected = true;
        Choose(0);
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(model().Opt[i].visible, i < c.shown) << i;
            EXPECT_FALSE(model().Opt[i].selected) << i;
            if (i < c.shown) {
                EXPECT_EQ(model().Opt[i].backColor,
                          WordToColor(StoredWord(before, c.location + 2 * i)))
                    << i;
            }
        }

        // The odd swatches edited, hidden ones too; the even ones are written back as read.
        for (std::size_t i = 1; i < 16; i += 2)
            model().Opt[i].backColor = WordToColor(static_cast<ColorWord>(0x1234 + i));
        form.Command2_Click();

        std::vector<std::uint8_t> expected = before;
        for (std::size_t i = 0; i < c.shown; ++i) {
            const std::size_t at = c.location + 2 * i;
            if (i % 2 == 0) {
                expected[at + 1] &= 0x7F;
            } else {
                expected[at] = static_cast<std::uint8_t>(0x34 + i);
                expected[at + 1] = 0x12;
            }
        }
        EXPECT_EQ(ReadBytes(dumpPath), expected);
        if (c.shown > 0) {
            ExpectOneMessage(services, "Paleta salva.", 64);
        }
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
    EXPECT_TRUE(model().Opt[3].visible);

    form.Command2_Click();

    ExpectOneMessage(services,
                     "A paleta de 8 bytes na localização 1C (hex) passa do fim do arquivo \"" +
                         dumpPath +
                         "\", que tem 32 bytes. Nada foi gravado, para não mudar o tamanho do "
                         "arquivo.",
                     16);
    EXPECT_EQ(ReadBytes(dumpPath), before);
}

TEST_F(PaletteCommandsTest, ChoosingAPaletteEnablesItsCommandsAndLeavesTheWorkingColour) {
    OpenDump(PatternBytes(0x40), "4,0010,Quatro\r\n");
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    model().OptSelected = 2;
    model().BlueScroll = 7;
    model().Picture1 = 0x123456;
    model().lblColor.caption = "1C00";

    Choose(0);

    EXPECT_EQ(model().OptSelected, -1);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 0010"); // as the file writes it
    EXPECT_EQ(EnabledButtons(model()), "Command2 cmdRecarrega cmdExibir cmdAmostra cmdImp cmdExp");
    // The working colour waits for a swatch click.
    EXPECT_EQ(model().BlueScroll, 7);
    EXPECT_EQ(model().Picture1, 0x123456u);
    EXPECT_EQ(model().lblColor.caption, "1C00");
    EXPECT_TRUE(services.messages.empty());

    // The byte viewer is for memory dumps only.
    ShowGameLabel(form, "Some Game");
    model().cmdExibir.enabled = false;
    Choose(0);
    EXPECT_EQ(EnabledButtons(model()), "Command2 cmdRecarrega cmdAmostra cmdImp cmdExp");
}

TEST_F(PaletteCommandsTest, ReloadShowsNewEntriesAndKeepsTheSwatches) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
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
    EXPECT_FALSE(model().lblLoc.visible);
    EXPECT_FALSE(model().lblLocOpt.visible);
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    EXPECT_TRUE(services.messages.empty());
}

// A failed reload names the file (the broken lines are in FaultTest); nothing after the load
// runs.
TEST_F(PaletteCommandsTest, ReloadOfAVanishedDefinitionFileNamesItAndKeepsTheControls) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
    model().lblLoc.visible = true;
    fs::remove(dir.File("MEMORYDUMP.ZNDL"));

    form.cmdRecarrega_Click();

    EXPECT_TRUE(model().List1.rows.empty());
    ExpectOneMessage(services,
                     "Não foi possível ler o arquivo de definições \"MEMORYDUMP.ZNDL\".\r\n\r\n" +
                         std::string(std::strerror(ENOENT)),
                     16);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 10");
    EXPECT_TRUE(model().lblLoc.visible);
    EXPECT_EQ(EnabledButtons(model()), "Command2 cmdRecarrega cmdExibir cmdAmostra cmdImp cmdExp");
}

// Unchecked, these would report "Paleta salva." for bytes never written, or create a file
// where the ROM used to be.
TEST_F(PaletteCommandsTest, SaveThatCannotWriteSaysWhyAndChangesNothing) {
    struct Case {
        const char* name;
        int error;
        std::function<void(const std::string&)> apply;
    };
    const Case cases[] = {
        {"vanished.dmp", ENOENT, [](const std::string& path) { fs::remove(path); }},
        {"folder.dmp", EISDIR,
         [](const std::string& path) {
             fs::remove(path);
             fs::create_directory(path);
         }},
        {"read-only.dmp", EACCES,
         [](const std::string& path) {
             fs::permissions(path, fs::perms::owner_read | fs::perms::group_read |
                                       fs::perms::others_read);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        const std::vector<std::uint8_t> before = PatternBytes(0x40);
        OpenDump(before, "4,10,Quatro\r\n", c.name);
        Choose(0);
        model().Opt[0].backColor = 0;
        c.apply(dumpPath);
        const bool existed = fs::exists(dumpPath);

        form.Command2_Click();

        ExpectOneMessage(services,
                         "Não foi possível gravar no arquivo \"" + dumpPath +
                             "\". Nada foi alterado.\r\n\r\n" + std::strerror(c.error),
                         16);
        EXPECT_EQ(fs::exists(dumpPath), existed);
        if (fs::is_regular_file(dumpPath)) {
            EXPECT_EQ(ReadBytes(dumpPath), before);
        }
    }
}

// A flush the disk refuses: the save says why and never "Paleta salva."; the export ends
// quietly, as it does on its other failures.
// A flush that failed was reported as "Nada foi alterado." though the bytes had been written.
TEST_F(PaletteCommandsTest, AFlushThatFailsIsNeitherConfirmedNorCalledAChangeOfNothing) {
    OpenDump(PatternBytes(0x40), "16,0,P\r\n");
    Choose(0);
    const ScopedSyncFaultForTesting fault(EIO);

    form.Command2_Click();
    ExpectOneMessage(services,
                     "A gravação no arquivo \"" + dumpPath +
                         "\" começou, mas não pôde ser concluída: o arquivo pode ter sido "
                         "alterado. Confira-o antes de usá-lo.\r\n\r\n" +
                         std::strerror(EIO),
                     16);

    services.messages.clear();
    const Failure failure = form.ExportPaletteFile(dir.File("out.gbapal"), PaletteFormat::GbaRaw);
    EXPECT_EQ(failure.io.error, FileError::SyncFailed);
    EXPECT_TRUE(services.messages.empty());
}

// A save with a count of no colours wrote nothing and still said "Paleta salva.".
TEST_F(PaletteCommandsTest, SaveOfAPaletteWithNoColoursIsNotConfirmedAsSaved) {
    OpenDump(PatternBytes(0x40), "0,10,Vazia\r\n");
    Choose(0);
    form.Command2_Click();
    ExpectOneMessage(services,
                     "\"" + dumpPath + "\": a paleta \"Vazia\" não tem cores (contagem \"0\")", 48);
    EXPECT_EQ(ReadBytes(dumpPath), PatternBytes(0x40));
}

TEST_F(PaletteCommandsTest, ChoosingFromAVanishedFileKeepsTheSwatchesAndOffersNoSave) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n16,20,Dezesseis\r\n");
    Choose(0);
    form.Opt_Click(2);
    const auto swatches = Swatches(model());
    fs::remove(dumpPath);

    Choose(1);

    ExpectOneMessage(
        services,
        "Não foi possível ler o arquivo \"" + dumpPath + "\".\r\n\r\n" + std::strerror(ENOENT), 16);
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_EQ(model().OptSelected, 2);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 10");
    // The old colours must not be saved at the new row's location.
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    EXPECT_FALSE(fs::exists(dumpPath));
}

} // namespace
} // namespace zandrel::testing
