// The desktop services: the real boxes, dialogs and second windows driven from inside their
// own loops, and the conversions behind them.
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>

#include "ApplicationStart.h"
#include "EscapeCloser.h"
#include "KeyCodes.h"
#include "MessageBoxes.h"
#include "QtServices.h"
#include "SystemColours.h"
#include "TempDir.h"

using namespace zandrel;

namespace {

// Runs `action` in the first modal window's loop once it is active (its own focus handling
// has run); one left open is closed later so a failing test ends, and tests assert it closed.
void OnModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isActiveWindow())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
        QPointer<QWidget> left(modal);
        QTimer::singleShot(3000, [left] {
            if (left && left->isVisible())
                left->close();
        });
    });
    timer->start();
}

// Types the name into the dialog's name field and accepts it through the dialog's own checks.
void AcceptFileName(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    static_cast<QDialog*>(dialog)->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

struct Harness {
    Harness() {
        owner.resize(200, 100);
        owner.show();
        services.SetOwner(&owner);
        services.SetBeforeModal([this] { ++renders; });
    }
    QWidget owner;
    QtServices services;
    int renders = 0;
};

const char* const kExportFilter = "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer "
                                  "Pro|*.tpl|PAL - paleta padrão JASC|*.pal";

struct KeyEater : QWidget { // as a control that has a use for Esc
    using QWidget::QWidget;
    void keyPressEvent(QKeyEvent* event) override { event->accept(); }
};

} // namespace

class ServicesTest : public QObject {
    Q_OBJECT
  private slots:
    void boxesAndDialogsAnswerFromTheirOwnLoopOverTheOwner();
    void fileDialogTakesATypedNameAndRemembersTheFilter();
    void saveDialogListsNamesInAnyCaseAndNeverAsksToOverwrite();
    void byteWindowShowsBothRowsWholeAboveItsScrollBar();
    void escapeCloserSeesEscBeforeTheControls();
    void filtersPathsAndKeysForQt();
    void messageBoxStyles();
    void qtsOwnTextsArePortugueseWhateverTheDesktopsLanguage();
    void systemColours();
};

void ServicesTest::boxesAndDialogsAnswerFromTheirOwnLoopOverTheOwner() {
    Harness h;
    OnModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->parentWidget(), &h.owner);
        QCOMPARE(box->windowTitle(), QStringLiteral("Zandrel")); // no title given
        box->button(QMessageBox::No)->click();
    });
    QCOMPARE(h.services.MessageBox("Deseja realmente sair?", 292), 7);
    // The unsaved edit's question: S and N press Sim and Não, Esc is Cancelar, Enter Sim.
    for (const auto& [key, choice] : {std::pair{Qt::Key_N, Choice::No},
                                      {Qt::Key_S, Choice::Yes},
                                      {Qt::Key_Escape, Choice::Cancel},
                                      {Qt::Key_Return, Choice::Yes}}) {
        OnModal([key](QWidget* modal) {
            QTest::keyClick(modal, key, key < Qt::Key_Escape ? Qt::AltModifier : Qt::NoModifier);
        });
        QCOMPARE(h.services.AskYesNoCancel("Salvar agora?"), choice);
    }
    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->labelText(), QStringLiteral("Digite a localização HEX"));
        const QList<QAbstractButton*> buttons = dialog->findChild<QDialogButtonBox*>()->buttons();
        QCOMPARE(buttons.at(0)->text() + buttons.at(1)->text(), "OKCancelar");
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("1f0"));
        dialog->accept();
    });
    QCOMPARE(h.services.InputBox("Digite a localização HEX"), std::string("1f0"));
    OnModal([](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(), QStringLiteral("200"));
        static_cast<QDialog*>(modal)->reject();
    });
    QCOMPARE(h.services.InputBox("x"), std::string());
    QCOMPARE(h.renders, 7);
    // The colour dialog starts at the colour, with the custom colours.
    CustomColorTable custom{};
    custom[15] = 0x030201;
    QColorDialog::setCustomColor(0, Qt::magenta); // an earlier dialog's: gone at the next
    RgbColor colour = 0x0000FF;                   // red in the low byte
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->currentColor(), QColor(0xFF, 0, 0));
        QCOMPARE(QColorDialog::customColor(0), QColor(0, 0, 0));
        QCOMPARE(QColorDialog::customColor(15), QColor(1, 2, 3));
        dialog->setCurrentColor(QColor(0x01, 0x02, 0x03));
        dialog->accept();
    });
    QVERIFY(h.services.ChooseColor(colour, custom));
    QCOMPARE(colour, RgbColor{0x030201});
    // The preview reads the image anew each time.
    testing::TempDir folder;
    const QString image = QString::fromStdString(folder.File("preview01.png"));
    for (const QColor fill : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage picture(403, 140, QImage::Format_RGB32);
        picture.fill(fill); // same name, size and second: a cached picture would stay red
        QVERIFY(picture.save(image, "PNG"));
        OnModal([&](QWidget* modal) {
            QCOMPARE(modal->parentWidget(), &h.owner);
            auto* area = modal->findChild<QLabel*>(QStringLiteral("Picture1"));
            QCOMPARE(area->pixmap().toImage().pixelColor(0, 0), fill);
            QTest::keyClick(area, Qt::Key_Escape);
            QVERIFY(!modal->isVisible());
        });
        h.services.ShowPreviewWindow(image.toStdString(), false);
    }
}

