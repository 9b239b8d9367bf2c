// The main window as it starts: every control's box, caption, state, colours, tab order.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionSlider>

#include "Controls.h"
#include "WindowHarness.h"

using zandrel::testing::WindowHarness;

class LayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void windowIsFixedAt479By306WithItsCaption();
    void controlStartsAtItsBox_data();
    void controlStartsAtItsBox();
    void swatchesStandInTwoRowsOfEight();
    void focusStartsOnCommand1AndTabFollowsTheTable();
    void accessKeyOfLabel2FocusesTheList();
    void coloursAndFontsOfTheLabels();
    void slidersRunFrom0AtTheBottomTo31AtTheTop();
    void specialWordShowsTheSpecialButton();
    void paletteListRefreshesOnlyWhenItsRowsChange();
    void renderShowsEveryFieldOfTheModel();
};

void LayoutTest::windowIsFixedAt479By306WithItsCaption() {
    WindowHarness h;
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Zandrel"));
    QCOMPARE(h.window->size(), QSize(479, 306));
    QCOMPARE(h.window->minimumSize(), QSize(479, 306));
    QCOMPARE(h.window->maximumSize(), QSize(479, 306));
}

void LayoutTest::controlStartsAtItsBox_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption"); // empty for controls without one
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");

    auto row = [](const char* name, QRect twips, const char* caption, bool enabled, bool visible) {
        QTest::newRow(name) << QString::fromLatin1(name) << twips << QString::fromUtf8(caption)
                            << enabled << visible;
    };
    row("Command1", {240, 240, 1695, 495}, "&ABRIR ROM", true, true);
    row("Command2", {1920, 240, 1695, 495}, "&SALVAR", false, true);
    row("Command3", {3600, 240, 1695, 495}, "S&OBRE", true, true);
    row("Command4", {5280, 240, 1695, 495}, "SA&IR", true, true);
    row("cmdSpecial", {5280, 720, 1695, 495}, "Especial", true, false);
    row("txtArquivo", {120, 840, 6975, 285}, "", true, true);
    row("lblGame", {120, 1200, 6975, 255}, "...", true, true);
    row("Label2", {240, 1560, 615, 255}, "&Paletas:", true, true);
    row("cmdRecarrega", {1920, 1560, 1935, 255}, "&Recarregar", false, true);
    row("lblLoc", {4200, 1560, 735, 255}, "000000", true, false);
    row("lblLocOpt", {5280, 1560, 855, 255}, "000000", true, false);
    row("List1", {240, 1800, 3615, 2400}, "", true, true);
    row("cmdImp", {4080, 2640, 1095, 255}, "I&mportar", false, true);
    row("cmdExp", {5160, 2640, 1095, 255}, "&Exportar", false, true);
    row("cmdAmostra", {4080, 2880, 1095, 255}, "Amostra", false, true);
    row("cmdExibir", {5160, 2880, 1095, 255}, "E&xibir bytes", false, true);
    row("BlueScroll", {6360, 2760, 255, 1695}, "", true, true);
    row("GreenScroll", {6600, 2760, 255, 1695}, "", true, true);
    row("RedScroll", {6840, 2760, 255, 1695}, "", true, true);
    row("Picture1", {4080, 3240, 975, 975}, "", true, true);
    row("lblColor", {5160, 3840, 1095, 375}, "0000", true, true);
    row("lblBlue", {5400, 4320, 255, 255}, "00", true, true);
    row("lblGreen", {5640, 4320, 255, 255}, "00", true, true);
    row("lblRed", {5880, 4320, 255, 255}, "00", true, true);
    row("lblLocaliza", {240, 4200, 3135, 255}, "Localização:", true, true);
    row("lstColor", {120, 3600, 1695, 450}, "", true, false);
    row("lstCount", {1800, 3600, 1455, 450}, "", true, false);
}

void LayoutTest::controlStartsAtItsBox() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);

    WindowHarness h;
    auto* widget = h.Find<QWidget>(name.toLatin1().constData());
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->isVisible(), visible);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), caption);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), caption);
}

