#include <gtest/gtest.h>

#include <filesystem>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

// The colour a file's bytes at `offset` give, worked out here from the bit layout: low byte
// first, bit 15 dropped, 5-bit fields widened by 8.25.
RgbColor ColourOfBytes(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    const int low = offset < bytes.size() ? bytes[offset] : 0;
    const int high = offset + 1 < bytes.size() ? bytes[offset + 1] : 0;
    const int word = ((high & 0x7F) << 8) | low;
    const auto widen = [](int c) { return (c * 33) / 4; };
    return static_cast<RgbColor>(widen(word & 31) | widen((word >> 5) & 31) << 8 |
                                 widen((word >> 10) & 31) << 16);
}

class SpecialMode : public ::testing::Test {
  protected:
    SpecialMode() : form(app, services) {
        services.commandLine = "kaldrex";
        form.Form_Load();
        bytes = PatternBytes(0x400);
        rom = dir.Write("game.gba", bytes);
    }

    // Enters the special state on the ROM, typing `location` in the box.
    void Enter(const std::string& location) {
        services.openAnswers.push_back(rom);
        services.inputAnswers.push_back(location);
        form.cmdSpecial_Click();
    }

    void ExpectSwatchesAt(std::size_t location, const std::vector<std::uint8_t>& fileBytes) {
        for (std::size_t i = 0; i < 16; ++i) {
            SCOPED_TRACE("swatch " + std::to_string(i));
            EXPECT_EQ(form.model().Opt[i].backColor, ColourOfBytes(fileBytes, location + 2 * i));
            EXPECT_TRUE(form.model().Opt[i].visible);
        }
    }

    std::array<RgbColor, 16> SwatchColours() const {
        std::array<RgbColor, 16> colours{};
        for (std::size_t i = 0; i < 16; ++i)
            colours[i] = form.model().Opt[i].backColor;
        return colours;
    }

    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form;
    std::vector<std::uint8_t> bytes;
    std::string rom;
};

TEST_F(SpecialMode, EnteringSetsTheSpecialStateControls) {
    FormModel& m = form.model();
    // As a chosen palette of an opened game leaves them.
    m.lblGame.caption = "Some Game";
    m.List1.Assign({"Palette A", "Palette B"});
    m.lstColor.Assign({"100", "200"});
    m.lstCount.Assign({"16", "16"});
    m.List1.selected = 1;
    m.cmdRecarrega.enabled = true;
    m.Command2.enabled = true;
    m.cmdExibir.enabled = true;
    m.cmdAmostra.enabled = true;
    m.cmdImp.enabled = true;
    m.cmdExp.enabled = false;
    m.lblLocaliza.caption = "Localização: 200";
    m.Opt[12].visible = false;
    m.OptSelected = 4;

    Enter("1f0");

    ASSERT_EQ(services.dialogs.size(), 1u);
    EXPECT_EQ(services.dialogs[0].kind, "open");
    EXPECT_EQ(services.dialogs[0].title, "Abrir");
    EXPECT_EQ(services.dialogs[0].filter, "ROMs de GBA (*.gba)|*.gba");
    EXPECT_EQ(services.dialogs[0].defaultExt, "");
    EXPECT_EQ(services.inputPrompts, std::vector<std::string>{"Digite a localização HEX"});
    EXPECT_EQ(app.CurrentLocation, 0x1F0);
    EXPECT_EQ(m.lblLoc.caption, "1F0");
    EXPECT_EQ(m.lblGame.caption, "MODO ESPECIAL");
    EXPECT_EQ(m.txtArquivo.caption, rom);
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_TRUE(m.List1.rows.empty());
    EXPECT_EQ(m.lstColor.rows.size(), 2u); // the hidden lists are not cleared
    EXPECT_EQ(m.lstCount.rows.size(), 2u);
    EXPECT_EQ(m.lblLocaliza.caption, "Localização: ");
    EXPECT_TRUE(m.lblLoc.visible);
    EXPECT_TRUE(m.lblLocOpt.visible);
    EXPECT_EQ(m.lblLocOpt.caption, "000000"); // until a swatch is clicked
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_FALSE(m.cmdRecarrega.enabled);
    EXPECT_FALSE(m.Command2.enabled);
    EXPECT_FALSE(m.cmdExibir.enabled);
    EXPECT_FALSE(m.cmdAmostra.enabled);
    EXPECT_FALSE(m.cmdImp.enabled);
    EXPECT_TRUE(m.cmdExp.enabled);
    EXPECT_TRUE(m.Command1.enabled);
    EXPECT_TRUE(m.cmdSpecial.visible);
    EXPECT_EQ(m.OptSelected, 4); // reading does not change the selection
    ExpectSwatchesAt(0x1F0, bytes);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SpecialMode, CancelledFileDialogAsksNothingAndChangesNothing) {
    app.CurrentLocation = 0x40;
    form.cmdSpecial_Click();

    EXPECT_EQ(services.dialogs.size(), 1u);
    EXPECT_TRUE(services.inputPrompts.empty());
    EXPECT_EQ(app.CurrentLocation, 0x40);
    EXPECT_EQ(form.model().lblGame.caption, "...");
    EXPECT_TRUE(app.RomPath.empty());
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_FALSE(form.model().lblLoc.visible);
    EXPECT_EQ(form.model().Opt[0].backColor, kDefaultSwatchColor);
}