void ServicesTest::fileDialogTakesATypedNameAndRemembersTheFilter() {
    Harness h;
    testing::TempDir folder;
    const QString typed = QString::fromStdString(folder.File("novo.pal"));
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->parentWidget(), &h.owner);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Abrir"));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(SelectedFilterIndex(*dialog), 0); // the run's first dialog
        dialog->selectNameFilter(dialog->nameFilters().at(2));
        AcceptFileName(dialog, typed); // a name that does not exist yet
    });
    QCOMPARE(h.services.ShowOpenDialog("Abrir", kExportFilter, ""), typed.toStdString());

    // The next dialog of either kind with that many entries starts on the confirmed one. The
    // context menu's palette-file dialogs remember their own entry, which the others never see.
    using Show = std::function<std::string(const char*)>;
    const Show shared = [&](const char* f) { return h.services.ShowSaveDialog("Salvar", f, ""); };
    const Show own = [&](const char* f) { return h.services.ShowPaletteSaveDialog("E", f); };
    const Show ownOpen = [&](const char* f) { return h.services.ShowPaletteOpenDialog("I", f); };
    const std::tuple<Show, const char*, int, int> dialogs[] = {
        {shared, kExportFilter, 2, -1}, {shared, "ROMs|*.gba", 0, -1},
        {own, kExportFilter, 0, 1},     {shared, kExportFilter, 2, -1},
        {own, kExportFilter, 1, -1},    {ownOpen, kExportFilter, 0, -1}};
    for (const auto& [show, filter, expected, confirm] : dialogs) {
        int preselected = -1;
        OnModal([&, confirm = confirm](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QCOMPARE(dialog->acceptMode(), dialog->windowTitle() == "I" ? QFileDialog::AcceptOpen
                                                                        : QFileDialog::AcceptSave);
            preselected = SelectedFilterIndex(*dialog);
            if (confirm < 0)
                return dialog->reject();
            dialog->selectNameFilter(dialog->nameFilters().at(confirm));
            AcceptFileName(dialog, typed);
        });
        QCOMPARE(show(filter), confirm < 0 ? std::string() : typed.toStdString());
        QCOMPARE(preselected, expected);
    }
}

void ServicesTest::saveDialogListsNamesInAnyCaseAndNeverAsksToOverwrite() {
    testing::TempDir folder;
    for (const char* name : {"lower.gbapal", "Mixed.GbaPal", "other.pal"})
        folder.WriteText(name, "x");
    FilterMemory memory;
    auto dialog = MakeFileDialog(nullptr, FileDialogKind::Save, "Salvar",
                                 "GBAPAL - Paleta do GBA|*.GBAPAL", memory);
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    dialog->setDirectory(QString::fromStdString(folder.path().string()));
    dialog->show();
    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 2);
    QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
             QStringLiteral("GBAPAL - Paleta do GBA")); // as the program wrote it
}

// The box was sized for two rows without the document's margin, so on a palette above 16
// colours the sideways scroll bar covered part of the second row.
void ServicesTest::byteWindowShowsBothRowsWholeAboveItsScrollBar() {
    Harness h;
    const std::string rows = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"
                             "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F";
    for (const bool wide : {false, true}) {
        OnModal([&](QWidget* modal) {
            auto* text = modal->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
            QVERIFY(text != nullptr);
            QCOMPARE(QApplication::focusWidget(), text);
            QCOMPARE(text->horizontalScrollBar()->isVisible(), wide);
            QTextCursor end(text->document());
            end.movePosition(QTextCursor::End);
            QVERIFY(text->cursorRect(end).bottom() < text->viewport()->height());
            QTextCursor first(text->document());
            first.movePosition(QTextCursor::EndOfLine);
            QVERIFY(text->cursorRect(first).right() < text->viewport()->width());
            const QRect hint = modal->findChild<QLabel*>(QStringLiteral("Label1"))->geometry();
            QVERIFY(hint.top() > text->geometry().bottom() && modal->rect().contains(hint));
            QTest::keyClick(text, Qt::Key_Escape);
            QVERIFY(!modal->isVisible());
        });
        h.services.ShowByteWindow(wide ? rows + " 20 21 22 23 24 25 26 27" : rows);
    }
    QCOMPARE(h.renders, 2);
}

