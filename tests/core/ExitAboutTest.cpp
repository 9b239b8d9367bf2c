#include <gtest/gtest.h>

#include "OpenFormFixture.h"
#include "app/MainForm.h"
#include "app/Version.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

class ExitAbout : public ::testing::Test {
  protected:
    ExitAbout() : form(app, services) { form.Form_Load(); }

    FakeServices services;
    AppState app;
    MainForm form;
};

TEST(Exit, QuitQuestionDecidesOnceAFileIsInUse) {
    const struct {
        const char* game;
        int answer;
        bool asked;
        bool closes;
    } cases[] = {
        {"...", kAnswerNo, false, true}, // nothing identified: no question
        {"MEMORY DUMP", kAnswerYes, true, true},
        {"MEMORY DUMP", kAnswerNo, true, false},
        {"MODO ESPECIAL", kAnswerNo, true, false},
        {"Some Game", kAnswerYes, true, true},
        {"Some Game", 2, true, true}, // only No keeps the window
        {"", kAnswerNo, true, false}, // only "..." skips the question
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.game) + " " + std::to_string(c.answer));
        FakeServices services;
        AppState state;
        MainForm window(state, services);
        window.Form_Load();
        ShowGameLabel(window, c.game);
        services.messageAnswers.push_back(c.answer);

        window.Command4_Click();

        EXPECT_EQ(window.model().closed, c.closes);
        if (c.asked) {
            ExpectOneMessage(services, "Deseja realmente sair?", 292, "Sair");
        } else {
            EXPECT_TRUE(services.messages.empty());
        }
    }
}

TEST_F(ExitAbout, CloseRequestReturnsTheCancelFlag) {
    ShowGameLabel(form, "Some Game");
    services.messageAnswers = {kAnswerNo, kAnswerYes};
    EXPECT_TRUE(form.Form_QueryUnload());
    EXPECT_FALSE(form.Form_QueryUnload());
    EXPECT_EQ(services.messages.size(), 2u);
    EXPECT_FALSE(form.model().closed); // the window sets it, not the question
}

TEST(BuildVersionText, FillsMinorAndRevisionWithZeros) {
    const struct {
        VersionNumbers version;
        const char* expected;
    } cases[] = {
        {{1, 0, 11}, "1.00.0011"},      {{2, 5, 123}, "2.05.0123"},       {{0, 0, 0}, "0.00.0000"},
        {{10, 99, 9999}, "10.99.9999"}, {{1, 100, 12345}, "1.100.12345"}, {{3, 12, 1}, "3.12.0001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildVersionText(c.version), c.expected);
}

TEST_F(ExitAbout, AboutBoxShowsTitleVersionAndCopyright) {
    form.Command3_Click();
    services.version = {2, 5, 123};
    form.Command3_Click();

    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[0].text,
              "Zandrel\r\nVersão 1.00.0011\r\n\r\n"
              "Copyright © 2026 the Zandrel developers. Free software; no warranty.");
    EXPECT_EQ(services.messages[1].text.rfind("Zandrel\r\nVersão 2.05.0123\r\n\r\nCopyright", 0),
              0u);
    for (const ShownMessage& message : services.messages) {
        EXPECT_EQ(message.style, 0);
        EXPECT_EQ(message.title, "Zandrel");
    }
    EXPECT_FALSE(form.model().closed);
}

} // namespace
