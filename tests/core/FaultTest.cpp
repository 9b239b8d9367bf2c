// Faults from outside the program: the largest ROM images, files that change or vanish while
// they are open, files nobody may write, broken definition files. Each must end in the
// promised message (or the open command's silent end) with no byte changed that should not.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "FakeServices.h"
#include "OpenFormFixture.h"
#include "TempDir.h"
#include "app/MainForm.h"
#include "platform/Failure.h"
#include "util/Messages.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kLargeRomSize = 32u << 20; // the largest GBA cartridge

// Byte k of the large ROM; the megabyte number is mixed in so a write landing in the wrong
// megabyte changes the checksum even where the simple pattern repeats.
std::uint8_t LargeRomByte(std::uint64_t k) {
    return static_cast<std::uint8_t>((k * 7 + 3) ^ (k >> 20));
}

// A 32 MiB ROM of the pattern with the game code at 0xAC.
void WriteLargeRom(const std::string& path, const char* code) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> chunk(1u << 20);
    for (std::uint64_t base = 0; base < kLargeRomSize; base += chunk.size()) {
        for (std::size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = static_cast<char>(LargeRomByte(base + i));
        if (base == 0)
            std::memcpy(chunk.data() + 0xAC, code, 4);
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    ASSERT_TRUE(out.good());
}

struct FileDigest {
    std::uint64_t size = 0;
    std::uint64_t outside = 0; // FNV-1a of every byte outside the skipped range
    std::vector<std::uint8_t> inside;
};

// Reads the file once: its length, the checksum of the bytes outside [skip, skip + length)
// and the bytes inside.
FileDigest Digest(const std::string& path, std::uint64_t skip, std::uint64_t length) {
    FileDigest digest;
    digest.outside = 0xCBF29CE484222325ull;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chunk(1u << 20);
    std::uint64_t offset = 0;
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in.gcount());
        for (std::size_t i = 0; i < got; ++i, ++offset) {
            const auto byte = static_cast<std::uint8_t>(chunk[i]);
            if (offset >= skip && offset < skip + length) {
                digest.inside.push_back(byte);
                continue;
            }
            digest.outside = (digest.outside ^ byte) * 0x100000001B3ull;
        }
    }
    digest.size = offset;
    return digest;
}

ColorWord WordAt(const std::vector<std::uint8_t>& bytes, std::size_t i) {
    return static_cast<ColorWord>(bytes[2 * i] | (bytes[2 * i + 1] & 0x7F) << 8);
}

// What the swatches show: colour and visibility of each.
std::vector<std::pair<RgbColor, bool>> Shown(const FormModel& model) {
    std::vector<std::pair<RgbColor, bool>> shown;
    for (const Swatch& swatch : model.Opt)
        shown.emplace_back(swatch.backColor, swatch.visible);
    return shown;
}

class FaultTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};

    void SetUp() override {
        services.programFolder = dir.path().string();
        form.Form_Load();
    }
    void Open(const std::string& path) {
        services.openAnswers.push_back(path);
        form.Command1_Click();
    }
    void Choose(int row) {
        form.model().List1.selected = row;
        form.List1_Click();
    }
    FormModel& model() { return form.model(); }
};

