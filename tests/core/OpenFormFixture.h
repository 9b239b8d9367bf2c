// A main window with a memory dump opened through the open command, its definition file
// written beside a private program folder; and the checks the window's tests share.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <tuple>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"
#include "platform/FileFaults.h"
#include "platform/SystemError.h"

namespace zandrel::testing {

namespace fs = std::filesystem;

// The message of a file that could not be read.
inline std::string Unreadable(const std::string& path, int error) {
    return "Não foi possível ler o arquivo \"" + path + "\".\r\n\r\n" + SystemErrorText(error);
}

// Exactly one message box was shown, with this text, style and title.
inline void ExpectOneMessage(const FakeServices& services, const std::string& text, int style,
                             const std::string& title = "Zandrel") {
    ASSERT_EQ(services.messages.size(), 1u);
    const ShownMessage& m = services.messages[0];
    EXPECT_EQ(std::tie(m.text, m.style, m.title), std::tie(text, style, title));
}

// The one dialog shown: its kind ("open" or "save"), title and filter, no default extension.
inline void ExpectOneDialog(const FakeServices& services, const std::string& kind,
                            const std::string& title, const std::string& filter) {
    ASSERT_EQ(services.dialogs.size(), 1u);
    const DialogCall& d = services.dialogs[0];
    EXPECT_EQ(std::tie(d.kind, d.title, d.filter, d.defaultExt),
              std::make_tuple(kind, title, filter, std::string()));
}

// The game label as the open command or the special mode leaves it, and its state.
inline void ShowGameLabel(MainForm& form, const std::string& caption) {
    form.model().lblGame.caption = caption;
    form.app().shown = caption == "..."             ? Shown::Nothing
                       : caption == "MEMORY DUMP"   ? Shown::MemoryDump
                       : caption == "MODO ESPECIAL" ? Shown::SpecialState
                                                    : Shown::Game;
}

// The enabled ones of the buttons that follow the chosen palette, by name.
inline std::string EnabledButtons(const FormModel& m) {
    std::string names;
    for (const auto& [name, control] :
         {std::pair{"Command2", &m.Command2}, std::pair{"cmdRecarrega", &m.cmdRecarrega},
          std::pair{"cmdExibir", &m.cmdExibir}, std::pair{"cmdAmostra", &m.cmdAmostra},
          std::pair{"cmdImp", &m.cmdImp}, std::pair{"cmdExp", &m.cmdExp}})
        if (control->enabled)
            names += names.empty() ? name : std::string(" ") + name;
    return names;
}

// Colour, visibility and pressed look of every swatch.
inline std::vector<std::tuple<RgbColor, bool, bool>> Swatches(const FormModel& m) {
    std::vector<std::tuple<RgbColor, bool, bool>> swatches;
    for (const Swatch& swatch : m.Opt)
        swatches.emplace_back(swatch.backColor, swatch.visible, swatch.selected);
    return swatches;
}

class OpenFormTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};
    std::string dumpPath;

    void SetUp() override { form.Form_Load(StartIn(dir.path().string())); }

    // Opens `bytes` as a memory dump whose definition file holds `definitions` (CR LF lines).
    void OpenDump(const std::vector<std::uint8_t>& bytes, const std::string& definitions,
                  const std::string& name = "game.dmp") {
        dir.WriteText("MEMORYDUMP.ZNDL", definitions);
        dumpPath = dir.Write(name, bytes);
        services.openAnswers.push_back(dumpPath);
        form.Command1_Click();
        ASSERT_TRUE(app.RomLoaded);
        ASSERT_TRUE(services.messages.empty());
    }

    void Choose(int row) { form.ChooseRow(row); }

    FormModel& model() { return form.model(); }
};

} // namespace zandrel::testing
