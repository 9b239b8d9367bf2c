#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "OpenFormFixture.h"
#include "app/Errors.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

const std::string kReadFailed = "Não foi possível ler o arquivo \"";
const std::string kWriteFailed = "Não foi possível gravar no arquivo \"";

ColorWord StoredWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<ColorWord>(bytes[offset] | (bytes[offset + 1] & 0x7F) << 8);
}

void ExpectMessage(const FakeServices& services, const std::string& text, int style) {
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, text);
    EXPECT_EQ(services.messages[0].style, style);
    EXPECT_EQ(services.messages[0].title, "Zandrel");
}

using PaletteCommandsTest = OpenFormTest;

TEST_F(PaletteCommandsTest, SixteenColoursAt1A0ReadAndSaveExactlyTheirBytes) {
    const std::vector<std::uint8_t> before = PatternBytes(0x400);
    OpenDump(before, "16,1A0,Dezesseis\r\n");
    Choose(0);

    for (std::size_t i = 0; i < 16; ++i) {
        // The pattern sets bit 7 of many high bytes: bit 15 never reaches the colour.
        EXPECT_EQ(model().Opt[i].backColor, WordToColor(StoredWord(before, 0x1A0 + 2 * i))) << i;
        EXPECT_TRUE(model().Opt[i].visible);
    }
    model().Opt[3].backColor = WordToColor(0x1234);
    form.Command2_Click();

    ExpectMessage(services, "Paleta salva.", 64);
    std::vector<std::uint8_t> expected = before;
    for (std::size_t i = 0; i < 16; ++i)
        expected[0x1A0 + 2 * i + 1] &= 0x7F; // written with bit 15 clear
    expected[0x1A6] = 0x34;
    expected[0x1A7] = 0x12;
    EXPECT_EQ(ReadBytes(dumpPath), expected);
}

TEST_F(PaletteCommandsTest, FourColoursShowFourSwatchesAndSaveEightBytes) {
    const std::vector<std::uint8_t> before = PatternBytes(0x40);
    OpenDump(before, "4,10,Quatro\r\n");
    for (Swatch& swatch : model().Opt)
        swatch.selected = true;
    Choose(0);

    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(model().Opt[i].visible, i < 4) << i;
        EXPECT_FALSE(model().Opt[i].selected) << i;
    }
    for (Swatch& swatch : model().Opt)
        swatch.backColor = 0xFFFFFF;
    form.Command2_Click();

    std::vector<std::uint8_t> expected = before;
    for (std::size_t k = 0x10; k < 0x18; k += 2) {
        expected[k] = 0xFF;
        expected[k + 1] = 0x7F;
    }
    EXPECT_EQ(ReadBytes(dumpPath), expected);
    ExpectMessage(services, "Paleta salva.", 64);
}

TEST_F(PaletteCommandsTest, UneditedSaveChangesOnlyBit15) {
    std::vector<std::uint8_t> before(0x20, 0);
    before[0x00] = 0x1F;
    before[0x01] = 0x80; // bit 15 set on a red word
    before[0x02] = 0xFF;
    before[0x03] = 0x7F;
    OpenDump(before, "2,0,Dois\r\n");
    Choose(0);
    EXPECT_EQ(model().Opt[0].backColor, 0x0000FFu);
    EXPECT_EQ(model().Opt[1].backColor, 0xFFFFFFu);

    form.Command2_Click();
    std::vector<std::uint8_t> expected = before;
    expected[0x01] = 0x00;
    EXPECT_EQ(ReadBytes(dumpPath), expected);
}

TEST_F(PaletteCommandsTest, BytesPastTheEndReadAsZeroAndSavingThereIsRefused) {
    std::vector<std::uint8_t> before(0x20, 0);
    before[0x1C] = 0xFF;
    before[0x1D] = 0x7F;
    before[0x1E] = 0x1F;
    OpenDump(before, "4,1C,Fim\r\n");
    Choose(0);
    EXPECT_EQ(model().Opt[0].backColor, 0xFFFFFFu);
    EXPECT_EQ(model().Opt[1].backColor, 0x0000FFu);
    EXPECT_EQ(model().Opt[2].backColor, 0u);
    EXPECT_EQ(model().Opt[3].backColor, 0u);
    EXPECT_TRUE(model().Opt[3].visible);

    form.Command2_Click();
    ExpectMessage(services,
                  "A paleta na localização 1C (8 bytes) passa do fim do arquivo \"" + dumpPath +
                      "\", que tem 32 bytes. Nada foi gravado, para não mudar o tamanho do "
                      "arquivo.",
                  16);
    EXPECT_EQ(ReadBytes(dumpPath), before);
}

