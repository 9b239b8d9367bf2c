// The window "Gráficos"'s wiring: F4 opens it, a swatch edit redraws it at once, a click on a
// pixel selects its swatch and Esc closes it. What the viewer shows is the core's tests.
#include <QLineEdit>

#include "GraphicsWindow.h"
#include "WindowHarness.h"

using namespace zandrel;
using namespace zandrel::testing;

class GraphicsTest : public QObject {
    Q_OBJECT
  private slots:
    void f4OpensItAndASwatchEditRedrawsItAtOnce();
};

// The pattern dump's first byte is 03: the view's first pixel is index 3, the next index 0;
// at zoom 2 each takes two by two of the window's.
void GraphicsTest::f4OpensItAndASwatchEditRedrawsItAtOnce() {
    WindowHarness h;
    OpenPatternDump(h);
    ClickRow(h, 1);
    QVERIFY(h.window->findChild<GraphicsWindow*>() == nullptr);
    PressKey(h.window.get(), Qt::Key_F4);
    auto* viewer = h.window->findChild<GraphicsWindow*>(QStringLiteral("frmGraficos"));
    QVERIFY(viewer != nullptr && viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Gráficos"));
    QCOMPARE(viewer->findChild<QLineEdit*>(QStringLiteral("txtLocation"))->text(),
             QStringLiteral("0"));
    auto* canvas = viewer->findChild<QWidget*>(QStringLiteral("picView"));
    const auto firstPixel = [canvas] { return QColor(canvas->grab().toImage().pixel(1, 1)); };
    QCOMPARE(firstPixel(), SwatchAt(h, 3)->colour());

    Click(SwatchAt(h, 3));
    h.services.inputAnswers.push_back("#FF0000");
    PressKey(h.window.get(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(firstPixel(), QColor(0xFF, 0, 0));

    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(3, 1));
    QCOMPARE(h.model().OptSelected, 0);
    QVERIFY(SwatchAt(h, 0)->isChecked());

    QTest::keyClick(canvas, Qt::Key_Escape);
    QVERIFY(!viewer->isVisible());
    QVERIFY(!h.model().graphicsShown);
    QVERIFY(h.window->isVisible());
}

QTEST_MAIN(GraphicsTest)
#include "tst_graphics.moc"
