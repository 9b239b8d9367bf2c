#include "Arguments.h"

#include <algorithm>

#include "util/Hex.h"
#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel::cli {

namespace {

// Portuguese number: 1 is singular, 0 and the rest plural.
std::string ArgumentCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " argumento" : " argumentos");
}

std::string ExpectedCount(std::size_t fewest, std::size_t most) {
    if (fewest == most)
        return (fewest == 1 ? "esperado " : "esperados ") + ArgumentCount(fewest);
    if (most == kAnyNumber)
        return (fewest == 1 ? "esperado ao menos " : "esperados ao menos ") + ArgumentCount(fewest);
    return "esperados de " + std::to_string(fewest) + " a " + ArgumentCount(most);
}

std::string ReceivedCount(std::size_t given) {
    return (given == 1 ? "recebido " : "recebidos ") + std::to_string(given);
}

} // namespace

bool CommandArguments::Has(std::string_view option) const {
    return std::ranges::any_of(options,
                               [option](const GivenOption& given) { return given.name == option; });
}

Failure SplitArguments(std::string_view command, std::span<const std::string> words,
                       std::span<const OptionRule> rules, CommandArguments& split) {
    split.command = command;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto rule = std::ranges::find(rules, word, &OptionRule::name);
        if (rule != rules.end()) {
            GivenOption given{rule->name, std::nullopt};
            if (rule->takesValue && i + 1 < words.size())
                given.value = words[++i];
            split.options.push_back(std::move(given));
        } else if (!rules.empty() && word.starts_with("--")) {
            return Failure::Usage(split.command + ": opção desconhecida " + Quoted(word));
        } else {
            split.operands.push_back(word);
        }
    }
    return {};
}

Failure CheckOperandCount(const CommandArguments& split, std::size_t fewest, std::size_t most) {
    const std::size_t given = split.operands.size();
    if (given >= fewest && given <= most)
        return {};
    return Failure::Usage(split.command + ": " + ExpectedCount(fewest, most) + ", " +
                          ReceivedCount(given));
}

Failure NumberOption(const CommandArguments& split, std::string_view option,
                     std::string_view meaning, int lowest, int highest, int& value) {
    for (const GivenOption& given : split.options) {
        if (given.name != option)
            continue;
        const std::optional<std::int64_t> number =
            given.value ? ParseDecimal(*given.value) : std::nullopt;
        if (!number || *number < lowest || *number > highest)
            return Failure::Usage(split.command + ": " + std::string(option) + " espera " +
                                  std::string(meaning) + " de " + std::to_string(lowest) + " a " +
                                  std::to_string(highest));
        value = static_cast<int>(*number);
    }
    return {};
}

Failure RefuseBoth(const CommandArguments& split, std::string_view first, std::string_view second) {
    if (split.Has(first) && split.Has(second))
        return Failure::Usage(split.command + ": " + std::string(first) + " e " +
                              std::string(second) + " não se combinam");
    return {};
}

Failure ParsePaletteArgument(const std::string& text, PaletteArgument& palette) {
    palette.text = text;
    if (text.starts_with('@')) {
        const std::optional<PaletteLocation> where = ParsePaletteLocation(text.substr(1));
        if (!where)
            return Failure::Usage("PALETTE " + Quoted(text) +
                                  ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0, "
                                  "ou um bloco comprimido, como @LZ:3B8A8C+20");
        palette.atLocation = true;
        palette.where = *where;
        return {};
    }
    const std::optional<std::int64_t> row = ParseDecimal(text);
    if (!row)
        return Failure::Usage("PALETTE " + Quoted(text) +
                              ": esperado o número de uma paleta (0, 1, ...) ou @HEX");
    palette.row = static_cast<std::size_t>(*row);
    return {};
}

Failure ParseAssignments(std::span<const std::string> texts, std::vector<Assignment>& result) {
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        const std::string_view index = std::string_view(text).substr(0, equals);
        const std::string_view word = equals == std::string::npos
                                          ? std::string_view{}
                                          : std::string_view(text).substr(equals + 1);
        const std::optional<std::int64_t> indexValue = ParseDecimal(index);
        const std::optional<std::uint32_t> wordValue = ParseHex(word);
        // Hex numbers stop at 7FFFFFFF, the largest location: a word past it is no number.
        if (!indexValue || !wordValue || *wordValue > 0x7FFFFFFF)
            return Failure::Usage("INDEX=WORD " + Quoted(text) +
                                  ": esperado um índice decimal e uma cor hex, como 3=7FFF");
        if (*wordValue > 0x7FFF)
            return Failure::Usage("INDEX=WORD " + Quoted(text) + ": a cor passa de 7FFF");
        result.push_back(
            Assignment{static_cast<std::size_t>(*indexValue), static_cast<ColorWord>(*wordValue)});
    }
    return {};
}

} // namespace zandrel::cli
