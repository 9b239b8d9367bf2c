// The sample images after a preview, decoded as the preview window decodes them: every pixel
// shows the swatch colour of the table entry it was drawn with.
#include <array>
#include <filesystem>
#include <map>
#include <set>

#include <QImage>
#include <QTest>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"

using namespace zandrel;
using zandrel::testing::FakeServices;
using zandrel::testing::ReadBytes;
using zandrel::testing::TempDir;

namespace fs = std::filesystem;

class PreviewImageTest : public QObject {
    Q_OBJECT
  private slots:
    void pixelsShowTheSwatchOfTheirTableEntry_data();
    void pixelsShowTheSwatchOfTheirTableEntry();
};

void PreviewImageTest::pixelsShowTheSwatchOfTheirTableEntry_data() {
    QTest::addColumn<int>("gameIndex");
    QTest::addColumn<QString>("image");
    QTest::newRow("meadow") << 0 << QStringLiteral("preview01.gif");
    QTest::newRow("castle (Kemrith)") << 3 << QStringLiteral("preview02.gif");
}

void PreviewImageTest::pixelsShowTheSwatchOfTheirTableEntry() {
    QFETCH(int, gameIndex);
    QFETCH(QString, image);

    TempDir folder;
    for (const char* name : {"preview01.gif", "preview02.gif"})
        fs::copy_file(fs::path(ZANDREL_DATA_DIR) / name, folder.path() / name);
    const std::string path = folder.File(image.toStdString());

    // Which table entry each pixel was drawn with: the shipped table's colours are distinct.
    const std::vector<std::uint8_t> original = ReadBytes(path);
    QVERIFY(original.size() > 61);
    std::map<RgbColor, int> entryOf;
    for (int i = 0; i < 16; ++i) {
        const std::size_t at = 13 + 3 * static_cast<std::size_t>(i);
        entryOf[MakeColor(original[at], original[at + 1], original[at + 2])] = i;
    }
    QCOMPARE(entryOf.size(), std::size_t{16});
    const QImage before =
        QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!before.isNull());

    FakeServices services;
    services.programFolder = folder.path().string();
    AppState app;
    app.GameIndex = static_cast<std::int16_t>(gameIndex);
    MainForm form(app, services);
    form.model().List1.Assign({"Paleta"});
    form.model().lstCount.Assign({"16"});
    form.model().List1.selected = 0;
    std::array<RgbColor, 16> swatches{};
    for (int i = 0; i < 16; ++i) {
        swatches[static_cast<std::size_t>(i)] = MakeColor(16 * i + 5, 250 - 15 * i, (97 * i) % 256);
        form.model().Opt[static_cast<std::size_t>(i)].backColor =
            swatches[static_cast<std::size_t>(i)];
    }

    form.cmdAmostra_Click();
    QVERIFY(services.messages.empty());
    QCOMPARE(services.previewImages.size(), std::size_t{1});
    QCOMPARE(fs::path(services.previewImages[0]), fs::path(path));

    const QImage shown = QImage(QString::fromStdString(services.previewImages[0]))
                             .convertToFormat(QImage::Format_RGB32);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.size(), QSize(403, 140));
    int wrong = 0;
    std::set<int> entriesSeen;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const auto entry = entryOf.find(MakeColor(qRed(was), qGreen(was), qBlue(was)));
            QVERIFY2(entry != entryOf.end(), "a pixel outside table entries 0 to 15");
            entriesSeen.insert(entry->second);
            const QRgb now = shown.pixel(x, y);
            if (MakeColor(qRed(now), qGreen(now), qBlue(now)) !=
                swatches[static_cast<std::size_t>(entry->second)])
                ++wrong;
        }
    }
    QCOMPARE(wrong, 0);
    // The whole palette is on show.
    QCOMPARE(entriesSeen.size(), std::size_t{16});
}

QTEST_MAIN(PreviewImageTest)
#include "tst_preview_image.moc"
