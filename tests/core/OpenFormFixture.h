// A main window with a memory dump opened through the open command, its definition file
// written beside a private program folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeServices.h"
#include "TempDir.h"
#include "app/MainForm.h"

namespace zandrel::testing {

class OpenFormTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeServices services;
    AppState app;
    MainForm form{app, services};
    std::string dumpPath;

    void SetUp() override {
        services.programFolder = dir.path().string();
        form.Form_Load();
    }

    // Opens `bytes` as a memory dump whose definition file holds `definitions` (CR LF lines).
    void OpenDump(const std::vector<std::uint8_t>& bytes, const std::string& definitions) {
        dir.WriteText("MEMORYDUMP.ZNDL", definitions);
        dumpPath = dir.Write("game.dmp", bytes);
        services.openAnswers.push_back(dumpPath);
        form.Command1_Click();
        ASSERT_TRUE(app.RomLoaded);
        ASSERT_TRUE(services.messages.empty());
    }

    void Choose(int row) {
        form.model().List1.selected = row;
        form.List1_Click();
    }

    FormModel& model() { return form.model(); }
};

} // namespace zandrel::testing
