#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "OpenFormFixture.h"
#include "rom/PaletteScanner.h"

namespace zandrel::testing {
namespace {

class SpecialMode : public ::testing::Test {
  protected:
    SpecialMode() : form(app, services) {
        services.commandLine = "kaldrex";
        form.Form_Load();
    }

    // Enters the special state on the ROM, typing `location` in the box (nullptr cancels it).
    void Enter(const char* location) {
        services.openAnswers.push_back(rom);
        if (location != nullptr)
            services.inputAnswers.push_back(location);
        form.cmdSpecial_Click();
    }

    // The swatches show the sixteen words at `location` of `fileBytes`.
    void ExpectSwatchesAt(std::size_t location, const std::vector<std::uint8_t>& fileBytes) {
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(model().Opt[i].backColor,
                      WordToColor(StoredWord(fileBytes, location + 2 * i)))
                << i;
            EXPECT_TRUE(model().Opt[i].visible) << i;
        }
    }

    FormModel& model() { return form.model(); }

    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form;
    const std::vector<std::uint8_t> bytes = PatternBytes(0x400);
    std::string rom = dir.Write("game.gba", bytes);
};

TEST_F(SpecialMode, EnteringSetsTheSpecialStateControls) {
    FormModel& m = model();
    // As a chosen palette of an opened game leaves them.
    ShowGameLabel(form, "Some Game");
    m.List1.Assign({"Palette A", "Palette B"});
    m.lstColor.Assign({"100", "200"});
    m.lstCount.Assign({"16", "16"});
    m.List1.selected = 1;
    m.cmdRecarrega.enabled = m.Command2.enabled = m.cmdExibir.enabled = true;
    m.cmdAmostra.enabled = m.cmdImp.enabled = true;
    m.cmdExp.enabled = false;
    m.lblLocaliza.caption = "Localização: 200";
    m.Opt[12].visible = false;
    m.OptSelected = 4;

    Enter("1f0");

    ExpectOneDialog(services, "open", "Abrir", "ROMs de GBA (*.gba)|*.gba");
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
    EXPECT_EQ(EnabledButtons(m), "cmdExp");
    EXPECT_TRUE(m.Command1.enabled);
    EXPECT_TRUE(m.cmdSpecial.visible);
    EXPECT_EQ(m.OptSelected, 4); // reading does not change the selection
    ExpectSwatchesAt(0x1F0, bytes);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SpecialMode, ACancelledOrNonHexLocationReadsAtZero) {
    for (const char* typed : {static_cast<const char*>(nullptr), " 10", "-5", "&H10"}) {
        SCOPED_TRACE(typed ? typed : "cancelled");
        app.CurrentLocation = 0x40;
        Enter(typed);
        EXPECT_EQ(app.CurrentLocation, 0);
        EXPECT_EQ(model().lblLoc.caption, "0");
        ExpectSwatchesAt(0, bytes);
    }
}

// The comment on entering said that text that is not hex gives location 0; HexToNumber reads
// letters past F as digits.
TEST_F(SpecialMode, LettersPastFAreReadAsDigitsNotAsLocationZero) {
    Enter("zz"); // 35 * 16 + 35
    EXPECT_EQ(app.CurrentLocation, 0x253);
    EXPECT_EQ(model().lblLoc.caption, "253");
    ExpectSwatchesAt(0x253, bytes);
}

TEST_F(SpecialMode, CancelledFileDialogAsksNothingAndChangesNothing) {
    app.CurrentLocation = 0x40;
    form.cmdSpecial_Click();

    EXPECT_EQ(services.dialogs.size(), 1u);
    EXPECT_TRUE(services.inputPrompts.empty());
    EXPECT_EQ(app.CurrentLocation, 0x40);
    EXPECT_EQ(model().lblGame.caption, "...");
    EXPECT_TRUE(app.RomPath.empty());
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_FALSE(model().lblLoc.visible);
    EXPECT_EQ(model().Opt[0].backColor, kDefaultSwatchColor);
}

TEST_F(SpecialMode, OddLocationTakesTheLowByteThereAndBytesPastTheEndReadAsZero) {
    std::vector<std::uint8_t> file(22, 0);
    file[11] = 0x1F; // colour 0: bytes 11 and 12 -> 001F, pure red
    file[13] = 0xE0; // colour 1: 03E0, pure green
    file[14] = 0x03;
    file[15] = 0xFF; // colour 2: FF FF -> bit 15 dropped, 7FFF, white
    file[16] = 0xFF;
    file[18] = 0xFC; // colour 3: 7C00, pure blue
    file[21] = 0x1F; // colour 5: byte 21 is the last, 22 is missing -> 001F
    rom = dir.Write("odd.gba", file);

    Enter("b");

    const RgbColor expected[16] = {0x0000FF, 0x00FF00, 0xFFFFFF, 0xFF0000, 0, 0x0000FF};
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(model().Opt[i].backColor, expected[i]) << i;
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SpecialMode, MissingFileEndsEnteringQuietlyKeepingTheStepsDone) {
    FormModel& m = model();
    m.List1.Assign({"Palette A"});
    m.cmdRecarrega.enabled = m.Command2.enabled = true;
    m.cmdExp.enabled = false;
    m.lblLocaliza.caption = "Localização: 100";
    rom = dir.File("gone.gba");

    Enter("20");

    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(m.lblGame.caption, "MODO ESPECIAL");
    EXPECT_TRUE(m.List1.rows.empty());
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_EQ(app.CurrentLocation, 0x20);
    // The later steps never ran.
    EXPECT_FALSE(m.lblLoc.visible);
    EXPECT_EQ(m.lblLoc.caption, "000000");
    EXPECT_EQ(m.lblLocaliza.caption, "Localização: 100");
    EXPECT_EQ(EnabledButtons(m), "Command2 cmdRecarrega");
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_EQ(m.Opt[0].backColor, kDefaultSwatchColor);
    EXPECT_FALSE(std::filesystem::exists(rom)); // nothing is created
}

// The keypad's plus and minus step 32 bytes and a click on the location label reads a typed
// one. A move reads the file again and releases the pressed swatch, keeping the selection,
// its offset and the working colour; a refused one changes and reads nothing.
TEST_F(SpecialMode, StepsAndTypedLocationsMoveOrAreRefused) {
    constexpr int kLabel = 0; // a click on the location label, typing `typed`
    constexpr std::int32_t kRefused = -1;
    const struct {
        const char* start;
        int key;
        const char* typed;
        std::int32_t to;
    } cases[] = {
        {"1f0", kKeyAdd, "", 0x210},
        {"1f0", kKeySubtract, "", 0x1D0},
        {"20", kKeySubtract, "", 0},
        // Below 32 a step back would read before the first byte.
        {"1f", kKeySubtract, "", kRefused},
        {"1", kKeySubtract, "", kRefused},
        {"", kKeySubtract, "", kRefused},
        {"7fffffdf", kKeyAdd, "", 0x7FFFFFFF}, // far past the end: zeros
        {"7fffffff", kKeyAdd, "", kRefused},   // past the largest location
        {"1f0", kLabel, "2a1", 0x2A1},
        // A typed 0, a cancel, text with a blank and a sign all give 0: nothing happens.
        {"1f0", kLabel, "0", kRefused},
        {"1f0", kLabel, "", kRefused},
        {"1f0", kLabel, " 10", kRefused},
        {"1f0", kLabel, "-5", kRefused},
    };
    const std::vector<std::uint8_t> changed(0x400, 0x55);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + std::to_string(c.key) + " " + c.typed);
        dir.Write("game.gba", bytes);
        services.inputPrompts.clear();
        Enter(c.start);
        const std::int32_t start = app.CurrentLocation;
        form.Opt_Click(2);
        const std::string locOpt = model().lblLocOpt.caption;
        const std::string word = model().StrColor;
        const auto swatches = Swatches(model());
        dir.Write("game.gba", changed); // shows whether the file is read again