TEST_F(PaletteCommandsTest, CountAbove16UsesSixteenAndZeroUsesNone) {
    const std::vector<std::uint8_t> before = PatternBytes(0x60);
    OpenDump(before, "20,10,Vinte\r\n0,10,Zero\r\n");
    Choose(0);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_TRUE(model().Opt[i].visible) << i;
    for (Swatch& swatch : model().Opt)
        swatch.backColor = 0;
    form.Command2_Click();
    std::vector<std::uint8_t> expected = before;
    std::fill(expected.begin() + 0x10, expected.begin() + 0x30, 0);
    EXPECT_EQ(ReadBytes(dumpPath), expected);

    Choose(1);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_FALSE(model().Opt[i].visible) << i;
    for (Swatch& swatch : model().Opt)
        swatch.backColor = 0xFFFFFF;
    form.Command2_Click();
    EXPECT_EQ(ReadBytes(dumpPath), expected);
}

TEST_F(PaletteCommandsTest, ChoosingAPaletteSetsTheControls) {
    OpenDump(PatternBytes(0x40), "4,0010,Quatro\r\n");
    EXPECT_FALSE(model().Command2.enabled);
    EXPECT_TRUE(model().cmdRecarrega.enabled);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: ");
    model().OptSelected = 2;
    model().BlueScroll = 7;
    model().Picture1 = 0x123456;
    model().lblColor.caption = "1C00";

    Choose(0);

    EXPECT_EQ(model().OptSelected, -1);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 0010"); // as the file writes it
    EXPECT_TRUE(model().Command2.enabled);
    EXPECT_TRUE(model().cmdExibir.enabled); // a memory dump
    EXPECT_TRUE(model().cmdAmostra.enabled);
    EXPECT_TRUE(model().cmdImp.enabled);
    EXPECT_TRUE(model().cmdExp.enabled);
    EXPECT_TRUE(model().cmdRecarrega.enabled);
    // The working colour waits for a swatch click.
    EXPECT_EQ(model().BlueScroll, 7);
    EXPECT_EQ(model().Picture1, 0x123456u);
    EXPECT_EQ(model().lblColor.caption, "1C00");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PaletteCommandsTest, ChoosingAPaletteOfAGameLeavesTheByteViewerAsItWas) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    model().lblGame.caption = "Some Game";
    Choose(0);
    EXPECT_FALSE(model().cmdExibir.enabled);
    EXPECT_TRUE(model().Command2.enabled);
}

TEST_F(PaletteCommandsTest, ReloadShowsNewEntriesAndKeepsTheSwatches) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
    model().Opt[1].backColor = 0xFF0000;
    model().OptSelected = 1;
    model().lblLoc.visible = true;
    model().lblLocOpt.visible = true;
    dir.WriteText("MEMORYDUMP.ZNDL", "4,10,Quatro\r\n2,20,Nova\r\n");

    form.cmdRecarrega_Click();

    EXPECT_EQ(model().List1.rows, (std::vector<std::string>{"Quatro", "Nova"}));
    EXPECT_EQ(model().lstColor.rows, (std::vector<std::string>{"10", "20"}));
    EXPECT_EQ(model().lstCount.rows, (std::vector<std::string>{"4", "2"}));
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_EQ(model().Opt[1].backColor, 0xFF0000u);
    EXPECT_TRUE(model().Opt[3].visible);
    EXPECT_FALSE(model().Opt[4].visible);
    EXPECT_EQ(model().OptSelected, 1);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: ");
    EXPECT_FALSE(model().lblLoc.visible);
    EXPECT_FALSE(model().lblLocOpt.visible);
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_FALSE(model().Command2.enabled);
    EXPECT_FALSE(model().cmdExibir.enabled);
    EXPECT_FALSE(model().cmdAmostra.enabled);
    EXPECT_FALSE(model().cmdImp.enabled);
    EXPECT_FALSE(model().cmdExp.enabled);
    EXPECT_TRUE(model().cmdRecarrega.enabled);
    EXPECT_TRUE(services.messages.empty());
}

