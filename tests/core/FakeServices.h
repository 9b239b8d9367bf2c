// A scripted stand-in for the desktop: dialogs and boxes answer from queues, and every
// message shown is recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace zandrel::testing {

struct ShownMessage {
    std::string text;
    int style = 0;
    std::string title;
};

struct DialogCall {
    std::string kind; // "open" or "save"
    std::string title;
    std::string filter;
    std::string defaultExt;
};

class FakeServices : public Services {
  public:
    // Answers, taken in order; an empty queue answers as a cancel (or OK for message boxes).
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::deque<std::string> inputAnswers;
    std::deque<int> messageAnswers;
    std::deque<std::optional<RgbColor>> colorAnswers; // nullopt cancels

    // What the program asked for.
    std::vector<ShownMessage> messages;
    std::vector<DialogCall> dialogs;
    std::vector<std::string> inputPrompts;
    std::vector<RgbColor> colorDialogStarts;
    std::vector<CustomColorTable> colorDialogCustomColors;
    std::vector<std::string> previewImages;
    std::vector<bool> previewOnGbaScreen;
    std::vector<std::string> byteWindowTexts;

    std::string programFolder = ".";
    // The data folder is the program folder unless a test sets it; no user folders.
    std::string dataFolder;
    std::string userDataFolder;
    std::string userCacheFolder;
    std::string clipboard;
    std::string commandLine;
    VersionNumbers version{1, 0, 11};
    CustomColorTable systemColors{};

    std::string InputBox(const std::string& prompt) override {
        inputPrompts.push_back(prompt);
        return Take(inputAnswers);
    }
    std::string ShowOpenDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override {
        dialogs.push_back({"open", title, filter, defaultExt});
        return Take(openAnswers);
    }
    std::string ShowSaveDialog(const std::string& title, const std::string& filter,
                               const std::string& defaultExt) override {
        dialogs.push_back({"save", title, filter, defaultExt});
        return Take(saveAnswers);
    }
    bool ChooseColor(RgbColor& color, const CustomColorTable& customColors) override {
        colorDialogStarts.push_back(color);
        colorDialogCustomColors.push_back(customColors);
        if (colorAnswers.empty())
            return false;
        const std::optional<RgbColor> answer = colorAnswers.front();
        colorAnswers.pop_front();
        if (!answer)
            return false;
        color = *answer;
        return true;
    }
    CustomColorTable SystemColors() override { return systemColors; }
    void ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) override {
        previewImages.push_back(imagePath);
        previewOnGbaScreen.push_back(gbaScreen);
    }
    void ShowByteWindow(const std::string& text) override { byteWindowTexts.push_back(text); }
    std::string ProgramFolder() override { return programFolder; }
    DataFolders Folders() override {
        return {dataFolder.empty() ? programFolder : dataFolder, userDataFolder, userCacheFolder};
    }
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    std::string CommandLine() override { return commandLine; }
    VersionNumbers Version() override { return version; }

    // The texts of all messages, in order.
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : messages)
            texts.push_back(m.text);
        return texts;
    }

  protected:
    int ShowMessage(const std::string& text, int style, const std::string& title) override {
        messages.push_back({text, style, title});
        if (messageAnswers.empty())
            return style == kStyleQuestionYesNo ? kAnswerYes : kAnswerOk;
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

  private:
    static std::string Take(std::deque<std::string>& queue) {
        if (queue.empty())
            return {};
        std::string answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

} // namespace zandrel::testing
