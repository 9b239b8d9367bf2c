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

// Options anywhere; one that takes a value takes the next word whatever it is, what follows
// "=", or none at the end. A command without options takes every word as an operand.
TEST(SplitArguments, SeparatesOptionsFromOperandsByTheRules) {
    constexpr OptionRule kRules[] = {{"--min", true}, {"--raw", false}, {"-o", true}};
    const std::vector<std::string> words = {"--raw", "a",      "-",  "--min", "--raw",
                                            "-x",    "--min=", "-o", "--min", "--min"};
    CommandArguments split;
    ASSERT_TRUE(SplitArguments("c", words, kRules, split).ok());
    EXPECT_EQ(split.operands, (std::vector<std::string>{"a", "-", "-x"}));
    ASSERT_EQ(split.options.size(), 5u);
    EXPECT_EQ(split.options[1].value, "--raw");
    EXPECT_EQ(split.options[2].value, "");
    EXPECT_EQ(split.options[3].value, "--min");
    EXPECT_EQ(split.options[4].value, std::nullopt);
    CommandArguments valued;
    EXPECT_EQ(SplitArguments("c", std::vector<std::string>{"--raw=1"}, kRules, valued).reason,
              "c: --raw não leva valor");
    CommandArguments plain;
    ASSERT_TRUE(SplitArguments("c", std::vector<std::string>{"--max"}, {}, plain).ok());
    EXPECT_EQ(plain.operands, std::vector<std::string>{"--max"});
}

// An operand is a file where the usage's word outside brackets at its place ends in FILE; the
// last word stands for the operands after it.
TEST(RefuseEmptyFileNames, NamesTheUsagesWordOfAnEmptyFileOperand) {
    const std::tuple<std::string_view, std::vector<std::string>, const char*> cases[] = {
        {"FILE [-o NEWFILE] [--min N]", {""}, "c: o nome de FILE está vazio"},
        {"FILE PALETTE OUTFILE [--format FORMAT]", {"f", "", "x"}, ""},
        {"FILE PALETTE OUTFILE", {"f", "0", ""}, "c: o nome de OUTFILE está vazio"},
        {"FILE A [B ...]", {"f", "a", "", ""}, ""},
        {"FILE [X] INFILE", {"f", "i", ""}, "c: o nome de INFILE está vazio"}};
    for (const auto& [usage, operands, message] : cases) {
        CommandArguments split{"c", operands, {}};
        EXPECT_EQ(RefuseEmptyFileNames(split, usage).reason, message) << usage;
    }
}

// The value options: the last given wins; a missing, empty or unknown value is named.
TEST(ValueOptions, TakeTheLastValueAndRefuseWhatIsNotOne) {
    constexpr std::string_view kOrders[] = {"best", "offset"};
    const auto given = [](std::optional<std::string> first, std::optional<std::string> last) {
        return CommandArguments{"c", {}, {{"-o", first}, {"-o", last}}};
    };
    std::string name = "kept";
    std::string_view order = "none";
    EXPECT_TRUE(FileNameOption(given("a", "b"), "-o", name).ok());
    EXPECT_TRUE(ChoiceOption(given("best", "offset"), "-o", kOrders, order).ok());
    EXPECT_EQ(name + " " + std::string(order), "b offset");
    EXPECT_EQ(FileNameOption(given("a", std::nullopt), "-o", name).reason,
              "c: -o espera o nome de um arquivo");
    EXPECT_EQ(FileNameOption(given("", "a"), "-o", name).reason, "c: o nome de -o está vazio");
    EXPECT_EQ(ChoiceOption(given("Best", "best"), "-o", kOrders, order).reason,
              "c: -o espera best ou offset");
    EXPECT_EQ(ChoiceList(std::vector<std::string_view>{"a", "b", "c"}), "a, b ou c");
}

// Locations as people write them; a cartridge bus address in a ROM image only, from 08000000
// to 09FFFFFF.
TEST(ParsePaletteArgument, ReadsLocationsAsPeopleWriteThem) {
    const std::tuple<const char*, bool, PaletteLocation> read[] = {
        {"@1a0", true, {0x1A0, false, 0}},
        {"@0x1A0", true, {0x1A0, false, 0}},
        {"@$1a0", false, {0x1A0, false, 0}},
        {"@lz:3b8", true, {0x3B8, true, 0}},
        {"@Lz:0X3B8+2a", true, {0x3B8, true, 0x2A}},
        {"@LZ:$08000100+0x20", true, {0x100, true, 0x20}},
        {"@07FFFFFF", true, {0x7FFFFFF, false, 0}},
        {"@08000000", true, {0, false, 0}},
        {"@0x09FFFFE0", true, {0x1FFFFE0, false, 0}},
        {"@0A000000", true, {0xA000000, false, 0}},
        {"@08000000", false, {0x8000000, false, 0}},
        {"@7FFFFFFF", true, {0x7FFFFFFF, false, 0}}};
    for (const auto& [text, romImage, where] : read) {
        PaletteArgument palette;
        EXPECT_TRUE(ParsePaletteArgument(text, romImage, palette).ok()) << text;
        EXPECT_EQ(palette.where, where) << text;
    }
    for (const char* text : {"@0x", "@$", "@0x0x1", "@$$1", "@1A0+20", "@lz:3b8+3", "@80000000",
                             "@008000000", "@ 1A0", "@LZ:"}) {
        PaletteArgument palette;
        EXPECT_EQ(ParsePaletteArgument(text, true, palette).result, Result::Usage) << text;
    }
}

// Every colour notation the window's paste takes, and words of 1 to 3 digits.
TEST(ParseAssignments, TakesThePastesColourNotations) {
    const std::vector<std::string> texts = {"0=#FF0000", "1=00ff00", "2=$7FFF",  "3=0x001f",
                                            "4=1F",      "5=0",      "6= 7FFF ", "15=#000008"};
    std::vector<Assignment> assignments;
    ASSERT_TRUE(ParseAssignments(texts, assignments).ok());
    std::string words;
    for (const Assignment& a : assignments)
        words += std::to_string(a.index) + ":" + std::to_string(a.word) + " ";
    EXPECT_EQ(words, "0:31 1:992 2:32767 3:31 4:31 5:0 6:32767 15:1024 ");
    const char* expected = ": esperado um índice decimal e uma cor, como 3=7FFF, 3=0x7FFF ou "
                           "3=#FFFFFF";
    const std::pair<std::string, std::string> refused[] = {{"0=8000", ": a cor passa de 7FFF"},
                                                           {"0=$FF7F", ": a cor passa de 7FFF"},
                                                           {"0=07FFF", expected},
                                                           {"0=#FFF", expected},
                                                           {"x=1", expected},
                                                           {"0=", expected},
                                                           {"3", expected}};
    for (const auto& [text, message] : refused) {
        std::vector<Assignment> none;
        EXPECT_EQ(ParseAssignments(std::vector<std::string>{text}, none).reason,
                  "INDEX=COLOUR \"" + text + "\"" + message);
    }
}

} // namespace
} // namespace zandrel::cli
