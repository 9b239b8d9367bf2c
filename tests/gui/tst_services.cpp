// The pieces of the desktop services that can be checked without a modal loop: filter
// conversion, the path rule, the remembered filter, the dialog's set-up and listing, message
// box styles, key codes and system colours.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIcon>
#include <QImage>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "DesktopIdentity.h"
#include "FileDialogs.h"
#include "KeyCodes.h"
#include "MessageBoxes.h"
#include "QtServices.h"
#include "SystemColours.h"
#include "TempDir.h"

using namespace zandrel;

namespace {
const char* const kExportFilter = "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer "
                                  "Pro|*.tpl|PAL - paleta padrão JASC|*.pal";
}

class ServicesTest : public QObject {
    Q_OBJECT
  private slots:
    void filterTextBecomesQtNameFilters_data();
    void filterTextBecomesQtNameFilters();
    void pathsLongerThan259CharactersAreRefused();
    void lastConfirmedFilterIsPreselectedWhereItExists();
    void dialogIsSetUpForItsKind_data();
    void dialogIsSetUpForItsKind();
    void dialogListsNamesInAnyLetterCase();
    void messageBoxStyles_data();
    void messageBoxStyles();
    void keysBecomeVirtualKeyCodes_data();
    void keysBecomeVirtualKeyCodes();
    void shiftStateAddsShiftCtrlAlt();
    void systemColoursComeFromThePalette();
    void versionComesFromTheBuild();
    void commandLineIsTheArgumentsJoinedByBlanks();
    void desktopKnowsTheEntryAndTheInstalledIconWithoutATheme();
};

void ServicesTest::filterTextBecomesQtNameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("export") << QString::fromUtf8(kExportFilter)
                            << QStringList{"GBAPAL - Paleta do GBA (*.GBAPAL)",
                                           "TPL - paleta do Tile Layer Pro (*.tpl)",
                                           "PAL - paleta padrão JASC (*.pal)"};
    QTest::newRow("pattern already in the description")
        << QString::fromUtf8("ROMs de GBA (*.gba)|*.gba|Dump de memória (*.dmp)|*.dmp")
        << QStringList{"ROMs de GBA (*.gba) (*.gba)", "Dump de memória (*.dmp) (*.dmp)"};
    QTest::newRow("several patterns")
        << QStringLiteral("Imagens|*.bmp;*.gif") << QStringList{"Imagens (*.bmp *.gif)"};
    QTest::newRow("description without a pattern")
        << QStringLiteral("A|*.a|B") << QStringList{"A (*.a)"};
    QTest::newRow("empty") << QString() << QStringList{};
}

void ServicesTest::filterTextBecomesQtNameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(filter.toStdString()), expected);
}

void ServicesTest::pathsLongerThan259CharactersAreRefused() {
    const QString at259 = QStringLiteral("/") + QString(258, u'a');
    QCOMPARE(AcceptedPath(at259), at259.toStdString());
    QCOMPARE(AcceptedPath(at259 + u'a'), std::string());
    // Characters are counted, not the bytes of their encoding.
    const QString accented = QStringLiteral("/") + QString(258, QChar(0x00E7));
    QCOMPARE(AcceptedPath(accented), accented.toStdString());
    QCOMPARE(AcceptedPath(QStringLiteral("/tmp/x.pal")), std::string("/tmp/x.pal"));
}

void ServicesTest::lastConfirmedFilterIsPreselectedWhereItExists() {
    FilterMemory memory;
    QCOMPARE(memory.Preselect(3), 0);
    memory.Remember(2);
    QCOMPARE(memory.Preselect(3), 2);
    QCOMPARE(memory.Preselect(2), 0); // a shorter list starts on its first entry...
    QCOMPARE(memory.Preselect(4), 2); // ...and the number is kept for the next longer one
    memory.Remember(-1);              // nothing matched: the first entry
    QCOMPARE(memory.Preselect(3), 0);

    memory.Remember(1);
    auto dialog = MakeFileDialog(nullptr, FileDialogKind::Save, "Salvar", kExportFilter, memory);
    QCOMPARE(SelectedFilterIndex(*dialog), 1);
    QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("TPL - paleta do Tile Layer Pro"));
    auto single = MakeFileDialog(nullptr, FileDialogKind::Open, "Abrir",
                                 "GBAPAL - Paleta do GBA|*.GBAPAL", memory);
    QCOMPARE(SelectedFilterIndex(*single), 0);
}

