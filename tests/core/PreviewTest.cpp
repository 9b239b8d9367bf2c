// The sample preview: the swatches patched into both images, in place or as cached copies.
#include <sys/stat.h>

#include <fstream>
#include <optional>

#include "OpenFormFixture.h"
#include "palfiles/Preview.h"
#include "platform/FolderWrites.h"

namespace zandrel::testing {
namespace {

// A GIF89a header announcing a global table of 2^(size+1) entries, then pattern bytes.
std::vector<std::uint8_t> SyntheticGif(std::size_t length, std::uint8_t packed = 0xF3) {
    std::vector<std::uint8_t> bytes = PatternBytes(length);
    const std::uint8_t head[] = {'G', 'I', 'F', '8', '9', 'a', 0x93, 0x01, 0x8C, 0x00, packed};
    std::copy_n(head, sizeof head, bytes.begin());
    return bytes;
}

// Sixteen colours chosen (red 200+i, green 16i, blue 255-3i); both images; no cache yet.
struct PreviewSetUp {
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};
    std::string image1 = dir.Write("preview01.gif", SyntheticGif(300));
    std::string image2 = dir.Write("preview02.gif", SyntheticGif(1000, 0xF7));
    TempDir home;
    std::string cache = home.File(".cache/zandrel");

    PreviewSetUp() {
        app.ProgramFolder = dir.path().string();
        app.Folders = {app.ProgramFolder, {}, cache};
        form.model().List1.Assign({"Paleta"});
        form.model().lstCount.Assign({"16"});
        form.model().List1.selected = 0;
        for (int i = 0; i < 16; ++i)
            form.model().Opt[static_cast<std::size_t>(i)].backColor =
                MakeColor(200 + i, 16 * i, 255 - 3 * i);
    }
    // Both images moved to an installed data folder beside a program folder without data.
    void Install() {
        const fs::path data = dir.path() / "share";
        fs::create_directories(data);
        for (std::string* image : {&image1, &image2}) {
            const std::string moved = (data / fs::path(*image).filename()).string();
            fs::rename(*image, moved);
            *image = moved;
        }
        app.Folders.data = data.string();
        app.ProgramFolder = dir.File("bin");
    }
    // `bytes` with the swatches in entries 0 to 15 of the table: bytes 13 to 60.
    static std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes) {
        for (std::size_t i = 0; i < 16; ++i) {
            bytes[13 + 3 * i] = static_cast<std::uint8_t>(200 + i);
            bytes[14 + 3 * i] = static_cast<std::uint8_t>(16 * i);
            bytes[15 + 3 * i] = static_cast<std::uint8_t>(255 - 3 * i);
        }
        return bytes;
    }
};

// Game 3 shows the second image; every game patches both; the view only changes the drawing.
TEST(Preview, WritesTheSwatchesIntoBytes13To60OfBothImagesAndShowsTheGamesImage) {
    for (const std::int16_t game : {0, 3}) {
        PreviewSetUp s;
        const auto before1 = ReadBytes(s.image1), before2 = ReadBytes(s.image2);
        s.app.GameIndex = game;
        if (game)
            s.form.mnuGbaScreen_Click();
        s.form.cmdAmostra_Click();
        EXPECT_TRUE(s.services.messages.empty());
        EXPECT_EQ(ReadBytes(s.image1), PreviewSetUp::Patched(before1));
        EXPECT_EQ(ReadBytes(s.image2), PreviewSetUp::Patched(before2));
        EXPECT_EQ(s.services.previewImages, std::vector{game ? s.image2 : s.image1});
        EXPECT_EQ(s.services.previewOnGbaScreen, std::vector<bool>{game == 3});
        EXPECT_FALSE(fs::exists(s.cache)); // a writable program folder needs no copies
    }
}

