#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "OpenFormFixture.h"
#include "palfiles/GifHeader.h"

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

// A window with a sixteen-colour palette chosen and both sample images beside the program.
class Preview : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};
    std::string image1 = dir.Write("preview01.gif", SyntheticGif(300));
    std::string image2 = dir.Write("preview02.gif", SyntheticGif(1000, 0xF7));

    void SetUp() override {
        services.programFolder = dir.path().string();
        form.Form_Load();
        form.model().List1.Assign({"Paleta"});
        form.model().lstCount.Assign({"16"});
        form.model().List1.selected = 0;
        for (int i = 0; i < 16; ++i)
            form.model().Opt[static_cast<std::size_t>(i)].backColor =
                MakeColor(200 + i, 16 * i, 255 - 3 * i);
    }
};

TEST_F(Preview, WritesTheSwatchesIntoBytes13To60OfBothImagesOnly) {
    const std::vector<std::uint8_t> before1 = ReadBytes(image1);
    const std::vector<std::uint8_t> before2 = ReadBytes(image2);
    form.cmdAmostra_Click();

    EXPECT_TRUE(services.messages.empty());
    for (auto [path, expected] : {std::pair{image1, before1}, std::pair{image2, before2}}) {
        for (std::size_t i = 0; i < 16; ++i) {
            expected[13 + 3 * i] = static_cast<std::uint8_t>(200 + i); // red
            expected[14 + 3 * i] = static_cast<std::uint8_t>(16 * i);  // green
            expected[15 + 3 * i] = static_cast<std::uint8_t>(255 - 3 * i);
        }
        EXPECT_EQ(ReadBytes(path), expected) << path;
    }
    ASSERT_EQ(services.previewImages.size(), 1u);
    EXPECT_EQ(fs::path(services.previewImages[0]), dir.path() / "preview01.gif");
}

// The GBA's-screen view changes what the preview draws, never the colours written.
TEST_F(Preview, OnTheGbaScreenThePreviewDrawsSoAndTheSameColoursAreWritten) {
    form.mnuGbaScreen_Click();
    form.cmdAmostra_Click();
    EXPECT_EQ(services.previewOnGbaScreen, std::vector<bool>{true});
    EXPECT_EQ(ReadBytes(image1)[13], 200); // swatch 0's red as it is
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

// The original created a missing image and wrote past a small table; now a bad image stops
// the preview before either file is written. "@" stands for the image's path.
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
        {"read-only",
         [](const std::string& path) {
             fs::permissions(path, fs::perms::owner_read | fs::perms::group_read |
                                       fs::perms::others_read);
         },
         "Não foi possível gravar no arquivo \"@\". Nada foi alterado.\r\n\r\n" +
             std::string(std::strerror(EACCES))},
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
    for (const char* bad : {"preview01.gif", "preview02.gif"}) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(bad) + ": " + fault.what);
            TempDir dir;
            FakeServices services;
            services.programFolder = dir.path().string();
            AppState app;
            MainForm form{app, services};
            form.model().List1.Assign({"Paleta"});
            form.model().lstCount.Assign({"16"});
            form.model().List1.selected = 0;
            for (Swatch& swatch : form.model().Opt)
                swatch.backColor = 0x00FF00;
            dir.Write("preview01.gif", SyntheticGif(300));
            dir.Write("preview02.gif", SyntheticGif(400));
            const std::string badPath = dir.File(bad);
            fault.apply(badPath);
            const bool existed = fs::exists(badPath);
            const std::vector<std::uint8_t> before1 = ReadBytes(dir.File("preview01.gif"));
            const std::vector<std::uint8_t> before2 = ReadBytes(dir.File("preview02.gif"));

            form.cmdAmostra_Click();

            std::string message = fault.message;
            message.replace(message.find('@'), 1, badPath);
            ExpectOneMessage(services, message, 16);
            EXPECT_TRUE(services.previewImages.empty());
            EXPECT_EQ(fs::exists(badPath), existed);
            EXPECT_EQ(ReadBytes(dir.File("preview01.gif")), before1);
            EXPECT_EQ(ReadBytes(dir.File("preview02.gif")), before2);
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