void ServicesTest::escapeCloserSeesEscBeforeTheControls() {
    QDialog dialog;
    QDialog other;
    auto* eater = new KeyEater(&dialog);
    auto* otherEater = new KeyEater(&other);
    new EscapeCloser(&dialog);
    dialog.show();
    other.show();
    QTest::keyClick(otherEater, Qt::Key_Escape); // another window's Esc
    QVERIFY(dialog.isVisible());
    QTest::keyClick(eater, Qt::Key_A);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(eater, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void ServicesTest::filtersPathsAndKeysForQt() {
    QCOMPARE(QtNameFilters("A|*.a|Imagens|*.bmp;*.gif|B"),
             QStringList({"A (*.a)", "Imagens (*.bmp *.gif)"}));
    QCOMPARE(QtNameFilters(""), QStringList{});
    const QString at259 = QStringLiteral("/") + QString(258, QChar(0x00E7)); // not bytes
    QCOMPARE(AcceptedPath(at259), at259.toStdString());
    QCOMPARE(AcceptedPath(at259 + u'a'), std::string());
    // As a failed dialog: a NUL, and bytes Qt could not decode (U+FFFD) naming nothing.
    QCOMPARE(AcceptedPath(QStringLiteral("/tmp/c.gba") + QChar(0) + QStringLiteral(".dmp")) +
                 AcceptedPath(QStringLiteral("/tmp/lat\uFFFD.dmp")),
             std::string());
    const std::pair<int, int> keypad[] = {
        {Qt::Key_Asterisk, 106}, {Qt::Key_Comma, 110}, {Qt::Key_9, 105}, {Qt::Key_Up, 38}};
    for (const auto& [key, code] : keypad)
        QCOMPARE(VirtualKeyCode(key, Qt::KeypadModifier), code);
    const std::pair<int, int> keys[] = {
        {Qt::Key_Alt, 18},   {Qt::Key_CapsLock, 20}, {Qt::Key_Backtab, 9},
        {Qt::Key_Enter, 13}, {Qt::Key_Right, 39},    {Qt::Key_9, 57},
        {Qt::Key_Z, 90},     {Qt::Key_F24, 135},     {Qt::Key_Asterisk, 0}};
    for (const auto& [key, code] : keys)
        QCOMPARE(VirtualKeyCode(key, Qt::NoModifier), code);
    QCOMPARE(ShiftState(Qt::KeypadModifier | Qt::ControlModifier), 2);
    QCOMPARE(ShiftState(Qt::ShiftModifier | Qt::AltModifier), 5);
}

void ServicesTest::messageBoxStyles() {
    using B = QMessageBox;
    const std::tuple<int, B::Icon, QString> styles[] = {{0, B::NoIcon, "OK"},
                                                        {16, B::Critical, "OK"},
                                                        {48, B::Warning, "OK"},
                                                        {64, B::Information, "OK"},
                                                        {292, B::Question, "&Sim&Não"}};
    for (const auto& [style, icon, buttons] : styles) {
        QMessageBox box;
        SetUpMessageBox(box, "Zandrel\r\n<b>x</b>", style, "Sair", style == 16 ? "a\r\nb" : "");
        QCOMPARE(box.windowTitle() + box.text(), QStringLiteral("SairZandrel\n<b>x</b>"));
        QCOMPARE(box.textFormat(), Qt::PlainText);
        QCOMPARE(box.icon(), icon);
        QString texts; // the program's own, whatever the desktop's language
        for (const B::StandardButton button : {B::Ok, B::Yes, B::No})
            texts += box.button(button) != nullptr ? box.button(button)->text() : QString();
        QCOMPARE(texts, buttons);
        // The question's default answer, and Esc's, is No.
        QCOMPARE(box.standardButton(box.defaultButton()), style == 292 ? B::No : B::Ok);
        QCOMPARE(AnswerCode(box, style), style == 292 ? 7 : 1);
        QCOMPARE(box.detailedText(), style == 16 ? QStringLiteral("a\nb") : QString());
    }
    QMessageBox question; // its accelerators and answers are tested over the owner
    SetUpYesNoCancel(question, "x");
    QCOMPARE(question.icon(), B::Question);
    QCOMPARE(question.escapeButton()->text() + question.defaultButton()->text(), "Cancelar&Sim");
}

// The gui tests run with LANG=C: Qt's English until its Portuguese is loaded.
void ServicesTest::qtsOwnTextsArePortugueseWhateverTheDesktopsLanguage() {
    const auto cancelText = [] {
        QColorDialog dialog;
        return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
    };
    testing::TempDir empty;
    QVERIFY(!LoadQtPortuguese(*qApp, QString::fromStdString(empty.path().string())));
    QVERIFY(qApp->findChildren<QTranslator*>().isEmpty());
    QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    PrepareApplication(*qApp);
    const std::unique_ptr<QTranslator> loaded(qApp->findChild<QTranslator*>()); // gone at the end
    QCOMPARE(cancelText(), QStringLiteral("Cancelar"));
}

void ServicesTest::systemColours() {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0x11, 0x22, 0x33));
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(palette);
    QtServices services;
    QCOMPARE(services.SystemColors()[15], RgbColor{0x332211}); // button face, red low
    QApplication::setPalette(saved);
}

QTEST_MAIN(ServicesTest)

#include "tst_services.moc"
