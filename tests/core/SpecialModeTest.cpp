// The special state: words at a typed location, keypad steps and F3's candidate jumps.
#include "OpenFormFixture.h"
#include "scan/PaletteScanner.h"

namespace zandrel::testing {
namespace {

class SpecialMode : public OpenFormTest {
  protected:
    void SetUp() override { form.Form_Load(StartIn(dir.path().string(), {"kaldrex"})); }
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

    const std::vector<std::uint8_t> bytes = PatternBytes(0x400);
    std::string rom = dir.Write("game.gba", bytes);
};

TEST_F(SpecialMode, EnteringSetsTheSpecialStateControls) {
    ShowGameLabel(form, "Some Game"); // as a chosen palette of a game leaves them
    m().List1.Assign({"Palette A", "Palette B"});
    m().cmdRecarrega.enabled = m().Command2.enabled = m().cmdExibir.enabled = true;
    m().OptSelected = 4;

    Enter("1f0");

    ExpectOneDialog(services, "open", "Abrir", "ROMs de GBA (*.gba)|*.gba");
    EXPECT_EQ(services.inputPrompts, std::vector<std::string>{"Digite a localização HEX"});
    EXPECT_EQ(std::tie(m().lblLoc.caption, m().lblGame.caption, m().txtArquivo.caption),
              std::tie("1F0", "MODO ESPECIAL", rom));
    EXPECT_TRUE(m().List1.rows.empty());
    EXPECT_TRUE(m().lblLoc.visible && m().lblLocOpt.visible && app.RomLoaded);
    EXPECT_EQ(EnabledButtons(m()), "cmdExp");
    EXPECT_EQ(m().OptSelected, 4);
    ExpectSwatchesAt(0x1F0, bytes);
    EXPECT_TRUE(services.messages.empty());
}

// A missing file ends quietly after the label and path.
TEST_F(SpecialMode, MissingFileEndsEnteringQuietly) {
    rom = dir.File("gone.gba");
    Enter("20");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(m().lblGame.caption, "MODO ESPECIAL");
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_FALSE(m().lblLoc.visible || app.RomLoaded);
    EXPECT_FALSE(fs::exists(rom));
}

// Typed text is read as hex digits (anything else as 0); + and - step 32 bytes, the label
// takes a typed location; a move rereads and unpresses.
TEST_F(SpecialMode, StepsAndTypedLocationsMoveOrAreRefused) {
    constexpr int kLabel = -1000; // a click on the location label, typing `typed`
    constexpr std::int32_t kRefused = -1;
    const std::tuple<const char*, int, const char*, std::int32_t> cases[] = {
        {"1f0", kKeyAdd, "", 0x210},
        {" 10", kKeyAdd, "", 0x20},
        {"zz", kKeyAdd, "", 0x273},
        {"20", kKeySubtract, "", 0},
        {"1f", kKeySubtract, "", kRefused},
        {"7fffffdf", kKeyAdd, "", 0x7FFFFFFF}, // far past the end: zeros
        {"7fffffff", kKeyAdd, "", kRefused},
        {"1f0", kKeyAdd + 256, "", kRefused},
        {"1f0", kLabel, "2a1", 0x2A1},
        {"1f0", kLabel, "0", kRefused},
        {"1f0", kLabel, "-5", kRefused},
    };
    const std::vector<std::uint8_t> changed(0x400, 0x55);
    for (const auto& [from, key, typed, to] : cases) {
        SCOPED_TRACE(std::string(from) + " " + std::to_string(key) + " " + typed);
        dir.Write("game.gba", bytes);
        Enter(from);
        const std::int32_t start = app.CurrentLocation;
        form.Opt_Click(2);
        const std::string locOpt = m().lblLocOpt.caption, word = m().StrColor;
        const auto swatches = Swatches(m());
        dir.Write("game.gba", changed); // shows whether the file is read again
        if (key == kLabel) {
            services.inputAnswers.push_back(typed);
            form.lblLoc_Click();
            EXPECT_EQ(services.inputPrompts.back(), "Digite nova localização HEX");
        } else {
            form.SpecialAction(key);
        }
        EXPECT_EQ(m().lblLoc.caption, HexText(to == kRefused ? start : to));
        if (to == kRefused) {
            EXPECT_EQ(Swatches(m()), swatches);
        } else {
            ExpectSwatchesAt(static_cast<std::size_t>(to), changed);
            EXPECT_FALSE(m().Opt[2].selected);
        }
        EXPECT_EQ(std::tie(m().OptSelected, m().lblLocOpt.caption, m().StrColor),
                  std::tuple(2, locOpt, word));
        EXPECT_TRUE(services.messages.empty());
    }
}

// A vanished file is named, location and swatches kept.
TEST_F(SpecialMode, VanishedFileIsReportedAndTheLocationKept) {
    Enter("1f0");
    const auto swatches = Swatches(m());
    fs::remove(rom);
    form.SpecialAction(kKeyAdd);
    ExpectOneMessage(services, Unreadable(rom, ENOENT), 16);
    EXPECT_EQ(m().lblLoc.caption, "1F0");
    EXPECT_EQ(Swatches(m()), swatches);
}

// F3/Shift+F3 jump between raw candidates, none before the first.
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
                                          {kShiftBit | 2, raw[1]},
                                          {kShiftBit, raw[0]},
                                          {kShiftBit, raw[0]}}) {
        form.Form_KeyDown(kKeyF3, shift);
        EXPECT_EQ(m().lblLoc.caption, HexText(location));
        EXPECT_EQ(m().Opt[15].backColor, WordToColor(StoredWord(synthetic, location + 30)));
    }
}

} // namespace
} // namespace zandrel::testing
