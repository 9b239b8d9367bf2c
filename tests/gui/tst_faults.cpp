// Faults from outside through the real window: a dump that vanishes or turns into a folder
// while it is open, a definition file broken between two loads, a sample image that is no
// GIF. The window shows the failure, keeps what it showed and writes nothing.
#include <QAbstractButton>
#include <QListView>
#include <QSlider>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "WindowHarness.h"
#include "colour/Codec.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

namespace fs = std::filesystem;

std::string OpenDump(WindowHarness& h) {
    const std::string dump = h.folder.Write("palettes.dmp", PatternBytes(1024));
    h.services.openAnswers.push_back(dump);
    Click(h.Find<QWidget>("Command1"));
    return dump;
}

void ChooseRow(WindowHarness& h, int row) {
    auto* list = h.Find<QListView>("List1");
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void ExpectOneCriticalBox(WindowHarness& h, const std::string& text) {
    QCOMPARE(h.services.messages.size(), std::size_t{1});
    QCOMPARE(h.services.messages[0].text, text);
    QCOMPARE(h.services.messages[0].style, 16);
    QCOMPARE(h.services.messages[0].title, std::string("Zandrel"));
}

QList<QColor> SwatchColours(WindowHarness& h) {
    QList<QColor> colours;
    for (int i = 0; i < 16; ++i)
        colours.append(SwatchAt(h, i)->colour());
    return colours;
}

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void savingADumpThatVanishedSaysWhyAndCreatesNothing();
    void choosingFromADumpTurnedFolderKeepsTheSwatchesAndOffersNoSave();
    void reloadOfABrokenDefinitionListsTheEntriesBeforeItAndNamesTheLine();
    void previewWithASampleThatIsNoGifShowsNoWindowAndWritesNothing();
};

void FaultsTest::savingADumpThatVanishedSaysWhyAndCreatesNothing() {
    WindowHarness h;
    const std::string dump = OpenDump(h);
    ChooseRow(h, 1);
    Click(SwatchAt(h, 3));
    auto* red = h.Find<QSlider>("RedScroll");
    red->setFocus();
    PressKey(h.window.get(), Qt::Key_Up);
    const QList<QColor> edited = SwatchColours(h);
    fs::remove(dump);

    Click(h.Find<QWidget>("Command2"));

    ExpectOneCriticalBox(h, "Não foi possível gravar no arquivo \"" + dump +
                                "\". Nada foi alterado.\r\n\r\n" + std::strerror(ENOENT));
    QVERIFY(!fs::exists(dump));
    QCOMPARE(SwatchColours(h), edited); // the edit is still there to save elsewhere
    QVERIFY(h.Find<QWidget>("Command2")->isEnabled());
}

void FaultsTest::choosingFromADumpTurnedFolderKeepsTheSwatchesAndOffersNoSave() {
    WindowHarness h;
    const std::string dump = OpenDump(h);
    ChooseRow(h, 1);
    const QList<QColor> shown = SwatchColours(h);
    fs::remove(dump);
    fs::create_directory(dump);

    ChooseRow(h, 2);

    ExpectOneCriticalBox(h, "Não foi possível ler o arquivo \"" + dump + "\".\r\n\r\n" +
                                std::strerror(EISDIR));
    QCOMPARE(SwatchColours(h), shown);
    for (const char* off : {"Command2", "cmdImp", "cmdExp", "cmdAmostra", "cmdExibir"})
        QVERIFY2(!h.Find<QWidget>(off)->isEnabled(), off);
    QCOMPARE(h.model().List1.selected, -1);
    QVERIFY(fs::is_empty(dump));
}

void FaultsTest::reloadOfABrokenDefinitionListsTheEntriesBeforeItAndNamesTheLine() {
    WindowHarness h;
    OpenDump(h);
    ChooseRow(h, 0);
    h.folder.WriteText("MEMORYDUMP.ZNDL", "; c\r\n16,0,Primeira\r\n16,20,Segunda\r\n16,40\r\n");

    Click(h.Find<QWidget>("cmdRecarrega"));

    ExpectOneCriticalBox(h, "Arquivo de definições \"MEMORYDUMP.ZNDL\", linha 4: a linha tem só "
                            "uma vírgula (esperado: cores,localização,nome). A lista foi "
                            "carregada até a linha anterior.");
    auto* list = h.Find<QListView>("List1");
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("Primeira"));
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("Segunda"));
    QCOMPARE(list->model()->index(2, 0).data().toString(), QStringLiteral("40"));
    // The steps after the load did not run.
    QCOMPARE(LabelText(h, "lblLocaliza"), QStringLiteral("Localização: 0"));
    QVERIFY(h.Find<QWidget>("Command2")->isEnabled());
}

void FaultsTest::previewWithASampleThatIsNoGifShowsNoWindowAndWritesNothing() {
    WindowHarness h;
    const std::vector<std::uint8_t> gif =
        ReadBytes((fs::path(ZANDREL_DATA_DIR) / "preview01.gif").string());
    std::vector<std::uint8_t> png = gif;
    std::memcpy(png.data(), "\x89PNG\r\n", 6);
    const std::string first = h.folder.Write("preview01.gif", gif);
    const std::string second = h.folder.Write("preview02.gif", png);
    OpenDump(h);
    ChooseRow(h, 1);

    Click(h.Find<QWidget>("cmdAmostra"));

    ExpectOneCriticalBox(h, "A imagem de amostra \"" + second +
                                "\" não é um arquivo GIF. Nenhuma imagem foi alterada.");
    QVERIFY(h.services.previewImages.empty());
    QVERIFY(ReadBytes(first) == gif);
    QVERIFY(ReadBytes(second) == png);
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
