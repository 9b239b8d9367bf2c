// zandrel-cli's parts in process: a command line's words as its row splits and counts them,
// and the one JSON escaper.
#include <gtest/gtest.h>

#include "Arguments.h"
#include "Json.h"

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

// The value options: the last given wins; a missing, empty or unknown value is named.
TEST(ValueOptions, TakeTheLastValueAndRefuseWhatIsNotOne) {
    constexpr std::string_view kOrders[] = {"best", "offset"};
    const auto given = [](std::optional<std::string> first, std::optional<std::string> last) {
        return CommandArguments{"c", {}, {{"-o", first}, {"-o", last}}};
    };
    std::string name;
    std::string_view order;
    EXPECT_TRUE(FileNameOption(given("a", "b"), "-o", name).ok() &&
                ChoiceOption(given("best", "offset"), "-o", kOrders, order).ok());
    EXPECT_EQ(name + " " + std::string(order), "b offset");
    EXPECT_EQ(FileNameOption(given("a", std::nullopt), "-o", name).reason,
              "c: -o espera o nome de um arquivo");
    EXPECT_EQ(FileNameOption(given("", "a"), "-o", name).reason, "c: o nome de -o está vazio");
    EXPECT_EQ(ChoiceOption(given("Best", "best"), "-o", kOrders, order).reason,
              "c: -o espera best ou offset");
}

// Locations as people write them; a cartridge bus address in a ROM image only, from 08000000
// to 09FFFFFF written in 8 digits at most.
TEST(ParsePaletteArgument, ReadsLocationsAsPeopleWriteThem) {
    // "As typed, as a definition file writes it": in a ROM image, then in a memory dump.
    const std::pair<bool, std::vector<std::string_view>> cases[] = {
        {true,
         {"@1a0 1A0", "@$1A0 1A0", "@lz:3b8 LZ:3B8", "@Lz:0X3B8+2a LZ:3B8+2A", "@07FFFFFF 7FFFFFF",
          "@08000000 0", "@0x09FFFFE0 1FFFFE0", "@0A000000 A000000", "@LZ:$08000100+0x20 LZ:100+20",
          "@008000000 8000000"}},
        {false, {"@08000000 8000000", "@lz:$8000000 LZ:8000000"}}};
    for (const auto& [romImage, pairs] : cases)
        for (const std::string_view pair : pairs) {
            const std::string typed(pair.substr(0, pair.find(' ')));
            PaletteArgument palette;
            EXPECT_TRUE(ParsePaletteArgument(typed, romImage, palette).ok()) << typed;
            EXPECT_EQ(PaletteLocationText(palette.where), pair.substr(typed.size() + 1)) << typed;
        }
    for (const char* text :
         {"@0x", "@$", "@0x0x1", "@$$1", "@1A0+20", "@lz:3b8+3", "@80000000", "@ 1A0", "@LZ:"}) {
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
    for (const std::string text : {"0=8000", "0=$FF7F", "0=07FFF", "0=#FFF", "x=1", "0=", "3"}) {
        std::vector<Assignment> none;
        EXPECT_EQ(ParseAssignments(std::vector<std::string>{text}, none).reason,
                  "INDEX=COLOUR \"" + text + "\": " +
                      (text.ends_with("F7F") || text.ends_with("8000")
                           ? "a cor passa de 7FFF"
                           : "esperado um índice decimal e uma cor, como 3=7FFF, 3=0x7FFF ou "
                             "3=#FFFFFF"));
    }
}

// UTF-8 passes through; the quote, the backslash and control characters are escaped; a byte
// that is not part of valid UTF-8 becomes U+FFFD, so the output is always valid JSON.
TEST(JsonString, EscapesWhatJsonRequiresAndNeverEmitsInvalidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"Paleta ção ☃ 𝄞 /", R"("Paleta ção ☃ 𝄞 /")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {std::string("\n\t\r\x01\x1f\x7f\0", 7), "\"\\n\\t\\u000d\\u0001\\u001f\x7f\\u0000\""},
        {"lat\xe9.gba", R"("lat\ufffd.gba")"},
        {"\xe2\x82", R"("\ufffd\ufffd")"},
        {"\xc0\xaf\xed\xa0\x80", R"("\ufffd\ufffd\ufffd\ufffd\ufffd")"},
        {"\xf4\x8f\xbf\xbf\xf4\x90\x80\x80", "\"\xf4\x8f\xbf\xbf\\ufffd\\ufffd\\ufffd\\ufffd\""}};
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonString(text), json);
}

} // namespace
} // namespace zandrel::cli
