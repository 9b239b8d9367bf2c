// The command line's words as a command's row splits and counts them, in process.
#include <gtest/gtest.h>

#include "Arguments.h"

namespace zandrel::cli {
namespace {

Failure Counted(std::size_t given, std::size_t fewest, std::size_t most) {
    CommandArguments split;
    split.command = "c";
    split.operands.resize(given);
    return CheckOperandCount(split, fewest, most);
}

// Portuguese number: singular for 1, plural for 0 and the rest, in both halves of the line.
TEST(CheckOperandCount, SaysBothCountsInTheirGrammaticalNumber) {
    const std::tuple<std::size_t, std::size_t, std::size_t, const char*> refused[] = {
        {0, 1, 1, "c: esperado 1 argumento, recebidos 0"},
        {2, 1, 1, "c: esperado 1 argumento, recebidos 2"},
        {1, 2, 2, "c: esperados 2 argumentos, recebido 1"},
        {0, 1, kAnyNumber, "c: esperado ao menos 1 argumento, recebidos 0"},
        {2, 3, kAnyNumber, "c: esperados ao menos 3 argumentos, recebidos 2"},
        {3, 1, 2, "c: esperados de 1 a 2 argumentos, recebidos 3"}};
    for (const auto& [given, fewest, most, message] : refused) {
        const Failure failure = Counted(given, fewest, most);
        EXPECT_EQ(failure.result, Result::Usage) << message;
        EXPECT_EQ(failure.reason, message);
    }
    const std::tuple<std::size_t, std::size_t, std::size_t> accepted[] = {
        {1, 1, 1}, {3, 3, kAnyNumber}, {50, 3, kAnyNumber}, {1, 1, 2}, {2, 1, 2}};
    for (const auto& [given, fewest, most] : accepted)
        EXPECT_TRUE(Counted(given, fewest, most).ok()) << given << " " << fewest << " " << most;
}

// Options anywhere; one that takes a value takes the next word whatever it is, or none at the
// end. A command without options takes every word as an operand.
TEST(SplitArguments, SeparatesOptionsFromOperandsByTheRules) {
    constexpr OptionRule kRules[] = {{"--min", true}, {"--raw", false}};
    const std::vector<std::string> words = {"--raw", "a", "-", "--min", "--raw", "-x", "--min"};
    CommandArguments split;
    ASSERT_TRUE(SplitArguments("c", words, kRules, split).ok());
    EXPECT_EQ(split.operands, (std::vector<std::string>{"a", "-", "-x"}));
    ASSERT_EQ(split.options.size(), 3u);
    EXPECT_EQ(split.options[1].value, "--raw");
    EXPECT_EQ(split.options[2].value, std::nullopt);
    CommandArguments plain;
    ASSERT_TRUE(SplitArguments("c", std::vector<std::string>{"--max"}, {}, plain).ok());
    EXPECT_EQ(plain.operands, std::vector<std::string>{"--max"});
}

} // namespace
} // namespace zandrel::cli
