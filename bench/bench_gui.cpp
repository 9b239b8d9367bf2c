// The open command on the largest ROM through the real window: the lists filled and shown by
// the palette list model of a window drawn offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include "GraphicsWindow.h"

#include "BenchData.h"
#include "MainWindow.h"
#include "app/MainForm.h"

namespace {

using namespace zandrel;
using namespace zandrel::bench;

// The window of the form loaded, whose open answers the largest ROM.
struct LargestRomWindow {
    NoServices services;
    AppState app;
    MainForm form{app, services};
    MainWindow window{form};
    LargestRomWindow() {
        services.openAnswer = LargestRomPath();
        form.Form_Load(BenchStart());
    }
};

void BM_OpenLargestRomIntoTheWindow(benchmark::State& state) {
    LargestRomWindow loaded;
    MainForm& form = loaded.form;
    MainWindow& window = loaded.window;
    window.Render();
    window.show();
    auto* list = window.findChild<QListView*>(QStringLiteral("List1"));
    for (auto _ : state) {
        form.Command1_Click();
        window.Render();
        QApplication::processEvents(); // the view lays out and paints the new rows
        if (list == nullptr || list->model()->rowCount() != 32767)
            state.SkipWithError("the list model did not fill");
    }
}
BENCHMARK(BM_OpenLargestRomIntoTheWindow)->Unit(benchmark::kMillisecond);

// A slider moved with the window Gráficos open on a 64 KiB view (32 tiles by 64 rows of
// 4bpp) at zoom 1: the window drawn again and the view painted into it, as after every
// swatch change.
void BM_ViewerWindowRedrawAfterSlider(benchmark::State& state) {
    LargestRomWindow loaded;
    MainForm& form = loaded.form;
    MainWindow& window = loaded.window;
    form.Command1_Click();
    form.ChooseRow(0);
    form.mnuGraphics_Click();
    window.Render();
    window.show();
    auto* viewer = window.findChild<GraphicsWindow*>();
    auto* canvas = viewer->findChild<QWidget*>(QStringLiteral("picView"));
    GraphicsForm& graphics = form.graphics();
    graphics.SetZoom(1);
    graphics.SetWidth(32);
    viewer->resize(400, 64 * 8 + (viewer->height() - canvas->height()));
    QApplication::processEvents();
    graphics.SetRows(64); // whatever room the platform gave the canvas
    form.Opt_Click(3);
    int red = 0;
    for (auto _ : state) {
        red = (red + 1) % 32;
        form.SetSliderValue(SliderId::Red, red);
        window.Render();
        canvas->repaint();
    }
    if (graphics.viewer().Pixels().size() != 2048u * 64)
        state.SkipWithError("the view is not 2048 tiles");
}
BENCHMARK(BM_ViewerWindowRedrawAfterSlider)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