// Open, choose, edit one colour with a slider, save: at each end of a 32 MiB image and in
// its middle, only the palette's bytes may change, and the file keeps its length.
TEST_F(FaultTest, LargestRomEditAndSaveChangesOnlyThePalettesBytes) {
    struct Row {
        const char* location;
        std::uint64_t offset;
        int colours;
        int edited; // swatch index moved by the red slider
    };
    const Row rows[] = {
        {"0", 0, 16, 0},
        {"1000001", 0x1000001, 4, 3}, // odd, in the middle
        {"1FFFFE0", kLargeRomSize - 32, 16, 15},
    };
    std::string definitions = "; the largest cartridge\r\n";
    for (const Row& row : rows)
        definitions +=
            std::to_string(row.colours) + "," + row.location + ",P" + row.location + "\r\n";
    dir.WriteText("TORV_E.ZNDL", definitions);
    const std::string rom = dir.File("large.gba");
    WriteLargeRom(rom, "AQXE");
    Open(rom);
    ASSERT_TRUE(services.messages.empty());
    ASSERT_TRUE(app.RomLoaded);
    ASSERT_EQ(model().List1.rows.size(), std::size(rows));

    for (std::size_t r = 0; r < std::size(rows); ++r) {
        const Row& row = rows[r];
        SCOPED_TRACE(row.location);
        const std::uint64_t length = 2u * static_cast<std::uint64_t>(row.colours);
        const FileDigest before = Digest(rom, row.offset, length);
        ASSERT_EQ(before.size, kLargeRomSize);

        Choose(static_cast<int>(r));
        ASSERT_TRUE(model().Command2.enabled);
        form.Opt_Click(row.edited);
        const ColorWord old = WordAt(before.inside, static_cast<std::size_t>(row.edited));
        const int newRed = ((old & 31) + 9) % 32;
        form.SetSliderValue(SliderId::Red, newRed);
        services.messages.clear();
        form.Command2_Click();

        ExpectOneMessage(services, "Paleta salva.", 64);
        const FileDigest after = Digest(rom, row.offset, length);
        EXPECT_EQ(after.size, kLargeRomSize);
        EXPECT_EQ(after.outside, before.outside);
        ASSERT_EQ(after.inside.size(), length);
        for (int i = 0; i < row.colours; ++i) {
            const auto k = static_cast<std::size_t>(i);
            const ColorWord expected = i == row.edited
                                           ? static_cast<ColorWord>((old & ~31) | newRed)
                                           : WordAt(before.inside, k);
            EXPECT_EQ(WordAt(after.inside, k), expected) << "colour " << i;
            EXPECT_EQ(after.inside[2 * k + 1] & 0x80, 0) << "bit 15 is written as 0";
        }
    }
}

// Marks a file immutable, which holds even for root; the flag is taken off again before the
// folder is removed.
class Immutable {
  public:
    explicit Immutable(std::string path) : path_(std::move(path)) { set_ = Set(true); }
    ~Immutable() {
        if (set_)
            Set(false);
    }
    bool set() const { return set_; }

  private:
    bool Set(bool on) const {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }
    std::string path_;
    bool set_ = false;
};