TEST_F(SpecialMode, CancelledLocationBoxReadsAtZero) {
    app.CurrentLocation = 0x40;
    services.openAnswers.push_back(rom); // no input answer: the box is cancelled
    form.cmdSpecial_Click();

    EXPECT_EQ(app.CurrentLocation, 0);
    EXPECT_EQ(form.model().lblLoc.caption, "0");
    ExpectSwatchesAt(0, bytes);
}

TEST_F(SpecialMode, TextThatIsNotHexReadsAtZero) {
    Enter(" 10");
    EXPECT_EQ(app.CurrentLocation, 0);
    EXPECT_EQ(form.model().lblLoc.caption, "0");
}

TEST_F(SpecialMode, OddLocationTakesLowByteFromTheOddOffset) {
    std::vector<std::uint8_t> file(64, 0);
    file[3] = 0x1F; // colour 0: low byte at 3, high at 4 -> 001F, pure red
    file[4] = 0x00;
    file[5] = 0xE0; // colour 1: bytes 5 and 6 -> 03E0, pure green
    file[6] = 0x03;
    file[7] = 0xFF; // colour 2: FF FF -> bit 15 dropped, 7FFF, white
    file[8] = 0xFF;
    file[9] = 0x00; // colour 3: 00 FC -> 7C00, pure blue
    file[10] = 0xFC;
    rom = dir.Write("odd.gba", file);

    Enter("3");

    EXPECT_EQ(form.model().Opt[0].backColor, 0x0000FFu);
    EXPECT_EQ(form.model().Opt[1].backColor, 0x00FF00u);
    EXPECT_EQ(form.model().Opt[2].backColor, 0xFFFFFFu);
    EXPECT_EQ(form.model().Opt[3].backColor, 0xFF0000u);
    EXPECT_EQ(form.model().Opt[4].backColor, 0u);
}

TEST_F(SpecialMode, BytesPastTheEndOfTheFileReadAsZero) {
    std::vector<std::uint8_t> file(21, 0xFF); // ends in the middle of colour 2
    file[20] = 0x1F;
    rom = dir.Write("short.gba", file);

    Enter("10");

    EXPECT_EQ(form.model().Opt[0].backColor, 0xFFFFFFu); // bytes 16 and 17
    EXPECT_EQ(form.model().Opt[1].backColor, 0xFFFFFFu); // bytes 18 and 19
    EXPECT_EQ(form.model().Opt[2].backColor, 0x0000FFu); // byte 20 is 1F, 21 missing: 001F
    for (std::size_t i = 3; i < 16; ++i)
        EXPECT_EQ(form.model().Opt[i].backColor, 0u) << i;
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SpecialMode, MissingFileEndsEnteringQuietlyKeepingTheStepsDone) {
    FormModel& m = form.model();
    m.List1.Assign({"Palette A"});
    m.cmdRecarrega.enabled = true;
    m.Command2.enabled = true;
    m.cmdExp.enabled = false;
    m.lblLocaliza.caption = "Localização: 100";
    const std::string missing = dir.File("gone.gba");
    services.openAnswers.push_back(missing);
    services.inputAnswers.push_back("20");

    form.cmdSpecial_Click();

    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(m.lblGame.caption, "MODO ESPECIAL");
    EXPECT_TRUE(m.List1.rows.empty());
    EXPECT_EQ(app.RomPath, missing);
    EXPECT_EQ(app.CurrentLocation, 0x20);
    // The later steps never ran.
    EXPECT_FALSE(m.lblLoc.visible);
    EXPECT_EQ(m.lblLoc.caption, "000000");
    EXPECT_EQ(m.lblLocaliza.caption, "Localização: 100");
    EXPECT_TRUE(m.cmdRecarrega.enabled);
    EXPECT_TRUE(m.Command2.enabled);
    EXPECT_FALSE(m.cmdExp.enabled);
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_EQ(m.Opt[0].backColor, kDefaultSwatchColor);
    EXPECT_FALSE(std::filesystem::exists(missing)); // nothing is created
}

