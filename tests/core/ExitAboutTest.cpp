// Leaving asks first once a file is in use; the About box shows the version.
#include <gtest/gtest.h>

#include <string>

#include "OpenFormFixture.h"
#include "app/Version.h"

namespace zandrel::testing {
namespace {

TEST(Exit, QuitQuestionDecidesOnceAFileIsInUse) {
    const struct {
        const char* game;
        int answer;
        bool asked;
        bool closes;
    } cases[] = {
        {"...", kAnswerNo, false, true}, // nothing identified: no question
        {"MEMORY DUMP", kAnswerYes, true, true},
        {"MODO ESPECIAL", kAnswerNo, true, false},
        {"Some Game", 2, true, true}, // only No keeps the window
        {"", kAnswerNo, true, false}, // only "..." skips the question
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.game) + " " + std::to_string(c.answer));
        FakeServices services;
        AppState app;
        MainForm form(app, services);
        form.Form_Load();
        ShowGameLabel(form, c.game);
        services.messageAnswers = {c.answer, c.answer};

        EXPECT_EQ(form.Form_QueryUnload(), !c.closes); // the close request's cancel flag
        EXPECT_FALSE(form.model().closed);
        services.messages.clear();
        form.Command4_Click();

        EXPECT_EQ(form.model().closed, c.closes);
        if (c.asked) {
            ExpectOneMessage(services, "Deseja realmente sair?", 292, "Sair");
        } else {
            EXPECT_TRUE(services.messages.empty());
        }
    }
}

TEST(About, ShowsTitleVersionWithZeroFilledPartsAndCopyright) {
    for (const auto& [version, text] : {std::pair{VersionNumbers{1, 0, 11}, "1.00.0011"},
                                        {{10, 99, 9999}, "10.99.9999"},
                                        {{1, 100, 12345}, "1.100.12345"},
                                        {{3, 2, 1}, "3.02.0001"}}) {
        FakeServices services;
        AppState app;
        MainForm form(app, services);
        services.version = version;
        form.Command3_Click();
        ExpectOneMessage(services,
                         "Zandrel\r\nVersão " + std::string(text) +
                             "\r\n\r\nCopyright © 2026 the Zandrel developers. Free software; no "
                             "warranty.",
                         0);
    }
}

} // namespace
} // namespace zandrel::testing
