// The desktop services with their real modal boxes, dialogs and second windows, driven from
// inside their own loops.
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

#include "FileDialogs.h"
#include "QtServices.h"
#include "TempDir.h"

using namespace zandrel;

namespace {

// Runs `action` inside the loop of the first modal window once it is the active window, so
// its own focus handling (a file dialog puts the focus in its name field) has already run. A
// window the action leaves open is closed after a while, so a failing test ends instead of
// hanging; the tests assert that their action closed it.
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

// Types the name into the dialog's name field, as a user does, and presses its accept button
// through the dialog's own checks; the dialog must then be closed with a choice.
void AcceptFileName(QFileDialog* dialog, const QString& name) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(field != nullptr);
    field->setText(name);
    static_cast<QDialog*>(dialog)->accept();
    QVERIFY(!dialog->isVisible());
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

} // namespace

class ModalsTest : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxesAnswerFromTheirOwnLoopOverTheWindow();
    void inputBoxStartsEmptyAndCancelGivesEmptyText();
    void colourDialogStartsAtTheColourWithTheGivenCustomColours();
    void openDialogAcceptsANewNameAndRemembersTheFilter();
    void tooLongPathGivesEmptyTextAndKeepsTheFilter();
    void saveDialogNeverAsksBeforeOverwriting();
    void previewShowsTheImageAnewEachTimeAndEscCloses();
    void byteWindowShowsTwoRowsInAFixedFontAndEscCloses();
};

// The boxes' titles, icons and buttons for each style are in tst_services.
void ModalsTest::messageBoxesAnswerFromTheirOwnLoopOverTheWindow() {
    Harness h;
    OnModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->parentWidget(), &h.owner);
        QCOMPARE(box->text(), QStringLiteral("Deseja realmente sair?"));
        box->button(QMessageBox::No)->click();
    });
    QCOMPARE(h.services.MessageBox("Deseja realmente sair?", 292, "Sair"), 7);
    QCOMPARE(h.renders, 1);

    OnModal([](QWidget* modal) {
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
    });
    QCOMPARE(h.services.MessageBox("Deseja realmente sair?", 292, "Sair"), 6);

    // Without a title the box shows the program's.
    OnModal([](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Zandrel"));
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QCOMPARE(h.services.MessageBox("Paleta salva.", 64), 1);
}

void ModalsTest::inputBoxStartsEmptyAndCancelGivesEmptyText() {
    Harness h;
    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Zandrel"));
        QCOMPARE(dialog->labelText(), QStringLiteral("Digite a localização HEX"));
        QCOMPARE(dialog->textValue(), QString());
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("1f0"));
        dialog->accept();
    });
    QCOMPARE(h.services.InputBox("Digite a localização HEX"), std::string("1f0"));

    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("200"));
        dialog->reject();
    });
    QCOMPARE(h.services.InputBox("Digite nova localização HEX"), std::string());
    QCOMPARE(h.renders, 2);
}

void ModalsTest::colourDialogStartsAtTheColourWithTheGivenCustomColours() {
    Harness h;
    CustomColorTable custom{};
    for (std::size_t k = 0; k < custom.size(); ++k)
        custom[k] = static_cast<RgbColor>(0x010203 * (k + 1));
    // A colour the user stored in an earlier dialog is gone at the next opening.
    QColorDialog::setCustomColor(0, Qt::magenta);

    RgbColor colour = 0x0000FF; // red
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->currentColor(), QColor(0xFF, 0, 0));
        for (int k = 0; k < 16; ++k) {
            const RgbColor c = custom[static_cast<std::size_t>(k)];
            QCOMPARE(QColorDialog::customColor(k),
                     QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        }
        dialog->setCurrentColor(QColor(0x01, 0x02, 0x03));
        dialog->accept();
    });
    QVERIFY(h.services.ChooseColor(colour, custom));
    QCOMPARE(colour, RgbColor{0x030201});
    QCOMPARE(h.renders, 1);

    // A cancel leaves the colour.
    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        dialog->setCurrentColor(Qt::white);
        dialog->reject();
    });
    QVERIFY(!h.services.ChooseColor(colour, custom));
    QCOMPARE(colour, RgbColor{0x030201});
}

void ModalsTest::openDialogAcceptsANewNameAndRemembersTheFilter() {
    Harness h;
    testing::TempDir folder;
    const QString typed = QString::fromStdString(folder.File("novo.pal"));
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->parentWidget(), &h.owner);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Abrir"));
        QCOMPARE(SelectedFilterIndex(*dialog), 0); // the run's first dialog
        dialog->selectNameFilter(dialog->nameFilters().at(2));
        AcceptFileName(dialog, typed);
    });
    QCOMPARE(h.services.ShowOpenDialog("Abrir", kExportFilter, ""), typed.toStdString());

    // The third entry is preselected in the next dialog of either kind that has one.
    int preselected = -1;
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        preselected = SelectedFilterIndex(*dialog);
        dialog->reject();
    });
    QCOMPARE(h.services.ShowSaveDialog("Salvar", kExportFilter, ""), std::string());
    QCOMPARE(preselected, 2);

    OnModal([&](QWidget* modal) {
        preselected = SelectedFilterIndex(*qobject_cast<QFileDialog*>(modal));
        static_cast<QDialog*>(modal)->reject();
    });
    h.services.ShowOpenDialog("Abrir", "ROMs de GBA (*.gba)|*.gba", "");
    QCOMPARE(preselected, 0);
}