struct ReloadFailureCase {
    const char* name;
    const char* definitions; // nullptr: the definition file is gone
    std::vector<std::string> names;
    std::string message;
};

class ReloadFailureTest : public OpenFormTest,
                          public ::testing::WithParamInterface<ReloadFailureCase> {};

TEST_P(ReloadFailureTest, ListsStopAtTheLineAndTheMessageNamesIt) {
    const ReloadFailureCase& c = GetParam();
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
    model().lblLoc.visible = true;
    if (c.definitions)
        dir.WriteText("MEMORYDUMP.ZNDL", c.definitions);
    else
        fs::remove(dir.File("MEMORYDUMP.ZNDL"));

    form.cmdRecarrega_Click();

    EXPECT_EQ(model().List1.rows, c.names);
    const std::string message =
        c.message.empty() ? "Não foi possível ler o arquivo de definições \"MEMORYDUMP.ZNDL\".\r\n"
                            "\r\n" +
                                std::string(std::strerror(ENOENT))
                          : c.message;
    ExpectMessage(services, message, 16);
    // The steps after the load did not run.
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 10");
    EXPECT_TRUE(model().lblLoc.visible);
    EXPECT_TRUE(model().Command2.enabled);
    EXPECT_TRUE(model().cmdExp.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Reload, ReloadFailureTest,
    ::testing::Values(
        ReloadFailureCase{"Missing", nullptr, {}, ""},
        ReloadFailureCase{"NoComma",
                          "4,10,A\r\nquebrada\r\n4,20,C\r\n",
                          {"A"},
                          "Arquivo de definições \"MEMORYDUMP.ZNDL\", linha 2: a linha não tem "
                          "vírgula (esperado: cores,localização,nome). A lista foi carregada até "
                          "a linha anterior."},
        ReloadFailureCase{"OneComma",
                          "; comentário\r\n4,10,A\r\n4,20\r\n",
                          {"A", "20"},
                          "Arquivo de definições \"MEMORYDUMP.ZNDL\", linha 3: a linha tem só "
                          "uma vírgula (esperado: cores,localização,nome). A lista foi carregada "
                          "até a linha anterior."}),
    [](const ::testing::TestParamInfo<ReloadFailureCase>& info) { return info.param.name; });

TEST_F(PaletteCommandsTest, ReloadOfMoreThan32767EntriesStopsThere) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    std::string definitions;
    for (int k = 0; k < 32768; ++k)
        definitions += "1,0,P\r\n";
    dir.WriteText("MEMORYDUMP.ZNDL", definitions);

    form.cmdRecarrega_Click();

    EXPECT_EQ(model().List1.rows.size(), 32767u);
    ExpectMessage(services,
                  "Arquivo de definições \"MEMORYDUMP.ZNDL\", linha 32768: o arquivo tem mais de "
                  "32767 paletas. A lista foi carregada até a linha anterior.",
                  16);
}

// The failures below would, unchecked, report "Paleta salva." for bytes never written or
// create a file where the ROM used to be.
TEST_F(PaletteCommandsTest, SaveToAVanishedFileCreatesNothingAndSaysWhy) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
    fs::remove(dumpPath);

    form.Command2_Click();

    ExpectMessage(
        services,
        kWriteFailed + dumpPath + "\". Nada foi alterado.\r\n\r\n" + std::strerror(ENOENT), 16);
    EXPECT_FALSE(fs::exists(dumpPath));
}

TEST_F(PaletteCommandsTest, SaveToAFolderFailsWithItsReason) {
    OpenDump(PatternBytes(0x40), "4,10,Quatro\r\n");
    Choose(0);
    fs::remove(dumpPath);
    fs::create_directory(dumpPath);

    form.Command2_Click();

    ExpectMessage(
        services,
        kWriteFailed + dumpPath + "\". Nada foi alterado.\r\n\r\n" + std::strerror(EISDIR), 16);
}

