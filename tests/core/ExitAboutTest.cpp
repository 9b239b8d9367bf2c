#include <gtest/gtest.h>

#include "FakeServices.h"
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

TEST_F(ExitAbout, NothingIdentifiedClosesWithoutAsking) {
    EXPECT_FALSE(form.Form_QueryUnload());
    form.Command4_Click();
    EXPECT_TRUE(form.model().closed);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(ExitAbout, QuitQuestionDecidesOnceAFileIsInUse) {
    const struct {
        const char* game;
        int answer;
        bool closes;
    } cases[] = {
        {"MEMORY DUMP", kAnswerYes, true},
        {"MEMORY DUMP", kAnswerNo, false},
        {"MODO ESPECIAL", kAnswerNo, false},
        {"Some Game", kAnswerYes, true},
        {"Some Game", 2, true}, // only No keeps the window
        {"", kAnswerNo, false}, // only "..." skips the question
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.game) + " " + std::to_string(c.answer));
        FakeServices fresh;
        AppState state;
        MainForm window(state, fresh);
        window.model().lblGame.caption = c.game;
        fresh.messageAnswers.push_back(c.answer);

        window.Command4_Click();

        ASSERT_EQ(fresh.messages.size(), 1u);
        EXPECT_EQ(fresh.messages[0].text, "Deseja realmente sair?");
        EXPECT_EQ(fresh.messages[0].style, 292);
        EXPECT_EQ(fresh.messages[0].title, "Sair");
        EXPECT_EQ(window.model().closed, c.closes);
    }
}

TEST_F(ExitAbout, CloseRequestReturnsTheCancelFlag) {
    form.model().lblGame.caption = "Some Game";
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