void LayoutTest::swatchesStandInTwoRowsOfEight() {
    WindowHarness h;
    const int lefts[] = {4080, 4440, 4800, 5160, 5520, 5880, 6240, 6600};
    for (int i = 0; i < 16; ++i) {
        auto* swatch = h.Find<zandrel::SwatchButton>(QStringLiteral("Opt%1").arg(i).toLatin1());
        QCOMPARE(swatch->geometry(), QRect(lefts[i % 8] / 15, (i < 8 ? 1800 : 2160) / 15, 25, 25));
        QVERIFY(swatch->isVisible());
        QVERIFY(swatch->isCheckable());
        QVERIFY(!swatch->isChecked());
        QVERIFY(swatch->text().isEmpty());
        QCOMPARE(swatch->colour(), QColor(0xF0, 0xF0, 0xF0));
    }
}

void LayoutTest::focusStartsOnCommand1AndTabFollowsTheTable() {
    WindowHarness h;
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("Command1"));

    QStringList expected{"Command1", "Command2", "Command3", "Command4", "txtArquivo", "List1"};
    for (int i = 0; i < 16; ++i)
        expected << QStringLiteral("Opt%1").arg(i);
    expected << "Picture1"
             << "BlueScroll"
             << "GreenScroll"
             << "RedScroll"
             << "cmdImp"
             << "cmdExp"
             << "cmdSpecial"
             << "cmdRecarrega"
             << "cmdAmostra"
             << "cmdExibir";

    // The focus chain, keeping only the controls that take focus from the Tab key.
    QStringList chain;
    QWidget* start = h.Find<QWidget>("Command1");
    QWidget* widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == h.window.get() &&
            widget != h.window.get() && widget->parentWidget() == h.window.get())
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != start);
    QCOMPARE(chain, expected);

    // Tab skips the buttons that start disabled.
    for (const char* name : {"Command3", "Command4", "txtArquivo", "List1", "Opt0", "Opt1"}) {
        zandrel::testing::PressKey(h.window.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
    }
}

void LayoutTest::accessKeyOfLabel2FocusesTheList() {
    WindowHarness h;
    QCOMPARE(h.Find<QLabel>("Label2")->buddy(), h.Find<QWidget>("List1"));
    zandrel::testing::PressKey(h.window.get(), Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), h.Find<QWidget>("List1"));
}

void LayoutTest::coloursAndFontsOfTheLabels() {
    WindowHarness h;
    auto* path = h.Find<QLineEdit>("txtArquivo");
    QCOMPARE(path->palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(path->palette().color(QPalette::Text), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(path->text(), QString::fromStdString(h.services.programFolder));

    auto* word = h.Find<QLabel>("lblColor");
    QCOMPARE(word->font().pointSize(), 18);
    QVERIFY(word->font().bold());

    const std::pair<const char*, QColor> values[] = {
        {"lblBlue", Qt::blue}, {"lblGreen", Qt::green}, {"lblRed", Qt::red}};
    for (const auto& [name, colour] : values) {
        auto* label = h.Find<QLabel>(name);
        QCOMPARE(label->palette().color(QPalette::WindowText), colour);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(label->autoFillBackground());
    }
}

void LayoutTest::slidersRunFrom0AtTheBottomTo31AtTheTop() {
    WindowHarness h;
    for (const char* name : {"BlueScroll", "GreenScroll", "RedScroll"}) {
        auto* slider = h.Find<QSlider>(name);
        QCOMPARE(slider->orientation(), Qt::Vertical);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 31);
        QCOMPARE(slider->singleStep(), 1);
        QCOMPARE(slider->pageStep(), 1);
        QCOMPARE(slider->value(), 0);
        QVERIFY(!slider->hasTracking());

        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = Qt::Vertical;
        option.minimum = 0;
        option.maximum = 31;
        option.upsideDown = !slider->invertedAppearance();
        option.sliderPosition = 31;
        const QRect top = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                          QStyle::SC_SliderHandle, slider);
        option.sliderPosition = 0;
        const QRect bottom = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderHandle, slider);
        QVERIFY(top.top() < bottom.top());
    }
}

void LayoutTest::specialWordShowsTheSpecialButton() {
    WindowHarness plain("kaldrex x");
    QVERIFY(!plain.Find<QWidget>("cmdSpecial")->isVisible());
    WindowHarness special("KalDrex");
    auto* button = special.Find<QAbstractButton>("cmdSpecial");
    QVERIFY(button->isVisible());
    // It reaches down over the path field and must stay clickable there.
    QCOMPARE(special.window->childAt(button->geometry().center()), button);
}