TEST_F(SpecialMode, KeypadAddAndSubtractStep32Bytes) {
    Enter("1f0");

    form.SpecialAction(107);
    EXPECT_EQ(app.CurrentLocation, 0x210);
    EXPECT_EQ(form.model().lblLoc.caption, "210");
    ExpectSwatchesAt(0x210, bytes);

    form.SpecialAction(109);
    EXPECT_EQ(app.CurrentLocation, 0x1F0);
    EXPECT_EQ(form.model().lblLoc.caption, "1F0");
    ExpectSwatchesAt(0x1F0, bytes);

    form.SpecialAction(109);
    EXPECT_EQ(form.model().lblLoc.caption, "1D0");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SpecialMode, OtherKeyCodesDoNothingAtAll) {
    Enter("1f0");
    form.model().Opt[2].selected = true;
    const auto colours = SwatchColours();
    // A changed file shows whether anything was read again.
    dir.Write("game.gba", std::vector<std::uint8_t>(0x400, 0x55));

    for (const int key : {0, 27, 65, 106, 108, 110, 187, 189, -107, 107 + 256}) {
        SCOPED_TRACE(key);
        form.SpecialAction(key);
        EXPECT_EQ(app.CurrentLocation, 0x1F0);
        EXPECT_EQ(form.model().lblLoc.caption, "1F0");
        EXPECT_EQ(SwatchColours(), colours);
        EXPECT_TRUE(form.model().Opt[2].selected);
    }
}

