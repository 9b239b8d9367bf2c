// The special state: words at a typed location, keypad steps and F3's candidate jumps.
#include <chrono>

#include "OpenFormFixture.h"
#include "rom/PaletteScanner.h"

namespace zandrel::testing {
namespace {

class SpecialMode : public ::testing::Test {
  protected:
    SpecialMode() {
        services.commandLine = "kaldrex";
        form.Form_Load();
    }
    // Enters on the ROM, typing `location` (nullptr cancels the box).
    void Enter(const char* location) {
        services.openAnswers.push_back(rom);
        if (location != nullptr)
            services.inputAnswers.push_back(location);
        form.cmdSpecial_Click();
    }
    void ExpectSwatchesAt(std::size_t location, const std::vector<std::uint8_t>& fileBytes) {
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(m().Opt[i].backColor, WordToColor(StoredWord(fileBytes, location + 2 * i)));
            EXPECT_TRUE(m().Opt[i].visible) << i;
        }
    }
    FormModel& m() { return form.model(); }

    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};
    const std::vector<std::uint8_t> bytes = PatternBytes(0x400);
    std::string rom = dir.Write("game.gba", bytes);
};

TEST_F(SpecialMode, EnteringSetsTheSpecialStateControls) {
    ShowGameLabel(form, "Some Game"); // as a chosen palette of a game leaves them
    m().List1.Assign({"Palette A", "Palette B"});
    m().lstCount.Assign({"16", "16"});
    m().cmdRecarrega.enabled = m().Command2.enabled = m().cmdExibir.enabled = true;
    m().OptSelected = 4;

    Enter("1f0");

    ExpectOneDialog(services, "open", "Abrir", "ROMs de GBA (*.gba)|*.gba");
    EXPECT_EQ(services.inputPrompts, std::vector<std::string>{"Digite a localização HEX"});
    EXPECT_EQ(m().lblLoc.caption, "1F0");
    EXPECT_EQ(m().lblGame.caption, "MODO ESPECIAL");
    EXPECT_EQ(m().txtArquivo.caption, rom);
    EXPECT_TRUE(m().List1.rows.empty());
    EXPECT_EQ(m().lstCount.rows.size(), 2u); // the hidden lists are not cleared
    EXPECT_EQ(m().lblLocaliza.caption, "Localização: ");
    EXPECT_TRUE(m().lblLoc.visible && m().lblLocOpt.visible);
    EXPECT_EQ(m().lblLocOpt.caption, "000000");
    EXPECT_TRUE(app.RomLoaded);
    EXPECT_EQ(EnabledButtons(m()), "cmdExp");
    EXPECT_EQ(m().OptSelected, 4);
    ExpectSwatchesAt(0x1F0, bytes);
    EXPECT_TRUE(services.messages.empty());
}

// Nothing checks the typed text: anything but hex digits reads as 0; letters past F count.
TEST_F(SpecialMode, TypedLocationsAreReadAsHexDigitsAndAnythingElseAsZero) {
    for (const auto& [typed, location] :
         {std::pair{(const char*)nullptr, 0}, {" 10", 0}, {"-5", 0}, {"&H10", 0}, {"zz", 0x253}}) {
        SCOPED_TRACE(typed ? typed : "cancelled");
        app.CurrentLocation = 0x40;
        Enter(typed);
        EXPECT_EQ(m().lblLoc.caption, HexText(location));
        ExpectSwatchesAt(static_cast<std::size_t>(location), bytes);
    }
}

// A cancelled dialog changes nothing; a missing file ends quietly after the label and path.
TEST_F(SpecialMode, CancelledOrMissingFileEndsEnteringQuietly) {
    form.cmdSpecial_Click();
    EXPECT_TRUE(services.inputPrompts.empty());
    EXPECT_EQ(m().lblGame.caption, "...");
    EXPECT_TRUE(app.RomPath.empty());

    m().cmdRecarrega.enabled = m().Command2.enabled = true;
    rom = dir.File("gone.gba");
    Enter("20");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(m().lblGame.caption, "MODO ESPECIAL");
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_FALSE(m().lblLoc.visible);
    EXPECT_EQ(EnabledButtons(m()), "Command2 cmdRecarrega");
    EXPECT_FALSE(app.RomLoaded);
    EXPECT_EQ(m().Opt[0].backColor, kDefaultSwatchColor);
    EXPECT_FALSE(fs::exists(rom));
}

