// The --json outputs, for scripts. Every command follows the same conventions: one object per
// run, on one line ended by LF; "file" is FILE as given; a list of things is an array of
// objects under a plural key ("palettes", "colours"); a location is a string in a definition
// file's form ("1A0", "LZ:3B8A8C+20"); counts, scores and components are numbers; names and
// titles are strings. Failures are never JSON: standard error and the exit status give them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zandrel::cli {

// The text as a JSON string, quotes included: UTF-8 passes through; the quote, the backslash
// and control characters are escaped; a byte that is not part of valid UTF-8 (a file name in
// another encoding) becomes U+FFFD, so the output is always valid JSON.
std::string JsonString(std::string_view text);

// An object, member by member in the order given.
class JsonObject {
  public:
    JsonObject& Text(std::string_view key, std::string_view value);
    // Null for an empty text.
    JsonObject& TextOrNull(std::string_view key, std::string_view value);
    JsonObject& Number(std::string_view key, std::int64_t value);
    JsonObject& Array(std::string_view key, std::span<const std::string> objects);
    std::string Close() const { return "{" + members_ + "}"; }

  private:
    JsonObject& Member(std::string_view key, const std::string& json);
    std::string members_;
};

} // namespace zandrel::cli
