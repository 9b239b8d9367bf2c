// Zandrel: a palette editor for Game Boy Advance ROM images.
#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <utility>

#include "MainWindow.h"
#include "QtServices.h"
#include "app/AppState.h"
#include "app/MainForm.h"

namespace {

// Hooks for bench/run.sh, inert unless their variables are set:
//   ZANDREL_BENCH_OPEN=path    once the window is shown, runs the open command with `path` as
//                              the open dialog's answer (the file is then open, its list filled);
//   ZANDREL_QUIT_AFTER_SHOW=1  quits as soon as the first window is shown (after that open).
class BenchServices final : public zandrel::QtServices {
  public:
    std::string openAnswer;
    std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override {
        if (!openAnswer.empty())
            return std::exchange(openAnswer, {});
        return QtServices::ShowOpenDialog(title, filter, defaultExt);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    BenchServices services;
    zandrel::AppState state;
    zandrel::MainForm form(state, services);
    zandrel::MainWindow window(form);
    services.SetOwner(&window);
    services.SetBeforeModal([&window] { window.Render(); });

    form.Form_Load();
    window.Render();
    window.show();
    const char* benchOpen = std::getenv("ZANDREL_BENCH_OPEN");
    const bool quitAfterShow = std::getenv("ZANDREL_QUIT_AFTER_SHOW") != nullptr;
    if (benchOpen != nullptr || quitAfterShow) {
        QTimer::singleShot(0, &window, [&] {
            if (benchOpen != nullptr) {
                services.openAnswer = benchOpen;
                form.Command1_Click();
                window.Render();
            }
            // exit(), not quit(): quitting closes the window, which asks the quit question.
            if (quitAfterShow)
                QCoreApplication::exit(0);
        });
    }
    return application.exec();
}
