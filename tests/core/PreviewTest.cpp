#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "OpenFormFixture.h"
#include "palfiles/GifHeader.h"
#include "platform/FileFaults.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

// A GIF89a header announcing a global table of 2^(size+1) entries, then pattern bytes, so a
// write at any other offset shows.
std::vector<std::uint8_t> SyntheticGif(std::size_t length, std::uint8_t packed = 0xF3) {
    std::vector<std::uint8_t> bytes = PatternBytes(length);
    const std::vector<std::uint8_t> head{'G',  'I',  'F',  '8',    '9',  'a', 0x93,
                                         0x01, 0x8C, 0x00, packed, 0x00, 0x00};
    std::copy(head.begin(), head.begin() + std::min(head.size(), length), bytes.begin());
    return bytes;
}

// A window with a sixteen-colour palette chosen and both sample images in its program folder,
// the user's cache folder not made yet.
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
        services.programFolder = dir.path().string();
        services.userCacheFolder = cache;
        form.Form_Load();
        form.model().List1.Assign({"Paleta"});
        form.model().lstCount.Assign({"16"});
        form.model().List1.selected = 0;
        for (int i = 0; i < 16; ++i)
            form.model().Opt[static_cast<std::size_t>(i)].backColor =
                MakeColor(200 + i, 16 * i, 255 - 3 * i);
    }

    // Moves both images to an installed data folder beside a program folder without data.
    void Install() {
        const fs::path data = dir.path() / "share" / "zandrel";
        fs::create_directories(data);
        fs::rename(image1, data / "preview01.gif");
        fs::rename(image2, data / "preview02.gif");
        image1 = (data / "preview01.gif").string();
        image2 = (data / "preview02.gif").string();
        services.dataFolder = data.string();
        services.programFolder = dir.File("bin");
    }

    // `bytes` with the swatches' colours in the first sixteen colour table entries.
    std::vector<std::uint8_t> WithSwatches(std::vector<std::uint8_t> bytes) const {
        for (std::size_t i = 0; i < 16; ++i) {
            const RgbColor colour = form.model().Opt[i].backColor;
            bytes[13 + 3 * i] = static_cast<std::uint8_t>(colour & 0xFF);
            bytes[14 + 3 * i] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
            bytes[15 + 3 * i] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
        }
        return bytes;
    }
};

class Preview : public ::testing::Test, protected PreviewSetUp {};

TEST_F(Preview, WritesTheSwatchesIntoBytes13To60OfBothImagesOnly) {
    const std::vector<std::uint8_t> before1 = ReadBytes(image1);
    const std::vector<std::uint8_t> before2 = ReadBytes(image2);
    form.cmdAmostra_Click();

    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(ReadBytes(image1), WithSwatches(before1));
    EXPECT_EQ(ReadBytes(image2), WithSwatches(before2));
    ASSERT_EQ(services.previewImages.size(), 1u);
    EXPECT_EQ(fs::path(services.previewImages[0]), dir.path() / "preview01.gif");
    EXPECT_FALSE(fs::exists(cache)); // a writable program folder needs no copies
}

TEST_F(Preview, TheKemrithGameShowsTheSecondImageAndEveryGamePatchesBoth) {
    for (const std::int16_t game : {0, 1, 2, 3, 5}) {
        SCOPED_TRACE(game);
        services.previewImages.clear();
        app.GameIndex = game;
        form.model().Opt[0].backColor = MakeColor(game, 0, 0);
        form.cmdAmostra_Click();
        ASSERT_EQ(services.previewImages.size(), 1u);
        EXPECT_EQ(fs::path(services.previewImages[0]),
                  dir.path() / (game == 3 ? "preview02.gif" : "preview01.gif"));
        EXPECT_EQ(ReadBytes(image1)[13], game);
        EXPECT_EQ(ReadBytes(image2)[13], game);
    }
}