// Installed images are copied once to the cache, then patched there.
TEST(Preview, ImagesThatMayNotBeWrittenInPlaceArePatchedAsCopiesInTheUsersCache) {
    PreviewSetUp s;
    s.Install();
    const auto before1 = ReadBytes(s.image1), before2 = ReadBytes(s.image2);
    const std::string copy1 = s.cache + "/preview01.gif", copy2 = s.cache + "/preview02.gif";
    s.form.cmdAmostra_Click();
    EXPECT_TRUE(s.services.messages.empty());
    EXPECT_EQ(s.services.previewImages, std::vector<std::string>{copy1});
    EXPECT_EQ(ReadBytes(copy2), PreviewSetUp::Patched(before2));

    std::vector<std::uint8_t> marked = ReadBytes(copy1); // a mark past the table
    marked.back() ^= 0xFF;
    s.home.Write(".cache/zandrel/preview01.gif", marked);
    s.form.cmdAmostra_Click();
    EXPECT_EQ(ReadBytes(copy1), marked);
    EXPECT_EQ(ReadBytes(s.image1), before1);
    EXPECT_EQ(ReadBytes(s.image2), before2);
    EXPECT_EQ(std::distance(fs::directory_iterator(s.cache), {}), 2); // no part file left
}

// Whatever stands at a copy's name but a good copy is replaced by a fresh one, never written
// through: a link to the user's picture, a pipe, a copy cut short, one the GIF check refuses.
TEST(Preview, ALinkOrADamagedCopyInTheCacheIsReplacedNeverFollowed) {
    const auto write = [](const std::string& at, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(at, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
    const std::function<void(const std::string&, const std::string&)> plants[] = {
        [](const std::string& at, const std::string& picture) { fs::create_symlink(picture, at); },
        [](const std::string& at, const std::string&) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); },
        [](const std::string& at, const std::string&) { fs::resize_file(at, 299); },
        [&](const std::string& at, const std::string&) { write(at, SyntheticGif(300, 0xF2)); },
    };
    for (std::size_t k = 0; k < std::size(plants); ++k) {
        PreviewSetUp s;
        s.Install();
        const std::string copy = s.cache + "/preview01.gif";
        const std::string picture = s.home.Write("holiday.gif", SyntheticGif(300));
        s.form.cmdAmostra_Click();
        fs::remove(copy);
        if (k >= 2)
            fs::copy_file(s.image1, copy);
        plants[k](copy, picture);
        s.form.cmdAmostra_Click();
        EXPECT_TRUE(s.services.messages.empty()) << k;
        EXPECT_EQ(ReadBytes(picture), SyntheticGif(300)) << k;
        EXPECT_TRUE(IsPlainFile(copy)) << k;
        EXPECT_EQ(ReadBytes(copy), PreviewSetUp::Patched(ReadBytes(s.image1))) << k;
    }
    // A link planted after the copies were checked is refused by the patch itself.
    PreviewSetUp s;
    const std::string picture = s.home.Write("holiday.gif", SyntheticGif(300));
    fs::remove(s.image1);
    fs::create_symlink(picture, s.image1);
    EXPECT_EQ(PatchSampleImages(s.dir.path().string(), {}).result, Result::CannotWrite);
    EXPECT_EQ(ReadBytes(picture), SyntheticGif(300));
}

// No cache folder (then nothing is created), a cache copy that cannot be flushed or a bad image
// (then nothing is written or copied): named, nothing shown and no file left behind.
TEST(Preview, AFailureIsNamedAndNothingIsShownOrLeftBehind) {
    for (int k = 0; k < 3; ++k) {
        PreviewSetUp s;
        std::optional<ScopedSyncFaultForTesting> fault;
        std::string message;
        if (k < 2)
            s.Install();
        if (k == 0) {
            s.app.Folders.userCache.clear();
            message = "A amostra não tem onde gravar as imagens: não há pasta pessoal (HOME) nem "
                      "XDG_CACHE_HOME. Nada foi criado.";
        } else if (k == 1) {
            fault.emplace(EIO);
            message = "Não foi possível gravar no arquivo \"" + s.cache +
                      "/preview01.gif\". Nada foi alterado.\r\n\r\nErro de entrada e saída no "
                      "dispositivo";
        } else {
            s.dir.Write("preview02.gif", SyntheticGif(300, 0xF2));
            message = "A tabela de cores da imagem de amostra \"" + s.image2 +
                      "\" tem menos de 16 cores. Nenhuma imagem foi alterada.";
        }
        const auto before1 = ReadBytes(s.image1);
        s.form.cmdAmostra_Click();
        ExpectOneMessage(s.services, message, 16);
        EXPECT_TRUE(s.services.previewImages.empty()) << k;
        EXPECT_EQ(ReadBytes(s.image1), before1) << k;
        EXPECT_TRUE(!fs::exists(s.cache) || fs::is_empty(s.cache)) << k;
    }
}

} // namespace
} // namespace zandrel::testing