void ServicesTest::dialogIsSetUpForItsKind_data() {
    QTest::addColumn<bool>("save");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
}

void ServicesTest::dialogIsSetUpForItsKind() {
    QFETCH(bool, save);
    QWidget owner;
    FilterMemory memory;
    auto dialog = MakeFileDialog(&owner, save ? FileDialogKind::Save : FileDialogKind::Open,
                                 save ? "Salvar" : "Abrir", kExportFilter, memory);
    QCOMPARE(dialog->parentWidget(), &owner);
    QCOMPARE(dialog->windowTitle(), save ? QStringLiteral("Salvar") : QStringLiteral("Abrir"));
    QCOMPARE(dialog->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    QVERIFY(dialog->defaultSuffix().isEmpty());
    QCOMPARE(dialog->nameFilters().size(), 3);
    QCOMPARE(SelectedFilterIndex(*dialog), 0);
}

void ServicesTest::dialogListsNamesInAnyLetterCase() {
    testing::TempDir folder;
    folder.WriteText("lower.gbapal", "x");
    folder.WriteText("UPPER.GBAPAL", "x");
    folder.WriteText("Mixed.GbaPal", "x");
    folder.WriteText("other.pal", "x");
    FilterMemory memory;
    auto dialog = MakeFileDialog(nullptr, FileDialogKind::Open, "Abrir",
                                 "GBAPAL - Paleta do GBA|*.GBAPAL", memory);
    dialog->setDirectory(QString::fromStdString(folder.path().string()));
    dialog->show();

    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(list != nullptr);
    auto listed = [&] {
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            names << list->model()->index(row, 0, root).data().toString();
        names.sort();
        return names;
    };
    QTRY_COMPARE(listed(), (QStringList{"Mixed.GbaPal", "UPPER.GBAPAL", "lower.gbapal"}));
    // The user sees the description as the program wrote it.
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types != nullptr);
    QCOMPARE(types->currentText(), QStringLiteral("GBAPAL - Paleta do GBA"));
}

void ServicesTest::messageBoxStyles_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::newRow("plain") << 0 << int(QMessageBox::NoIcon) << int(QMessageBox::Ok)
                           << int(QMessageBox::Ok);
    QTest::newRow("critical") << 16 << int(QMessageBox::Critical) << int(QMessageBox::Ok)
                              << int(QMessageBox::Ok);
    QTest::newRow("exclamation") << 48 << int(QMessageBox::Warning) << int(QMessageBox::Ok)
                                 << int(QMessageBox::Ok);
    QTest::newRow("information") << 64 << int(QMessageBox::Information) << int(QMessageBox::Ok)
                                 << int(QMessageBox::Ok);
    QTest::newRow("question") << 292 << int(QMessageBox::Question)
                              << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No);
}

void ServicesTest::messageBoxStyles() {
    QFETCH(int, style);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QMessageBox box;
    SetUpMessageBox(box, "Zandrel\r\nVersão 1.00.0011\r\n\r\n<b>x</b>", style, "Sair");
    QCOMPARE(box.windowTitle(), QStringLiteral("Sair"));
    QCOMPARE(box.text(), QStringLiteral("Zandrel\nVersão 1.00.0011\n\n<b>x</b>"));
    QCOMPARE(box.textFormat(), Qt::PlainText);
    QCOMPARE(int(box.icon()), icon);
    QCOMPARE(int(box.standardButtons()), buttons);
    QCOMPARE(int(box.standardButton(box.defaultButton())), defaultButton);
    if (style == 292)
        QCOMPARE(box.standardButton(box.escapeButton()), QMessageBox::No);
    QCOMPARE(AnswerCode(box, style), style == 292 ? 7 : 1);
}

void ServicesTest::keysBecomeVirtualKeyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("code");
    QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << true << 106;
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 107;
    QTest::newRow("keypad -") << int(Qt::Key_Minus) << true << 109;
    QTest::newRow("keypad /") << int(Qt::Key_Slash) << true << 111;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << true << 96;
    QTest::newRow("keypad 9") << int(Qt::Key_9) << true << 105;
    QTest::newRow("keypad up") << int(Qt::Key_Up) << true << 38;
    QTest::newRow("main *") << int(Qt::Key_Asterisk) << false << 0;
    QTest::newRow("main +") << int(Qt::Key_Plus) << false << 0;
    QTest::newRow("main -") << int(Qt::Key_Minus) << false << 0;
    QTest::newRow("A") << int(Qt::Key_A) << false << 65;
    QTest::newRow("Z") << int(Qt::Key_Z) << false << 90;
    QTest::newRow("0") << int(Qt::Key_0) << false << 48;
    QTest::newRow("9") << int(Qt::Key_9) << false << 57;
    QTest::newRow("F1") << int(Qt::Key_F1) << false << 112;
    QTest::newRow("Enter") << int(Qt::Key_Return) << false << 13;
    QTest::newRow("Down") << int(Qt::Key_Down) << false << 40;
    QTest::newRow("!") << int(Qt::Key_Exclam) << false << 0;
}

void ServicesTest::keysBecomeVirtualKeyCodes() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, code);
    QCOMPARE(VirtualKeyCode(key, keypad ? Qt::KeypadModifier : Qt::NoModifier), code);
}

void ServicesTest::shiftStateAddsShiftCtrlAlt() {
    QCOMPARE(ShiftState(Qt::NoModifier), 0);
    QCOMPARE(ShiftState(Qt::KeypadModifier), 0);
    QCOMPARE(ShiftState(Qt::ShiftModifier), 1);
    QCOMPARE(ShiftState(Qt::ControlModifier | Qt::KeypadModifier), 2);
    QCOMPARE(ShiftState(Qt::AltModifier), 4);
    QCOMPARE(ShiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
}

void ServicesTest::systemColoursComeFromThePalette() {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0x11, 0x22, 0x33));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(0xFE, 0xFD, 0xFC));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(0x01, 0x02, 0x03));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(0x00, 0x78, 0xD7));
    palette.setColor(QPalette::Active, QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFE));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xBF, 0xCD, 0xDB));
    const CustomColorTable colours = SystemColoursFrom(palette);
    QCOMPARE(colours[15], RgbColor{0x332211}); // button face, red in the low byte
    QCOMPARE(colours[5], RgbColor{0xFCFDFE});  // window background
    QCOMPARE(colours[8], RgbColor{0x030201});  // window text
    QCOMPARE(colours[13], RgbColor{0xD77800}); // highlight
    QCOMPARE(colours[14], RgbColor{0xFEFFFF}); // highlighted text
    QCOMPARE(colours[3], RgbColor{0xDBCDBF});  // inactive caption

    const QPalette saved = QApplication::palette();
    QApplication::setPalette(palette);
    QtServices services;
    QCOMPARE(services.SystemColors(), colours);
    QApplication::setPalette(saved);
}

void ServicesTest::versionComesFromTheBuild() {
    QtServices services;
    const VersionNumbers version = services.Version();
    QCOMPARE(version.major, 1);
    QCOMPARE(version.minor, 0);
    QCOMPARE(version.revision, 11);
}

void ServicesTest::commandLineIsTheArgumentsJoinedByBlanks() {
    // main() started the application with these arguments after the program name.
    QtServices services;
    QCOMPARE(services.CommandLine(), std::string("kaldrex  xç"));
}

// Docks find the desktop entry by its id; where no icon theme holds the icon (a prefix the
// theme does not search), the installed PNG beside the program is the windows' icon.
void ServicesTest::desktopKnowsTheEntryAndTheInstalledIconWithoutATheme() {
    const testing::TempDir prefix;
    const QDir root(QString::fromStdString(prefix.path().string()));
    QVERIFY(root.mkpath(QStringLiteral("bin")) &&
            root.mkpath(QStringLiteral("share/icons/hicolor/256x256/apps")));
    QImage red(256, 256, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(root.filePath(
        QStringLiteral("share/icons/hicolor/256x256/apps/io.github.zandrel.Zandrel.png"))));
    QIcon::setThemeSearchPaths({});

    ApplyDesktopIdentity(root.filePath(QStringLiteral("bin")));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.zandrel.Zandrel"));
    QCOMPARE(QGuiApplication::windowIcon().pixmap(256).toImage().pixel(128, 128), qRgb(255, 0, 0));
}

// The application gets arguments of its own; the test runner keeps the real ones.
int main(int argc, char* argv[]) {
    std::string blank;
    std::string word = "kaldrex";
    std::string accented = "xç";
    std::vector<char*> arguments{argv[0], word.data(), blank.data(), accented.data(), nullptr};
    int count = 4;
    QApplication application(count, arguments.data());
    ServicesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_services.moc"