void ModalsTest::tooLongPathGivesEmptyTextAndKeepsTheFilter() {
    Harness h;
    testing::TempDir folder;
    // Folders that do not exist yet, each name short, the whole path 260 characters or more.
    QString path = QString::fromStdString(folder.path().string());
    while (path.size() < 260)
        path += QStringLiteral("/pasta-com-nome-bem-longo");
    path += QStringLiteral("/x.pal");
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        AcceptFileName(dialog, path); // the dialog takes it; the program refuses it
    });
    QCOMPARE(h.services.ShowSaveDialog("Salvar", kExportFilter, ""), std::string());

    int preselected = -1;
    OnModal([&](QWidget* modal) {
        preselected = SelectedFilterIndex(*qobject_cast<QFileDialog*>(modal));
        static_cast<QDialog*>(modal)->reject();
    });
    h.services.ShowSaveDialog("Salvar", kExportFilter, "");
    QCOMPARE(preselected, 0);
}

void ModalsTest::saveDialogNeverAsksBeforeOverwriting() {
    Harness h;
    testing::TempDir folder;
    const std::string existing = folder.WriteText("velha.pal", "JASC-PAL");
    bool askedAgain = false;
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        // A question about replacing the file would run its own loop: note it and close it.
        QTimer::singleShot(500, [&askedAgain] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                askedAgain = true;
                box->reject();
            }
        });
        AcceptFileName(dialog, QString::fromStdString(existing));
    });
    QCOMPARE(h.services.ShowSaveDialog("Salvar", kExportFilter, ""), existing);
    QVERIFY(!askedAgain);
}

void ModalsTest::previewShowsTheImageAnewEachTimeAndEscCloses() {
    Harness h;
    testing::TempDir folder;
    const QString image = QString::fromStdString(folder.File("preview01.png"));
    auto showWith = [&](QColor fill, QColor& seen) {
        QImage picture(403, 140, QImage::Format_RGB32);
        picture.fill(fill);
        QVERIFY(picture.save(image, "PNG"));
        OnModal([&](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Imagem de amostra"));
            QCOMPARE(modal->parentWidget(), &h.owner);
            auto* area = modal->findChild<QLabel*>(QStringLiteral("Picture1"));
            auto* hint = modal->findChild<QLabel*>(QStringLiteral("Label1"));
            QVERIFY(area != nullptr && hint != nullptr);
            QCOMPARE(area->geometry(), QRect(8, 0, 403, 140));
            QCOMPARE(hint->text(), QStringLiteral("Aperte ESC para voltar."));
            QVERIFY(hint->geometry().top() >= 140);
            QVERIFY(modal->rect().contains(hint->geometry()));
            seen = area->pixmap().toImage().pixelColor(0, 0);
            QTest::keyClick(area, Qt::Key_A);
            QVERIFY(modal->isVisible()); // other keys leave it open
            QTest::keyClick(area, Qt::Key_Escape);
            QVERIFY(!modal->isVisible());
        });
        h.services.ShowPreviewWindow(image.toStdString(), false);
    };
    QColor first;
    showWith(Qt::red, first);
    QCOMPARE(first, QColor(Qt::red));
    // Same name, size and second: a cached picture would still be red.
    QColor second;
    showWith(Qt::blue, second);
    QCOMPARE(second, QColor(Qt::blue));
    QCOMPARE(h.renders, 2);
}

void ModalsTest::byteWindowShowsTwoRowsInAFixedFontAndEscCloses() {
    Harness h;
    const std::string dump = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"
                             "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F";
    OnModal([&](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Bytes"));
        auto* text = modal->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        auto* hint = modal->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(text != nullptr && hint != nullptr);
        QCOMPARE(text->toPlainText(), QString::fromStdString(dump).replace("\r\n", "\n"));
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->font().pointSize(), 9);
        const QFontMetrics metrics(text->font());
        // The columns line up: digits, letters and the blank are equally wide.
        for (QChar ch : QStringLiteral("1AF "))
            QCOMPARE(metrics.horizontalAdvance(ch), metrics.horizontalAdvance(u'0'));
        QVERIFY(text->viewport()->width() >= metrics.horizontalAdvance(QString(47, u'0')));
        QVERIFY(text->viewport()->height() >= 2 * metrics.lineSpacing());
        QVERIFY(!text->horizontalScrollBar()->isVisible());
        QCOMPARE(hint->text(), QStringLiteral("Aperte ESC para voltar."));
        QVERIFY(hint->geometry().top() >= text->geometry().bottom());
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_X);
        QCOMPARE(text->toPlainText().size(), 95);
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!modal->isVisible());
    });
    h.services.ShowByteWindow(dump);
    QCOMPARE(h.renders, 1);

    // 20 colours: 24 bytes on the second row, which scrolls sideways and stays in view.
    const std::string wide = dump + " 20 21 22 23 24 25 26 27";
    OnModal([&](QWidget* modal) {
        auto* text = modal->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        QVERIFY(text->horizontalScrollBar()->isVisible());
        QVERIFY(text->viewport()->height() >= 2 * QFontMetrics(text->font()).lineSpacing());
        QTest::keyClick(text, Qt::Key_Escape);
    });
    h.services.ShowByteWindow(wide);
}

QTEST_MAIN(ModalsTest)
#include "tst_modals.moc"