// + and - step 32 bytes, the label takes a typed location; a move rereads and unpresses.
TEST_F(SpecialMode, StepsAndTypedLocationsMoveOrAreRefused) {
    constexpr int kLabel = -1000; // a click on the location label, typing `typed`
    constexpr std::int32_t kRefused = -1;
    const struct {
        const char* start;
        int key;
        const char* typed;
        std::int32_t to;
    } cases[] = {
        {"1f0", kKeyAdd, "", 0x210},
        {"20", kKeySubtract, "", 0},
        {"1f", kKeySubtract, "", kRefused},
        {"7fffffdf", kKeyAdd, "", 0x7FFFFFFF}, // far past the end: zeros
        {"7fffffff", kKeyAdd, "", kRefused},
        {"1f0", kKeyMultiply, "", kRefused},
        {"1f0", kKeyAdd + 256, "", kRefused},
        {"1f0", kLabel, "2a1", 0x2A1},
        {"1f0", kLabel, "0", kRefused},
        {"1f0", kLabel, "-5", kRefused},
    };
    const std::vector<std::uint8_t> changed(0x400, 0x55);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + std::to_string(c.key) + " " + c.typed);
        dir.Write("game.gba", bytes);
        Enter(c.start);
        const std::int32_t start = app.CurrentLocation;
        form.Opt_Click(2);
        const std::string locOpt = m().lblLocOpt.caption, word = m().StrColor;
        const auto swatches = Swatches(m());
        dir.Write("game.gba", changed); // shows whether the file is read again
        if (c.key == kLabel) {
            services.inputAnswers.push_back(c.typed);
            form.lblLoc_Click();
            EXPECT_EQ(services.inputPrompts.back(), "Digite nova localização HEX");
        } else {
            form.SpecialAction(c.key);
        }
        EXPECT_EQ(m().lblLoc.caption, HexText(c.to == kRefused ? start : c.to));
        if (c.to == kRefused) {
            EXPECT_EQ(Swatches(m()), swatches);
        } else {
            ExpectSwatchesAt(static_cast<std::size_t>(c.to), changed);
            EXPECT_FALSE(m().Opt[2].selected);
        }
        EXPECT_EQ(m().OptSelected, 2);
        EXPECT_EQ(m().lblLocOpt.caption, locOpt);
        EXPECT_EQ(m().StrColor, word);
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST_F(SpecialMode, KeysAndTheLocationLabelDoNothingOutsideTheSpecialState) {
    app.RomPath = rom;
    app.RomLoaded = true;
    ShowGameLabel(form, "Some Game");
    services.inputAnswers.push_back("100");
    form.lblLoc_Click();
    form.Form_KeyDown(kKeyAdd, 0);
    EXPECT_TRUE(services.inputPrompts.empty());
    EXPECT_EQ(m().lblLoc.caption, "000000");

    ShowGameLabel(form, "MODO ESPECIAL");
    form.Form_KeyDown(kKeyAdd, 0);
    EXPECT_EQ(m().lblLoc.caption, "20");
}

// A vanished file is named, location and swatches kept; stepping goes on once it is back.
TEST_F(SpecialMode, VanishedFileIsReportedAndTheLocationKept) {
    Enter("1f0");
    const auto swatches = Swatches(m());
    fs::remove(rom);
    form.SpecialAction(kKeyAdd);
    services.inputAnswers.push_back("300");
    form.lblLoc_Click();
    EXPECT_EQ(services.MessageTexts(),
              (std::vector{Unreadable(rom, ENOENT), Unreadable(rom, ENOENT)}));
    EXPECT_EQ(services.messages[1].style, 16);
    EXPECT_EQ(m().lblLoc.caption, "1F0");
    EXPECT_EQ(Swatches(m()), swatches);
    EXPECT_FALSE(fs::exists(rom));

    dir.Write("game.gba", bytes);
    form.SpecialAction(kKeyAdd);
    EXPECT_EQ(m().lblLoc.caption, "210");
}

// F3/Shift+F3 jump between raw candidates; a failed scan is said; a changed file rescanned.
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
        EXPECT_EQ(m().lblLoc.caption, HexText(location));
        EXPECT_EQ(m().Opt[15].backColor, WordToColor(StoredWord(synthetic, location + 30)));
    }
    const auto written = fs::last_write_time(rom);
    fs::remove(rom);
    fs::create_directory(rom);
    form.Form_KeyDown(kKeyF3, 0);
    ExpectOneMessage(services, Unreadable(rom, EISDIR), 16);
    fs::remove(rom);
    dir.Write("game.gba", synthetic);
    fs::last_write_time(rom, written);
    form.Form_KeyDown(kKeyF3, 0);
    EXPECT_EQ(app.CurrentLocation, raw[1]);

    synthetic.resize(static_cast<std::size_t>(raw[0]) + 32); // nothing after the first now
    dir.Write("game.gba", synthetic);
    fs::last_write_time(rom, written + std::chrono::seconds(5));
    form.Form_KeyDown(kKeyF3, 0);
    EXPECT_EQ(app.CurrentLocation, raw[1]);
    EXPECT_EQ(services.messages.size(), 1u);
}

} // namespace
} // namespace zandrel::testing