// Stepping back from below 32 would read before the first byte of the file.
TEST_F(SpecialMode, SubtractStepBelow32IsRefused) {
    for (const auto& [typed, location, shown] :
         {std::tuple{"1f", 31, "1F"}, std::tuple{"1", 1, "1"}, std::tuple{"", 0, "0"}}) {
        SCOPED_TRACE(typed);
        rom = dir.Write("game.gba", bytes);
        Enter(typed);
        form.model().Opt[0].selected = true;
        const auto colours = SwatchColours();
        dir.Write("game.gba", std::vector<std::uint8_t>(0x400, 0x55));

        form.SpecialAction(109);

        EXPECT_EQ(app.CurrentLocation, location);
        EXPECT_EQ(form.model().lblLoc.caption, shown);
        EXPECT_EQ(SwatchColours(), colours);
        EXPECT_TRUE(form.model().Opt[0].selected);
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST_F(SpecialMode, SubtractStepFrom32ReachesZero) {
    Enter("20");
    form.SpecialAction(109);
    EXPECT_EQ(app.CurrentLocation, 0);
    EXPECT_EQ(form.model().lblLoc.caption, "0");
    ExpectSwatchesAt(0, bytes);
}

TEST_F(SpecialMode, AddStepPastTheLargestLocationIsRefused) {
    Enter("7fffffdf");
    form.SpecialAction(107);
    EXPECT_EQ(app.CurrentLocation, 0x7FFFFFFF);
    EXPECT_EQ(form.model().lblLoc.caption, "7FFFFFFF");
    EXPECT_EQ(form.model().Opt[0].backColor, 0u); // far past the end: zeros

    form.model().Opt[1].selected = true;
    form.SpecialAction(107);
    EXPECT_EQ(app.CurrentLocation, 0x7FFFFFFF);
    EXPECT_EQ(form.model().lblLoc.caption, "7FFFFFFF");
    EXPECT_TRUE(form.model().Opt[1].selected);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SpecialMode, StepClearsThePressedSwatchButKeepsLocOptAndSelection) {
    Enter("100");
    form.model().Opt[5].selected = true;
    form.model().OptSelected = 5;
    form.model().lblLocOpt.caption = "10A";
    form.model().StrColor = "1234";

    form.SpecialAction(107);

    for (const Swatch& swatch : form.model().Opt)
        EXPECT_FALSE(swatch.selected);
    EXPECT_EQ(form.model().OptSelected, 5);
    EXPECT_EQ(form.model().lblLocOpt.caption, "10A");
    EXPECT_EQ(form.model().StrColor, "1234");
}

TEST_F(SpecialMode, LocationLabelClickReadsTheTypedLocation) {
    Enter("1f0");
    form.model().Opt[7].selected = true;
    form.model().lblLocOpt.caption = "1FE";
    services.inputAnswers.push_back("2a1");

    form.lblLoc_Click();

    EXPECT_EQ(services.inputPrompts.back(), "Digite nova localização HEX");
    EXPECT_EQ(app.CurrentLocation, 0x2A1);
    EXPECT_EQ(form.model().lblLoc.caption, "2A1");
    ExpectSwatchesAt(0x2A1, bytes);
    EXPECT_FALSE(form.model().Opt[7].selected);
    EXPECT_EQ(form.model().lblLocOpt.caption, "1FE");
}

TEST_F(SpecialMode, LocationLabelClickWithZeroOrCancelChangesNothing) {
    Enter("1f0");
    form.model().Opt[3].selected = true;
    const auto colours = SwatchColours();
    dir.Write("game.gba", std::vector<std::uint8_t>(0x400, 0x55));

    // A typed 0, a cancel, text with a blank, and a sign all give 0.
    for (const char* typed : {"0", "", "00", " 10", "-5"}) {
        SCOPED_TRACE(typed);
        services.inputAnswers.push_back(typed);
        form.lblLoc_Click();
        EXPECT_EQ(app.CurrentLocation, 0x1F0);
        EXPECT_EQ(form.model().lblLoc.caption, "1F0");
        EXPECT_EQ(SwatchColours(), colours);
        EXPECT_TRUE(form.model().Opt[3].selected);
    }
}

TEST_F(SpecialMode, LocationLabelClickOutsideTheSpecialStateAsksNothing) {
    form.model().lblGame.caption = "Some Game";
    form.model().lblLoc.caption = "000000";
    services.inputAnswers.push_back("100");

    form.lblLoc_Click();

    EXPECT_TRUE(services.inputPrompts.empty());
    EXPECT_EQ(app.CurrentLocation, 0);
    EXPECT_EQ(form.model().lblLoc.caption, "000000");
}

// Stepping or typing a location after the file has gone: a critical box naming the file,
// and the location, the label and the swatches stay as they were.
TEST_F(SpecialMode, VanishedFileIsReportedAndTheLocationKept) {
    Enter("1f0");
    form.model().Opt[1].selected = true;
    const auto colours = SwatchColours();
    std::filesystem::remove(rom);

    form.SpecialAction(107);
    services.inputAnswers.push_back("300");
    form.lblLoc_Click();

    ASSERT_EQ(services.messages.size(), 2u);
    for (const ShownMessage& message : services.messages) {
        EXPECT_EQ(message.style, 16);
        EXPECT_EQ(message.title, "Zandrel");
        EXPECT_EQ(message.text.rfind("Não foi possível ler o arquivo \"" + rom + "\".", 0), 0u)
            << message.text;
    }
    EXPECT_EQ(app.CurrentLocation, 0x1F0);
    EXPECT_EQ(form.model().lblLoc.caption, "1F0");
    EXPECT_EQ(SwatchColours(), colours);
    EXPECT_TRUE(form.model().Opt[1].selected);
    EXPECT_FALSE(std::filesystem::exists(rom));

    // Once the file is back, stepping goes on from where it was.
    dir.Write("game.gba", bytes);
    form.SpecialAction(107);
    EXPECT_EQ(form.model().lblLoc.caption, "210");
}

} // namespace
