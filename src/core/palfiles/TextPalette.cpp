#include "palfiles/TextPalette.h"

#include <array>
#include <string>

#include "palfiles/Refusals.h"
#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string_view TextOf(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool StartsWithWordNoCase(std::string_view text, std::string_view upperCaseWord) {
    const std::string_view start = TrimBlanks(WithoutUtf8Bom(text));
    return start.size() >= upperCaseWord.size() &&
           UpperCase(start.substr(0, upperCaseWord.size())) == upperCaseWord;
}

Failure CheckTextSize(std::string_view text, std::string_view format) {
    if (text.size() <= kMaxTextPaletteSize)
        return {};
    return LargerThan(text.size(), kMaxTextPaletteSize, "uma paleta " + std::string(format));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    text = WithoutUtf8Bom(text);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view text) {
    return TrimmedOf(text, " \t");
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

Failure NotThreeNumbers(std::size_t line) {
    return Refused(AtLine(line) + "esperados três números (vermelho verde azul)");
}

Failure ReadTriple(std::span<const std::string_view> words, std::size_t line, Rgb& rgb) {
    if (words.size() < 3)
        return NotThreeNumbers(line);
    std::array<int, 3> values{};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::optional<std::int64_t> value = ParseSignedDecimal(words[k]);
        if (!value)
            return NotThreeNumbers(line);
        if (*value < 0 || *value > 255)
            return Refused(AtLine(line) + "o componente " + std::string(words[k]) +
                           " está fora de 0 a 255");
        values[k] = static_cast<int>(*value);
    }
    rgb = Rgb{values[0], values[1], values[2]};
    return {};
}

Failure TooFewColours(std::size_t line, std::size_t found) {
    return Refused(AtLine(line) + "o arquivo termina depois de " + std::to_string(found) +
                   " cores; são necessárias 16");
}

} // namespace zandrel
