// The --json outputs' one escaper and object builder.
#include <gtest/gtest.h>

#include "Json.h"

namespace zandrel::cli {
namespace {

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

TEST(JsonObject, KeepsTheMembersInTheirOrder) {
    const std::string objects[] = {JsonObject().Close(), JsonObject().Number("n", -1).Close()};
    EXPECT_EQ(JsonObject()
                  .Text("file", "a.gba")
                  .TextOrNull("code", "")
                  .Number("score", 100)
                  .Array("none", {})
                  .Array("palettes", objects)
                  .Close(),
              R"({"file":"a.gba","code":null,"score":100,"none":[],"palettes":[{},{"n":-1}]})");
}

} // namespace
} // namespace zandrel::cli
