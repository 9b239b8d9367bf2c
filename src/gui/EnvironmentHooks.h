// Hooks for bench/run.sh and the install test, inert unless their variables are set:
//   ZANDREL_BENCH_OPEN=path    once the window is shown, runs the open command with `path` as
//                              the open dialog's answer (the file is then open, its list filled);
//   ZANDREL_PREVIEW_ROW=n      then chooses row n of the palette list and runs the preview
//                              command; prints "row: " and the row's name, then "preview: " and
//                              the image the preview window shows, in place of showing it, and
//                              "message: " and the text of every message box, in place of
//                              waiting for a person (a question is answered No);
//   ZANDREL_QUIT_AFTER_SHOW=1  quits as soon as the first window is shown (after the above).
#pragma once

#include <optional>
#include <string>

#include "QtServices.h"

namespace zandrel {

class MainForm;
class MainWindow;

// The program's desktop services with the hooks the variables ask for.
class HookedServices final : public QtServices {
  public:
    // Reads the variables.
    HookedServices();

    // Runs the hooks on `form` once `window` is shown.
    void ScheduleHooks(MainForm& form, MainWindow& window);

    std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override;
    void ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) override;
    Choice AskYesNoCancel(const std::string& question) override;

  protected:
    int ShowMessage(const std::string& text, int style, const std::string& title,
                    const std::string& details) override;

  private:
    void RunHooks(MainForm& form, MainWindow& window);

    std::optional<std::string> benchOpen_;
    std::optional<int> previewRow_;
    bool quitAfterShow_ = false;
    std::string openAnswer_; // the open dialog's next answer
};

} // namespace zandrel