        if (c.key == kLabel) {
            services.inputAnswers.push_back(c.typed);
            form.lblLoc_Click();
            EXPECT_EQ(services.inputPrompts.back(), "Digite nova localização HEX");
        } else {
            form.SpecialAction(c.key);
        }

        const std::int32_t now = c.to == kRefused ? start : c.to;
        EXPECT_EQ(app.CurrentLocation, now);
        EXPECT_EQ(model().lblLoc.caption, HexText(now));
        if (c.to == kRefused) {
            EXPECT_EQ(Swatches(model()), swatches);
        } else {
            ExpectSwatchesAt(static_cast<std::size_t>(c.to), changed);
            for (const Swatch& swatch : model().Opt)
                EXPECT_FALSE(swatch.selected);
        }
        EXPECT_EQ(model().OptSelected, 2);
        EXPECT_EQ(model().lblLocOpt.caption, locOpt);
        EXPECT_EQ(model().StrColor, word);
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST_F(SpecialMode, OtherKeysDoNothingAtAll) {
    Enter("1f0");
    form.model().Opt[2].selected = true;
    const auto swatches = Swatches(model());
    dir.Write("game.gba", std::vector<std::uint8_t>(0x400, 0x55));
    for (const int key : {0, 27, 65, 106, 108, 110, 187, 189, -107, 107 + 256})
        form.SpecialAction(key);
    EXPECT_EQ(app.CurrentLocation, 0x1F0);
    EXPECT_EQ(model().lblLoc.caption, "1F0");
    EXPECT_EQ(Swatches(model()), swatches);
}

TEST_F(SpecialMode, LocationLabelClickOutsideTheSpecialStateAsksNothing) {
    ShowGameLabel(form, "Some Game");
    services.inputAnswers.push_back("100");
    form.lblLoc_Click();
    EXPECT_TRUE(services.inputPrompts.empty());
    EXPECT_EQ(app.CurrentLocation, 0);
    EXPECT_EQ(model().lblLoc.caption, "000000");
}

// Stepping or typing a location after the file has gone: a critical box naming the file,
// and the location, the label and the swatches stay as they were.
TEST_F(SpecialMode, VanishedFileIsReportedAndTheLocationKept) {
    Enter("1f0");
    model().Opt[1].selected = true;
    const auto swatches = Swatches(model());
    std::filesystem::remove(rom);
    const ShownMessage gone{"Não foi possível ler o arquivo \"" + rom + "\".\r\n\r\n" +
                                std::strerror(ENOENT),
                            16, "Zandrel"};

    form.SpecialAction(kKeyAdd);
    services.inputAnswers.push_back("300");
    form.lblLoc_Click();

    ASSERT_EQ(services.messages.size(), 2u);
    for (const ShownMessage& message : services.messages) {
        EXPECT_EQ(message.text, gone.text);
        EXPECT_EQ(message.style, gone.style);
        EXPECT_EQ(message.title, gone.title);
    }
    EXPECT_EQ(app.CurrentLocation, 0x1F0);
    EXPECT_EQ(model().lblLoc.caption, "1F0");
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_FALSE(std::filesystem::exists(rom));

    // Once the file is back, stepping goes on from where it was.
    dir.Write("game.gba", bytes);
    form.SpecialAction(kKeyAdd);
    EXPECT_EQ(model().lblLoc.caption, "210");
}

// F3 and Shift+F3 go to the scanner's raw candidates after and before the location; a file
// changed since its scan is scanned again.
TEST_F(SpecialMode, F3AndShiftF3JumpBetweenRawPaletteCandidates) {
    std::vector<std::uint8_t> synthetic;
    ASSERT_TRUE(ReadRomImage(ZANDREL_SOURCE_DIR "/examples/synthetic.gba", synthetic).ok());
    rom = dir.Write("game.gba", synthetic);
    std::vector<std::int32_t> raw;
    for (const PaletteCandidate& candidate : ScanPalettes(synthetic, {50, true, false}))
        raw.push_back(static_cast<std::int32_t>(candidate.where.location));
    std::sort(raw.begin(), raw.end());
    Enter(HexText(raw[1] - 2).c_str());
    for (const auto& [shift, location] : {std::pair{0, raw[1]},
                                          {0, raw[2]},
                                          {kShiftBit, raw[1]},
                                          {kShiftBit | 2, raw[0]},
                                          {kShiftBit, raw[0]}}) { // none before the first
        form.Form_KeyDown(kKeyF3, shift);
        EXPECT_EQ(model().lblLoc.caption, HexText(location));
        EXPECT_EQ(model().Opt[15].backColor, WordToColor(StoredWord(synthetic, location + 30)));
    }
    // Cut down to the first candidate, with a new time: nothing lies after it any more.
    synthetic.resize(static_cast<std::size_t>(raw[0]) + 32);
    dir.Write("game.gba", synthetic);
    std::filesystem::last_write_time(rom, std::filesystem::last_write_time(rom) +
                                              std::chrono::seconds(5));
    form.Form_KeyDown(kKeyF3, 0);
    EXPECT_EQ(app.CurrentLocation, raw[0]);
    EXPECT_TRUE(services.messages.empty());
}

} // namespace
} // namespace zandrel::testing
