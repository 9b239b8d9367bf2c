// The open command on the largest ROM through the real window: the lists filled and shown by
// the palette list model of a window drawn offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include "BenchData.h"
#include "MainWindow.h"
#include "app/MainForm.h"

namespace {

using namespace zandrel;
using namespace zandrel::bench;

void BM_OpenLargestRomIntoTheWindow(benchmark::State& state) {
    NoServices services;
    services.openAnswer = LargestRomPath();
    AppState app;
    MainForm form(app, services);
    MainWindow window(form);
    form.Form_Load(BenchStart());
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
