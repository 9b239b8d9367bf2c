#include "Json.h"

#include "util/Text.h"

namespace zandrel::cli {

namespace {

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

} // namespace

std::string JsonString(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(c);
        if (c == '"' || c == '\\') {
            json += {'\\', static_cast<char>(c)};
        } else if (c == '\n') {
            json += "\\n";
        } else if (c == '\t') {
            json += "\\t";
        } else if (c < 0x20) {
            json += {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        } else if (length == 1 || (length != 0 && IsValidUtf8(text.substr(i, length)))) {
            json += text.substr(i, length);
            i += length;
            continue;
        } else {
            json += "\\ufffd";
        }
        ++i;
    }
    return json + "\"";
}

JsonObject& JsonObject::Member(std::string_view key, const std::string& json) {
    members_ += (members_.empty() ? "" : ",") + JsonString(key) + ":" + json;
    return *this;
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value) {
    return Member(key, JsonString(value));
}

JsonObject& JsonObject::TextOrNull(std::string_view key, std::string_view value) {
    return Member(key, value.empty() ? "null" : JsonString(value));
}

JsonObject& JsonObject::Number(std::string_view key, std::int64_t value) {
    return Member(key, std::to_string(value));
}

JsonObject& JsonObject::Array(std::string_view key, std::span<const std::string> objects) {
    std::string json = "[";
    for (const std::string& object : objects)
        json += (json.size() == 1 ? "" : ",") + object;
    return Member(key, json + "]");
}

} // namespace zandrel::cli