TEST_F(PaletteCommandsTest, SaveToAReadOnlyFileChangesNothing) {
    const std::vector<std::uint8_t> before = PatternBytes(0x40);
    OpenDump(before, "4,10,Quatro\r\n");
    Choose(0);
    fs::permissions(dumpPath,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    model().Opt[0].backColor = 0;

    form.Command2_Click();

    ExpectMessage(
        services,
        kWriteFailed + dumpPath + "\". Nada foi alterado.\r\n\r\n" + std::strerror(EACCES), 16);
    EXPECT_EQ(ReadBytes(dumpPath), before);
}

TEST_F(PaletteCommandsTest, ExportWriteFailureIsNotReportedAsSaved) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const Failure failure = form.WritePaletteWords("/dev/full", "0", 16, true);
    EXPECT_EQ(failure.result, Result::CannotWrite);
    EXPECT_EQ(failure.io.systemError, ENOSPC);
    // The export ends quietly on it, as it does for its other formats.
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PaletteCommandsTest, RawExportWritesExactly32BytesAndNamesTheFile) {
    for (std::size_t i = 0; i < 16; ++i)
        model().Opt[i].backColor = WordToColor(static_cast<ColorWord>(0x0421 * (i % 8) + i));
    // An existing longer file is emptied first.
    const std::string path = dir.Write("paleta.GBAPAL", PatternBytes(100));

    const Failure failure = form.WritePaletteWords(path, "0", 16, true);

    EXPECT_TRUE(failure.ok());
    std::vector<std::uint8_t> expected;
    for (std::size_t i = 0; i < 16; ++i) {
        const auto word = static_cast<ColorWord>(0x0421 * (i % 8) + i);
        expected.push_back(static_cast<std::uint8_t>(word & 0xFF));
        expected.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    EXPECT_EQ(ReadBytes(path), expected);
    ExpectMessage(services, "Paleta salva.\r\n\r\n" + path, 64);

    // A new name is created.
    services.messages.clear();
    const std::string fresh = dir.File("nova.GBAPAL");
    EXPECT_TRUE(form.WritePaletteWords(fresh, "0", 16, true).ok());
    EXPECT_EQ(ReadBytes(fresh), expected);
}

TEST_F(PaletteCommandsTest, ChoosingFromAVanishedFileKeepsTheSwatchesAndOffersNoSave) {
    const std::vector<std::uint8_t> bytes = PatternBytes(0x40);
    OpenDump(bytes, "4,10,Quatro\r\n16,20,Dezesseis\r\n");
    Choose(0);
    model().OptSelected = 2;
    model().Opt[2].selected = true;
    const std::array<Swatch, 16> before = model().Opt;
    fs::remove(dumpPath);

    Choose(1);

    ExpectMessage(services, kReadFailed + dumpPath + "\".\r\n\r\n" + std::strerror(ENOENT), 16);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(model().Opt[i].backColor, before[i].backColor) << i;
        EXPECT_EQ(model().Opt[i].visible, before[i].visible) << i;
        EXPECT_EQ(model().Opt[i].selected, before[i].selected) << i;
    }
    EXPECT_EQ(model().OptSelected, 2);
    EXPECT_EQ(model().lblLocaliza.caption, "Localização: 10");
    // The old colours must not be saved at the new row's location.
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_FALSE(model().Command2.enabled);
    EXPECT_FALSE(model().cmdExp.enabled);
    EXPECT_FALSE(fs::exists(dumpPath));
}

TEST_F(PaletteCommandsTest, EditAndSaveChangesExactlyTheEditedWord) {
    const std::vector<std::uint8_t> before(0x100, 0x11);
    OpenDump(before, "16,40,Paleta\r\n");
    Choose(0);
    form.Opt_Click(5);
    form.SetSliderValue(SliderId::Red, 31);
    form.Command2_Click();

    std::vector<std::uint8_t> expected = before;
    const ColorWord word = 0x1111 | 0x1F; // green and blue stay, red at the top
    expected[0x4A] = static_cast<std::uint8_t>(word & 0xFF);
    expected[0x4B] = static_cast<std::uint8_t>(word >> 8);
    EXPECT_EQ(ReadBytes(dumpPath), expected);
    ExpectMessage(services, "Paleta salva.", 64);
}

} // namespace
} // namespace zandrel::testing
