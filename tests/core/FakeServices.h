// A scripted stand-in for the desktop: dialogs and boxes answer from queues (empty: a cancel,
// or the default answer of a message box) and every request is recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/StartArguments.h"
#include "platform/Services.h"

namespace zandrel::testing {

// A program in `folder` with its data files there and no user folders, started with
// `arguments`.
inline StartValues StartIn(const std::string& folder,
                           const std::vector<std::string>& arguments = {}) {
    return {folder, {folder, {}, {}}, ParseStartArguments(arguments)};
}

struct ShownMessage {
    std::string text;
    int style = 0;
    std::string title;
    std::string details;
};
struct DialogCall {
    // kind: "open" or "save", or "palette open" or "palette save" (their own filter memory)
    std::string kind, title, filter, defaultExt;
};

class FakeServices : public Services {
  public:
    std::deque<std::string> openAnswers, saveAnswers, inputAnswers;
    std::deque<int> messageAnswers;
    std::deque<Choice> choices; // Sim/Não/Cancelar answers; empty: Não, going on as before

    std::deque<std::optional<RgbColor>> colorAnswers; // nullopt cancels

    std::vector<ShownMessage> messages;
    std::vector<DialogCall> dialogs;
    std::vector<std::string> inputPrompts, previewImages, byteWindowTexts, questions;
    std::vector<RgbColor> colorDialogStarts;
    std::vector<CustomColorTable> colorDialogCustomColors;
    std::vector<bool> previewOnGbaScreen;

    std::string clipboard;
    VersionNumbers version{1, 0, 11};
    CustomColorTable systemColors{};

    std::string InputBox(const std::string& prompt) override {
        return inputPrompts.push_back(prompt), Take(inputAnswers);
    }
    std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override {
        return dialogs.push_back({"open", title, filter, defaultExt}), Take(openAnswers);
    }
    std::string ShowSaveDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override {
        return dialogs.push_back({"save", title, filter, defaultExt}), Take(saveAnswers);
    }
    std::string ShowPaletteOpenDialog(const std::string& title,
                                      const std::string& filter) override {
        return dialogs.push_back({"palette open", title, filter, ""}), Take(openAnswers);
    }
    std::string ShowPaletteSaveDialog(const std::string& title,
                                      const std::string& filter) override {
        return dialogs.push_back({"palette save", title, filter, ""}), Take(saveAnswers);
    }
    bool ChooseColor(RgbColor& color, const CustomColorTable& customColors) override {
        colorDialogStarts.push_back(color);
        colorDialogCustomColors.push_back(customColors);
        const std::optional<RgbColor> answer = Take(colorAnswers).value_or(std::nullopt);
        color = answer.value_or(color);
        return answer.has_value();
    }
    CustomColorTable SystemColors() override { return systemColors; }
    void ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) override {
        previewImages.push_back(imagePath);
        previewOnGbaScreen.push_back(gbaScreen);
    }
    void ShowByteWindow(const std::string& text) override { byteWindowTexts.push_back(text); }
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    VersionNumbers Version() override { return version; }
    Choice AskYesNoCancel(const std::string& question) override {
        return questions.push_back(question), Take(choices).value_or(Choice::No);
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : messages)
            texts.push_back(m.text);
        return texts;
    }

  protected:
    int ShowMessage(const std::string& text, int style, const std::string& title,
                    const std::string& details) override {
        messages.push_back({text, style, title, details});
        return Take(messageAnswers).value_or(style == kStyleQuestionYesNo ? kAnswerYes : kAnswerOk);
    }

  private:
    template <typename T> static std::optional<T> Take(std::deque<T>& queue) {
        if (queue.empty())
            return std::nullopt;
        const T answer = queue.front();
        return queue.pop_front(), answer;
    }
    static std::string Take(std::deque<std::string>& queue) {
        return Take<std::string>(queue).value_or("");
    }
};

} // namespace zandrel::testing