// An installed copy run by a user who may not write its images: the preview copies them to
// the user's cache folder, made with its parents, and patches and shows the copies. The copies
// are made once: a later preview patches the same copies again.
TEST(PreviewCache, ImagesThatMayNotBeWrittenInPlaceArePatchedAsCopiesMadeOnceInTheUsersCache) {
    const std::vector<std::pair<const char*, std::function<void(PreviewSetUp&)>>> cases = {
        {"an image read-only",
         [](PreviewSetUp& s) { fs::permissions(s.image2, fs::perms::owner_read); }},
        {"program folder read-only",
         [](PreviewSetUp& s) {
             fs::permissions(s.dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
         }},
        // Even where it could be written (root, a prefix of the user's own).
        {"installed data folder", [](PreviewSetUp& s) { s.Install(); }},
    };
    for (const auto& [what, apply] : cases) {
        SCOPED_TRACE(what);
        PreviewSetUp s;
        apply(s);
        const std::vector<std::uint8_t> before1 = ReadBytes(s.image1);
        const std::vector<std::uint8_t> before2 = ReadBytes(s.image2);
        const std::string copy1 = s.home.File(".cache/zandrel/preview01.gif");
        const std::string copy2 = s.home.File(".cache/zandrel/preview02.gif");

        s.form.cmdAmostra_Click();
        EXPECT_TRUE(s.services.messages.empty());
        EXPECT_EQ(s.services.previewImages, std::vector<std::string>{copy1});
        EXPECT_EQ(ReadBytes(copy1), s.WithSwatches(before1));
        EXPECT_EQ(ReadBytes(copy2), s.WithSwatches(before2));

        // A mark past the table shows whether the copy is made afresh.
        std::vector<std::uint8_t> marked = ReadBytes(copy2);
        marked.back() ^= 0xFF;
        s.home.Write(".cache/zandrel/preview02.gif", marked);
        s.app.GameIndex = 3;
        s.form.model().Opt[15].backColor = MakeColor(1, 2, 3);
        s.form.cmdAmostra_Click();
        EXPECT_TRUE(s.services.messages.empty());
        EXPECT_EQ(s.services.previewImages.back(), copy2);
        EXPECT_EQ(ReadBytes(copy2), s.WithSwatches(marked));
        EXPECT_EQ(ReadBytes(copy1), s.WithSwatches(before1));
        EXPECT_EQ(ReadBytes(s.image1), before1);
        EXPECT_EQ(ReadBytes(s.image2), before2);
        fs::permissions(s.dir.path(), fs::perms::owner_all);
        EXPECT_EQ(std::distance(fs::directory_iterator(s.cache), {}), 2); // no part file left
    }
}

TEST(PreviewCache, ACacheThatCannotBeWrittenIsReportedAndNothingIsShown) {
    struct Fault {
        const char* what;
        std::function<void(PreviewSetUp&)> apply;
        const char* copy; // the file the message names
        int error;
    };
    const std::vector<Fault> faults = {
        {"a file where the cache folder goes",
         [](PreviewSetUp& s) { s.home.WriteText(".cache", ""); }, "preview01.gif", ENOTDIR},
        {"a read-only copy",
         [](PreviewSetUp& s) {
             fs::create_directories(s.cache);
             fs::permissions(s.home.Write(".cache/zandrel/preview02.gif", SyntheticGif(400)),
                             fs::perms::owner_read);
         },
         "preview02.gif", EACCES},
        // It would name wherever the program runs.
        {"a relative cache folder",
         [](PreviewSetUp& s) { s.services.userCacheFolder = s.cache = "zandrel-cache"; },
         "preview01.gif", ENOENT},
        // The copy is placed whole or not at all.
        {"a copy that cannot be flushed", [](PreviewSetUp&) { SetSyncFaultForTesting(EIO); },
         "preview01.gif", EIO},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        PreviewSetUp s;
        s.Install();
        fault.apply(s);
        const std::vector<std::uint8_t> before1 = ReadBytes(s.image1);
        const std::vector<std::uint8_t> before2 = ReadBytes(s.image2);

        s.form.cmdAmostra_Click();
        SetSyncFaultForTesting(0);

        ExpectOneMessage(s.services,
                         "Não foi possível gravar no arquivo \"" +
                             (fs::path(s.cache) / fault.copy).string() +
                             "\". Nada foi alterado.\r\n\r\n" + std::strerror(fault.error),
                         16);
        EXPECT_TRUE(s.services.previewImages.empty());
        EXPECT_EQ(ReadBytes(s.image1), before1);
        EXPECT_EQ(ReadBytes(s.image2), before2);
        EXPECT_FALSE(fs::exists("zandrel-cache"));
        EXPECT_FALSE(fs::exists(s.home.File(".cache/zandrel/preview01.gif.part") +
                                std::to_string(::getpid())));
    }
}

// The original created a missing image and wrote past a small table; now a bad image stops
// the preview before either file is written, in the program's folder and, for an installed
// copy, before anything is copied to the cache. "@" stands for the image's path.
TEST(PreviewRefusal, ABadOrMissingImageLeavesBothFilesUnchangedAndShowsNoPreview) {
    struct Fault {
        const char* what;
        std::function<void(const std::string&)> apply;
        std::string message;
    };
    const auto replaceWith = [](std::vector<std::uint8_t> bytes) {
        return [bytes](const std::string& path) {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        };
    };
    std::vector<std::uint8_t> png = SyntheticGif(300);
    std::copy_n("\x89PNG\r\n", 6, png.begin());
    const std::string tooShort = "A imagem de amostra \"@\" está incompleta: o arquivo termina "
                                 "antes do fim da tabela de cores. Nenhuma imagem foi alterada.";
    const std::string notGif =
        "A imagem de amostra \"@\" não é um arquivo GIF. Nenhuma imagem foi alterada.";
    const std::vector<Fault> faults = {
        {"missing", [](const std::string& path) { fs::remove(path); },
         "Não foi possível ler o arquivo \"@\".\r\n\r\n" + std::string(std::strerror(ENOENT))},
        {"table cut short", replaceWith(SyntheticGif(60)), tooShort},
        {"header cut short", replaceWith(SyntheticGif(10)), tooShort},
        {"empty", replaceWith({}), notGif},
        {"not a GIF", replaceWith(png), notGif},
        {"no global table", replaceWith(SyntheticGif(300, 0x73)),
         "A imagem de amostra \"@\" não tem tabela de cores global. Nenhuma imagem foi alterada."},
        {"8-entry table", replaceWith(SyntheticGif(300, 0xF2)),
         "A tabela de cores da imagem de amostra \"@\" tem menos de 16 cores. Nenhuma imagem foi "
         "alterada."},
    };
    // The first image in the program's own folder, the second in an installed copy's.
    for (const bool installed : {false, true}) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(installed ? "installed second: " : "first: ") + fault.what);
            PreviewSetUp s;
            if (installed)
                s.Install();
            const std::string badPath = installed ? s.image2 : s.image1;
            fault.apply(badPath);
            const bool existed = fs::exists(badPath);
            const std::vector<std::uint8_t> before1 = ReadBytes(s.image1);
            const std::vector<std::uint8_t> before2 = ReadBytes(s.image2);

            s.form.cmdAmostra_Click();

            std::string message = fault.message;
            message.replace(message.find('@'), 1, badPath);
            ExpectOneMessage(s.services, message, 16);
            EXPECT_TRUE(s.services.previewImages.empty());
            EXPECT_EQ(fs::exists(badPath), existed);
            EXPECT_EQ(ReadBytes(s.image1), before1);
            EXPECT_EQ(ReadBytes(s.image2), before2);
            EXPECT_FALSE(fs::exists(s.cache));
        }
    }
}

TEST(SampleImages, TheShippedImagesAreGifsSizedForThePictureAreaWithASixteenColourTable) {
    for (const char* name : {"preview01.gif", "preview02.gif"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes =
            ReadBytes((fs::path(ZANDREL_DATA_DIR) / name).string());
        ASSERT_GE(bytes.size(), kGifMinimumSize);
        EXPECT_EQ(CheckGifHeader(bytes, bytes.size()), Result::Ok);
        EXPECT_EQ(bytes[6] | (bytes[7] << 8), 403);
        EXPECT_EQ(bytes[8] | (bytes[9] << 8), 140);
        EXPECT_EQ(bytes.back(), 0x3B); // the trailer: the file is complete
    }
}

} // namespace
} // namespace zandrel::testing
