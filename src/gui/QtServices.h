// The desktop services of the program: Qt message boxes, dialogs and the second windows.
#pragma once

#include <functional>

#include "FileDialogs.h"
#include "platform/Services.h"

class QWidget;

namespace zandrel {

class QtServices : public Services {
  public:
    QtServices() = default;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    // The window that owns every box and dialog.
    void SetOwner(QWidget* owner) { owner_ = owner; }
    // Called before every modal box, dialog or window, so the owner shows the current state.
    void SetBeforeModal(std::function<void()> render) { beforeModal_ = std::move(render); }

    std::string InputBox(const std::string& prompt) override;
    std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override;
    std::string ShowSaveDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override;
    std::string ShowPaletteOpenDialog(const std::string& title, const std::string& filter) override;
    std::string ShowPaletteSaveDialog(const std::string& title, const std::string& filter) override;
    bool ChooseColor(RgbColor& color, const CustomColorTable& customColors) override;
    CustomColorTable SystemColors() override;
    void ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) override;
    void ShowByteWindow(const std::string& text) override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    VersionNumbers Version() override;
    Choice AskYesNoCancel(const std::string& question) override;

  protected:
    int ShowMessage(const std::string& text, int style, const std::string& title,
                    const std::string& details) override;

  private:
    void BeforeModal();
    std::string FileDialog(FileDialogKind kind, const std::string& title, const std::string& filter,
                           FilterMemory& memory);

    QWidget* owner_ = nullptr;
    std::function<void()> beforeModal_;
    FilterMemory filters_; // the open, import and export dialogs share one
    // The context menu's palette-file dialogs each keep their own: their lists differ.
    FilterMemory paletteOpenFilters_;
    FilterMemory paletteSaveFilters_;
};

} // namespace zandrel
