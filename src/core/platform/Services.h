// What the commands ask of the desktop: boxes, dialogs, modal windows and process facts.
// The Qt program implements it with real dialogs; the tests with a scripted fake.
#pragma once

#include <array>
#include <string>

#include "util/ColourTypes.h"

namespace zandrel {

inline constexpr const char* kProgramTitle = "Zandrel";

// Message box styles and the answers of the Yes/No box.
enum MessageStyle : int {
    kStylePlain = 0,
    kStyleCritical = 16,
    kStyleExclamation = 48,
    kStyleInformation = 64,
    kStyleQuestionYesNo = 292, // Yes and No, question icon, No as the default button
};
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// The answer of a question box with the buttons Sim, Não and Cancelar.
enum class Choice { Yes, No, Cancel };

struct VersionNumbers {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

using CustomColorTable = std::array<RgbColor, 16>;

class Services {
  public:
    virtual ~Services() = default;

    // Shows a message box; a box given no title shows the program title. `details` (none when
    // empty) shows under the box's details button.
    int MessageBox(const std::string& text, int style, const std::string& title = {},
                   const std::string& details = {}) {
        return ShowMessage(text, style, title.empty() ? kProgramTitle : title, details);
    }
    // A question with the program title, a question icon and the buttons "&Sim", "&Não" and
    // "Cancelar"; Sim is the default, Esc and the close box cancel.
    virtual Choice AskYesNoCancel(const std::string& question) = 0;

    // Prompt with the program title and an empty edit line; empty text when cancelled.
    virtual std::string InputBox(const std::string& prompt) = 0;
    // Filter text is "description|pattern|..."; the result is a path, or empty when cancelled.
    virtual std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                                       const std::string& defaultExt) = 0;
    virtual std::string ShowSaveDialog(const std::string& title, const std::string& filter,
                                       const std::string& defaultExt) = 0;
    // The palette-file dialogs of the context menu: as the two above, but each remembers the
    // filter entry it starts on apart, so they neither follow nor move the one those share.
    virtual std::string ShowPaletteOpenDialog(const std::string& title,
                                              const std::string& filter) = 0;
    virtual std::string ShowPaletteSaveDialog(const std::string& title,
                                              const std::string& filter) = 0;
    // Starts at `color`; on confirm writes the choice into it and returns true.
    virtual bool ChooseColor(RgbColor& color, const CustomColorTable& customColors) = 0;
    // The desktop's system colours 0-15 (scroll bar to button face).
    virtual CustomColorTable SystemColors() = 0;
    // Modal second windows over the main window; each returns when it is closed.
    // The preview draws its colours as the GBA's own screen shows them when `gbaScreen`.
    virtual void ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) = 0;
    virtual void ShowByteWindow(const std::string& text) = 0;

    // The desktop's clipboard, as text.
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual VersionNumbers Version() = 0;

  protected:
    virtual int ShowMessage(const std::string& text, int style, const std::string& title,
                            const std::string& details) = 0;
};

} // namespace zandrel
