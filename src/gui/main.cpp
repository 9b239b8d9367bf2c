// Zandrel: a palette editor for Game Boy Advance ROM images.
#include <QApplication>
#include <QTimer>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <utility>

#include "ApplicationStart.h"
#include "DesktopIdentity.h"
#include "MainWindow.h"
#include "QtServices.h"
#include "app/AppState.h"
#include "app/MainForm.h"
#include "app/StartArguments.h"

namespace {

// Hooks for bench/run.sh and the install test, inert unless their variables are set:
//   ZANDREL_BENCH_OPEN=path    once the window is shown, runs the open command with `path` as
//                              the open dialog's answer (the file is then open, its list filled);
//   ZANDREL_PREVIEW_ROW=n      then chooses row n of the palette list and runs the preview
//                              command; prints "row: " and the row's name, then "preview: " and
//                              the image the preview window shows, in place of showing it, and
//                              "message: " and the text of every message box, in place of
//                              waiting for a person (a question is answered No);
//   ZANDREL_QUIT_AFTER_SHOW=1  quits as soon as the first window is shown (after the above).
class HookServices final : public zandrel::QtServices {
  public:
    std::string openAnswer;
    bool printModals = false;

    std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override {
        if (!openAnswer.empty())
            return std::exchange(openAnswer, {});
        return QtServices::ShowOpenDialog(title, filter, defaultExt);
    }
    void ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) override {
        if (!printModals)
            return QtServices::ShowPreviewWindow(imagePath, gbaScreen);
        std::cout << "preview: " << imagePath << std::endl;
    }

  protected:
    int ShowMessage(const std::string& text, int style, const std::string& title) override {
        if (!printModals)
            return QtServices::ShowMessage(text, style, title);
        std::cout << "message: " << text << std::endl;
        return style == zandrel::kStyleQuestionYesNo ? zandrel::kAnswerNo : zandrel::kAnswerOk;
    }
};

std::optional<int> PreviewRowFromEnvironment() {
    const char* text = std::getenv("ZANDREL_PREVIEW_ROW");
    int row = 0;
    if (text == nullptr || std::from_chars(text, text + std::strlen(text), row).ec != std::errc())
        return std::nullopt;
    return row;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    zandrel::PrepareApplication(application);
    zandrel::ApplyDesktopIdentity(QCoreApplication::applicationDirPath());
    HookServices services;
    zandrel::AppState state;
    zandrel::MainForm form(state, services);
    zandrel::MainWindow window(form);
    services.SetOwner(&window);
    services.SetBeforeModal([&window] { window.Render(); });

    form.Form_Load();
    window.Render();
    window.show();
    // QApplication has taken its own options out of argv: what is left is the program's.
    const std::string startFile = zandrel::FileToOpenAtStart({argv + 1, argv + argc});
    if (!startFile.empty()) {
        QTimer::singleShot(0, &window, [&] {
            form.OpenFile(startFile);
            window.Render();
        });
    }

    const char* benchOpen = std::getenv("ZANDREL_BENCH_OPEN");
    const std::optional<int> previewRow = PreviewRowFromEnvironment();
    const bool quitAfterShow = std::getenv("ZANDREL_QUIT_AFTER_SHOW") != nullptr;
    services.printModals = previewRow.has_value();
    if (benchOpen != nullptr || previewRow || quitAfterShow) {
        QTimer::singleShot(0, &window, [&] {
            if (benchOpen != nullptr) {
                services.openAnswer = benchOpen;
                form.Command1_Click();
                window.Render();
            }
            if (previewRow) {
                form.model().List1.selected = *previewRow;
                form.List1_Click();
                std::cout << "row: " << form.model().List1.Row(*previewRow) << std::endl;
                form.cmdAmostra_Click();
                window.Render();
            }
            // exit(), not quit(): quitting closes the window, which asks the quit question.
            if (quitAfterShow)
                QCoreApplication::exit(0);
        });
    }
    return application.exec();
}