void LayoutTest::paletteListRefreshesOnlyWhenItsRowsChange() {
    WindowHarness h;
    auto* list = h.Find<QListView>("List1");
    std::vector<std::string> rows;
    for (int k = 0; k < 32767; ++k)
        rows.push_back("Paleta " + std::to_string(k));
    h.model().List1.Assign(std::move(rows));

    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
    // How fast the rows show is the benchmarks' business (bench/), not a test's.
    h.window->Render();
    list->scrollToBottom();
    QCoreApplication::processEvents();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(list->model()->rowCount(), 32767);
    QCOMPARE(list->model()->index(32766, 0).data().toString(), QStringLiteral("Paleta 32766"));

    h.window->Render();
    QCOMPARE(resets.count(), 1); // same revision: the view keeps its rows

    h.model().List1.selected = 20000;
    h.window->Render();
    QCOMPARE(list->currentIndex().row(), 20000);
    QVERIFY(list->selectionModel()->isSelected(list->currentIndex()));
    h.model().List1.selected = -1; // a failed read leaves no row chosen
    h.window->Render();
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(resets.count(), 1);

    h.model().List1.Clear();
    h.window->Render();
    QCOMPARE(resets.count(), 2);
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
}

// The flows in the other tests check the model; this is where the window shows it.
void LayoutTest::renderShowsEveryFieldOfTheModel() {
    WindowHarness h;
    zandrel::FormModel& m = h.model();
    const std::pair<const char*, zandrel::Control*> controls[] = {{"Command1", &m.Command1},
                                                                  {"Command2", &m.Command2},
                                                                  {"Command3", &m.Command3},
                                                                  {"Command4", &m.Command4},
                                                                  {"cmdSpecial", &m.cmdSpecial},
                                                                  {"txtArquivo", &m.txtArquivo},
                                                                  {"lblGame", &m.lblGame},
                                                                  {"Label2", &m.Label2},
                                                                  {"cmdRecarrega", &m.cmdRecarrega},
                                                                  {"lblLoc", &m.lblLoc},
                                                                  {"lblLocOpt", &m.lblLocOpt},
                                                                  {"cmdImp", &m.cmdImp},
                                                                  {"cmdExp", &m.cmdExp},
                                                                  {"cmdAmostra", &m.cmdAmostra},
                                                                  {"cmdExibir", &m.cmdExibir},
                                                                  {"lblColor", &m.lblColor},
                                                                  {"lblBlue", &m.lblBlue},
                                                                  {"lblGreen", &m.lblGreen},
                                                                  {"lblRed", &m.lblRed},
                                                                  {"lblLocaliza", &m.lblLocaliza}};
    // Every caption, state and visibility turned from how it starts.
    for (const auto& [name, control] : controls) {
        control->caption = std::string("Ç ") + name;
        control->enabled = !control->enabled;
        control->visible = !control->visible;
    }
    for (std::size_t i = 0; i < 16; ++i)
        m.Opt[i] = {static_cast<zandrel::RgbColor>(0x030201 * i), i % 3 != 0, i % 2 == 0};
    m.BlueScroll = 3;
    m.GreenScroll = 17;
    m.RedScroll = 31;
    m.Picture1 = 0x123456;

    h.window->Render();

    for (const auto& [name, control] : controls) {
        auto* widget = h.Find<QWidget>(name);
        QCOMPARE(widget->isEnabled(), control->enabled);
        QCOMPARE(widget->isVisible(), control->visible);
        const QString caption = QString::fromUtf8(control->caption.c_str());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QCOMPARE(button->text(), caption);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), caption);
        else
            QCOMPARE(qobject_cast<QLineEdit*>(widget)->text(), caption);
    }
    for (int i = 0; i < 16; ++i) {
        auto* swatch = zandrel::testing::SwatchAt(h, i);
        QCOMPARE(swatch->colour(), QColor(i, 2 * i, 3 * i)); // red in the low byte
        QCOMPARE(swatch->isVisible(), i % 3 != 0);
        QCOMPARE(swatch->isChecked(), i % 2 == 0);
    }
    QCOMPARE(h.Find<QSlider>("BlueScroll")->value(), 3);
    QCOMPARE(h.Find<QSlider>("GreenScroll")->value(), 17);
    QCOMPARE(h.Find<QSlider>("RedScroll")->value(), 31);
    QCOMPARE(h.Find<zandrel::ColourSample>("Picture1")->colour(), QColor(0x56, 0x34, 0x12));
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
