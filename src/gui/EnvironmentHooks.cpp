#include "EnvironmentHooks.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>

#include <QCoreApplication>
#include <QTimer>

#include "MainWindow.h"
#include "app/MainForm.h"

namespace zandrel {

namespace {

std::optional<int> NumberFromEnvironment(const char* variable) {
    const char* text = std::getenv(variable);
    int number = 0;
    if (text == nullptr ||
        std::from_chars(text, text + std::strlen(text), number).ec != std::errc())
        return std::nullopt;
    return number;
}

} // namespace

HookedServices::HookedServices()
    : previewRow_(NumberFromEnvironment("ZANDREL_PREVIEW_ROW")),
      quitAfterShow_(std::getenv("ZANDREL_QUIT_AFTER_SHOW") != nullptr) {
    if (const char* path = std::getenv("ZANDREL_BENCH_OPEN"))
        benchOpen_ = path;
}

void HookedServices::ScheduleHooks(MainForm& form, MainWindow& window) {
    if (benchOpen_ || previewRow_ || quitAfterShow_)
        QTimer::singleShot(0, &window, [this, &form, &window] { RunHooks(form, window); });
}

void HookedServices::RunHooks(MainForm& form, MainWindow& window) {
    if (benchOpen_) {
        openAnswer_ = *benchOpen_;
        form.Command1_Click();
        window.Render();
    }
    if (previewRow_) {
        form.ChooseRow(*previewRow_);
        std::cout << "row: " << form.model().List1.Row(*previewRow_) << std::endl;
        form.cmdAmostra_Click();
        window.Render();
    }
    // exit(), not quit(): quitting closes the window, which asks the quit question.
    if (quitAfterShow_)
        QCoreApplication::exit(0);
}

std::string HookedServices::ShowOpenDialog(const std::string& title, const std::string& filter,
                                           const std::string& defaultExt) {
    if (!openAnswer_.empty())
        return std::exchange(openAnswer_, {});
    return QtServices::ShowOpenDialog(title, filter, defaultExt);
}

void HookedServices::ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) {
    if (!previewRow_)
        return QtServices::ShowPreviewWindow(imagePath, gbaScreen);
    std::cout << "preview: " << imagePath << std::endl;
}

Choice HookedServices::AskYesNoCancel(const std::string& question) {
    if (!previewRow_)
        return QtServices::AskYesNoCancel(question);
    std::cout << "message: " << question << std::endl;
    return Choice::No;
}

int HookedServices::ShowMessage(const std::string& text, int style, const std::string& title,
                                const std::string& details) {
    if (!previewRow_)
        return QtServices::ShowMessage(text, style, title, details);
    std::cout << "message: " << text << std::endl;
    return style == kStyleQuestionYesNo ? kAnswerNo : kAnswerOk;
}

} // namespace zandrel