// A ROM nobody may write: saving says why, changes no byte and leaves the palette on screen;
// choosing a palette still reads it.
TEST_F(FaultTest, SaveToARomNobodyMayWriteChangesNoByte) {
    dir.WriteText("TORV_E.ZNDL", "16,1A0,Herói\r\n");
    const std::vector<std::uint8_t> before = RomWithCode("AQXE");
    const std::string rom = dir.Write("locked.gba", before);
    Open(rom);
    ASSERT_TRUE(app.RomLoaded);

    std::optional<Immutable> lock;
    lock.emplace(rom);
    int expectedErrno = EPERM;
    if (!lock->set()) {
        // No immutable flag here (file system or capability): permission bits, which bind
        // every user but root.
        if (::geteuid() == 0)
            GTEST_SKIP() << "neither the immutable flag nor permission bits bind root here";
        fs::permissions(rom,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        expectedErrno = EACCES;
    }
    Choose(0);
    ASSERT_TRUE(services.messages.empty());
    EXPECT_EQ(model().Opt[0].backColor,
              WordToColor(WordAt({before.begin() + 0x1A0, before.begin() + 0x1C0}, 0)));
    form.Opt_Click(0);
    form.SetSliderValue(SliderId::Blue, (model().BlueScroll + 1) % 32);
    const RgbColor edited = model().Opt[0].backColor;

    form.Command2_Click();

    ExpectOneMessage(services,
                     "Não foi possível gravar no arquivo \"" + rom +
                         "\". Nada foi alterado.\r\n\r\n" + std::strerror(expectedErrno),
                     16);
    EXPECT_EQ(ReadBytes(rom), before);
    EXPECT_EQ(model().Opt[0].backColor, edited); // the edit is not lost
    EXPECT_TRUE(model().Command2.enabled);       // and may be saved elsewhere or again
}

// A reload that stops at a broken line clears the chosen row but leaves the save button as it
// was; a save then has no palette to write and must not claim "Paleta salva." for an edit it
// never wrote.
TEST_F(FaultTest, SaveAfterAFailedReloadWritesNothingAndClaimsNothing) {
    dir.WriteText("TORV_E.ZNDL", "16,1A0,Herói\r\n");
    const std::vector<std::uint8_t> before = RomWithCode("AQXE");
    const std::string rom = dir.Write("game.gba", before);
    Open(rom);
    Choose(0);
    form.Opt_Click(0);
    form.SetSliderValue(SliderId::Red, (model().RedScroll + 1) % 32);
    dir.WriteText("TORV_E.ZNDL", "16,1A0\r\n");
    form.cmdRecarrega_Click();
    ASSERT_EQ(services.messages.size(), 1u);
    ASSERT_EQ(model().List1.selected, -1);
    services.messages.clear();

    form.Command2_Click();

    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(ReadBytes(rom), before);
}

// A ROM whose path turned into a folder after opening: each command that reads it reports the
// folder and keeps what the window showed.
TEST_F(FaultTest, RomReplacedByAFolderIsReportedByEveryCommandThatReadsIt) {
    dir.WriteText("TORV_E.ZNDL", "16,1A0,Herói\r\n16,1C0,Vilão\r\n");
    const std::string rom = dir.Write("game.gba", RomWithCode("AQXE"));
    Open(rom);
    Choose(0);
    const auto swatches = Shown(model());
    fs::remove(rom);
    fs::create_directory(rom);
    const std::string readFailed =
        "Não foi possível ler o arquivo \"" + rom + "\".\r\n\r\n" + std::strerror(EISDIR);

    Choose(1);
    ExpectOneMessage(services, readFailed, 16);
    EXPECT_EQ(Shown(model()), swatches);
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_FALSE(model().Command2.enabled);

    // The reload does not read the ROM: it still works.
    services.messages.clear();
    form.cmdRecarrega_Click();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(model().List1.rows, (std::vector<std::string>{"Herói", "Vilão"}));
    EXPECT_TRUE(fs::is_directory(rom));
    EXPECT_TRUE(fs::is_empty(rom));
}

// A folder in a sample image's place: the preview refuses before writing either image, names
// the image and shows no window. An image nobody may write is left alone too: the preview
// patches and shows copies in the user's cache.
TEST_F(FaultTest, SampleImageNobodyMayWriteIsLeftAloneAndAFolderStopsThePreview) {
    std::vector<std::uint8_t> gif(13 + 48 + 1, 0x11);
    std::memcpy(gif.data(), "GIF89a", 6);
    gif[10] = 0xF3;
    gif.back() = 0x3B;
    struct Case {
        const char* image;
        bool folder;
    };
    for (const Case c : {Case{"preview01.gif", false}, Case{"preview02.gif", false},
                         Case{"preview01.gif", true}, Case{"preview02.gif", true}}) {
        SCOPED_TRACE(std::string(c.image) + (c.folder ? " folder" : " immutable"));
        TempDir folder;
        FakeServices services;
        services.programFolder = folder.path().string();
        AppState app;
        MainForm form{app, services};
        form.model().List1.Assign({"P"});
        form.model().lstCount.Assign({"16"});
        form.model().List1.selected = 0;
        const std::string first = folder.Write("preview01.gif", gif);
        const std::string second = folder.Write("preview02.gif", gif);
        const std::string bad = folder.File(c.image);
        std::optional<Immutable> lock;
        std::string expected;
        if (c.folder) {
            fs::remove(bad);
            fs::create_directory(bad);
            expected =
                "Não foi possível ler o arquivo \"" + bad + "\".\r\n\r\n" + std::strerror(EISDIR);
        } else {
            lock.emplace(bad);
            if (!lock->set())
                continue; // the permission bits are covered with the preview's own tests
            services.userCacheFolder = folder.File("cache");
        }

        form.cmdAmostra_Click();

        if (c.folder) {
            ExpectOneMessage(services, expected, 16);
            EXPECT_TRUE(services.previewImages.empty());
        } else {
            EXPECT_TRUE(services.messages.empty());
            EXPECT_EQ(services.previewImages,
                      std::vector<std::string>{folder.File("cache/preview01.gif")});
        }
        for (const std::string& image : {first, second}) {
            if (image != bad || !c.folder) {
                EXPECT_EQ(ReadBytes(image), gif) << image;
            }
        }
    }
}

// Definition files broken in ways the owners' tests leave out. The open command ends
// silently where the load stops; the reload says which file and line.
struct DefinitionFault {
    const char* name;
    std::optional<std::string> text; // nullopt: a folder stands where the file should be
    std::vector<std::string> names;  // the list after the load
    bool completes;                  // the load read every line
    std::string reloadMessage;       // empty when the reload completes too
};

std::string LineMessage(int line, const char* what) {
    return "Arquivo de definições \"TORV_E.ZNDL\", linha " + std::to_string(line) + ": " + what;
}
constexpr const char* kNoComma = "a linha não tem vírgula (esperado: cores,localização,nome). A "
                                 "lista foi carregada até a linha anterior.";
constexpr const char* kOneComma = "a linha tem só uma vírgula (esperado: cores,localização,nome). "
                                  "A lista foi carregada até a linha anterior.";

std::string ManyEntries(int count) {
    std::string text;
    for (int k = 0; k < count; ++k)
        text += "16," + HexText(32 * k) + ",P\r\n";
    return text;
}

class DefinitionFaultTest : public FaultTest,
                            public ::testing::WithParamInterface<DefinitionFault> {};

TEST_P(DefinitionFaultTest, OpenEndsSilentlyAndReloadNamesTheFileAndLine) {
    const DefinitionFault& fault = GetParam();
    if (fault.text)
        dir.WriteText("TORV_E.ZNDL", *fault.text);
    else
        fs::create_directory(dir.File("TORV_E.ZNDL"));
    const std::vector<std::uint8_t> romBytes = RomWithCode("AQXE");
    const std::string rom = dir.Write("game.gba", romBytes);

    Open(rom);

    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(model().lblGame.caption, "Torvale (US)");
    EXPECT_EQ(app.RomPath, rom);
    EXPECT_EQ(model().List1.rows.size(), fault.names.size());
    EXPECT_EQ(model().List1.rows, fault.names);
    EXPECT_EQ(app.RomLoaded, fault.completes);
    EXPECT_EQ(model().cmdRecarrega.enabled, fault.completes);

    form.cmdRecarrega_Click();

    if (fault.reloadMessage.empty()) {
        EXPECT_TRUE(services.messages.empty());
    } else {
        ExpectOneMessage(services, fault.reloadMessage, 16);
    }
    EXPECT_EQ(model().List1.rows, fault.names);
    EXPECT_EQ(ReadBytes(rom), romBytes);
    if (fault.text) {
        EXPECT_EQ(ReadBytes(dir.File("TORV_E.ZNDL")).size(), fault.text->size());
    }
}

std::vector<std::string> Names(int count) {
    return std::vector<std::string>(static_cast<std::size_t>(count), "P");
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, DefinitionFaultTest,
    ::testing::Values(
        DefinitionFault{"Empty", "", {}, true, ""},
        DefinitionFault{
            "FirstLineHasNoComma", "Herói\r\n16,0,A\r\n", {}, false, LineMessage(1, kNoComma)},
        DefinitionFault{"FirstLineHasOneComma",
                        "16,Herói\r\n16,0,A\r\n",
                        {"Herói"},
                        false,
                        LineMessage(1, kOneComma)},
        DefinitionFault{"MiddleLineHasOneComma",
                        "; c\r\n16,0,A\r\n16,20\r\n16,40,C\r\n",
                        {"A", "20"},
                        false,
                        LineMessage(3, kOneComma)},
        // The last line has no line end: it is still read, and still refused.
        DefinitionFault{"LastLineHasNoCommaNorLineEnd",
                        "16,0,A\r\n16,20,B\r\n16",
                        {"A", "B"},
                        false,
                        LineMessage(3, kNoComma)},
        DefinitionFault{
            "LastLineWithoutLineEndIsAnEntry", "16,0,A\r\n16,20,B", {"A", "B"}, true, ""},
        // A CR inside the last line's name was reported as line 3 of a 2-line file.
        DefinitionFault{"CrInsideANameNamesTheLineAndTheCr",
                        "16,0,A\r\n16,20,Na\rme\r\n",
                        {"A", "Na"},
                        false,
                        "Arquivo de definições \"TORV_E.ZNDL\", linha 2, depois de um CR no meio "
                        "da linha: a linha não tem vírgula (esperado: cores,localização,nome). A "
                        "lista foi carregada até esse CR."},
        DefinitionFault{"Exactly32767Entries", ManyEntries(32767), Names(32767), true, ""},
        DefinitionFault{"Entry32768", "; header\r\n" + ManyEntries(32768), Names(32767), false,
                        LineMessage(32769,
                                    "o arquivo tem mais de 32767 paletas. A lista foi carregada "
                                    "até a linha anterior.")},
        DefinitionFault{"FolderInPlaceOfTheFile",
                        std::nullopt,
                        {},
                        false,
                        "Não foi possível ler o arquivo de definições \"TORV_E.ZNDL\".\r\n\r\n" +
                            std::string(std::strerror(EISDIR))}),
    [](const ::testing::TestParamInfo<DefinitionFault>& info) { return info.param.name; });

} // namespace
} // namespace zandrel::testing
