#include "Arguments.h"

#include <algorithm>

#include "colour/ColourText.h"
#include "gfx/GraphicsLocation.h"
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
        const std::size_t equals = word.starts_with("--") ? word.find('=') : std::string::npos;
        const auto rule =
            std::ranges::find(rules, std::string_view(word).substr(0, equals), &OptionRule::name);
        if (rule != rules.end()) {
            GivenOption given{rule->name, std::nullopt};
            if (equals != std::string::npos && !rule->takesValue)
                return Failure::Usage(split.command + ": " + std::string(rule->name) +
                                      " não leva valor");
            if (equals != std::string::npos)
                given.value = word.substr(equals + 1);
            else if (rule->takesValue && i + 1 < words.size())
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

Failure RefuseEmptyFileNames(const CommandArguments& split, std::string_view usage) {
    std::vector<std::string_view> names;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= usage.size(); ++i) {
        const char c = i < usage.size() ? usage[i] : ' ';
        if (c != ' ' && c != '[' && c != ']')
            continue;
        if (depth == 0 && i > start)
            names.push_back(usage.substr(start, i - start));
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        start = i + 1;
    }
    for (std::size_t i = 0; i < split.operands.size() && !names.empty(); ++i) {
        const std::string_view name = names[std::min(i, names.size() - 1)];
        if (split.operands[i].empty() && (name.ends_with("FILE") || name.ends_with(".png")))
            return Failure::Usage(split.command + ": o nome de " + std::string(name) +
                                  " está vazio");
    }
    return {};
}

Failure FileNameOption(const CommandArguments& split, std::string_view option, std::string& value) {
    for (const GivenOption& given : split.options) {
        if (given.name != option)
            continue;
        if (!given.value)
            return Failure::Usage(split.command + ": " + std::string(option) +
                                  " espera o nome de um arquivo");
        if (given.value->empty())
            return Failure::Usage(split.command + ": o nome de " + std::string(option) +
                                  " está vazio");
        value = *given.value;
    }
    return {};
}

std::string ChoiceList(std::span<const std::string_view> choices) {
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i)
        list += (i == 0 ? "" : i + 1 == choices.size() ? " ou " : ", ") + std::string(choices[i]);
    return list;
}

Failure ChoiceOption(const CommandArguments& split, std::string_view option,
                     std::span<const std::string_view> choices, std::string_view& value) {
    for (const GivenOption& given : split.options) {
        if (given.name != option)
            continue;
        const auto chosen = given.value ? std::ranges::find(choices, *given.value) : choices.end();
        if (chosen == choices.end())
            return Failure::Usage(split.command + ": " + std::string(option) + " espera " +
                                  ChoiceList(choices));
        value = *chosen;
    }
    return {};
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

namespace {

// Where the cartridge lies on the GBA's bus: 32 MiB from 08000000.
constexpr std::uint32_t kCartridgeStart = 0x08000000;
constexpr std::uint32_t kCartridgeEnd = 0x0A000000;

// A hex number as a definition file writes it, from 1A0, 0x1A0 or $1A0 in upper case; with
// `bus`, a cartridge address as the file offset it maps.
std::string DefinitionHex(std::string_view typed, bool bus) {
    if (typed.starts_with("0X"))
        typed.remove_prefix(2);
    else if (typed.starts_with('$'))
        typed.remove_prefix(1);
    const std::optional<std::uint32_t> value =
        bus && typed.size() <= 8 ? ParseHex(typed) : std::nullopt;
    if (value && *value >= kCartridgeStart && *value < kCartridgeEnd)
        return HexText(*value - kCartridgeStart);
    return std::string(typed);
}

using LocationParser = std::optional<PaletteLocation> (*)(std::string_view text);

// The location after PALETTE's or GRAPHICS's "@", turned into a definition file's form and
// read by `parse`.
std::optional<PaletteLocation> ParseLocationArgument(std::string_view typed, bool romImage,
                                                     LocationParser parse) {
    const std::string upper = UpperCase(typed);
    constexpr std::string_view kCompressed = "LZ:";
    if (!upper.starts_with(kCompressed))
        return parse(DefinitionHex(upper, romImage));
    const std::string_view block = std::string_view(upper).substr(kCompressed.size());
    const std::size_t plus = block.find('+');
    std::string text = std::string(kCompressed) + DefinitionHex(block.substr(0, plus), romImage);
    if (plus != std::string_view::npos)
        text += "+" + DefinitionHex(block.substr(plus + 1), false);
    return parse(text);
}

} // namespace

Failure ParsePaletteArgument(const std::string& text, bool romImage, PaletteArgument& palette) {
    palette.text = text;
    if (text.starts_with('@')) {
        const std::optional<PaletteLocation> where =
            ParseLocationArgument(std::string_view(text).substr(1), romImage, ParsePaletteLocation);
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
        // Words of 1 to 3 digits, as set has always taken them, are the paste's 4-digit words.
        const bool shortWord = !word.empty() && word.size() < 4 && ParseHex(word);
        const TypedColour colour =
            ParseTypedColour(shortWord ? PadWithZeros(word, 4) : std::string(word));
        const auto* refused = std::get_if<ColourTextFailure>(&colour);
        if (refused != nullptr && refused->refusal == ColourTextRefusal::WordAboveMaximum)
            return Failure::Usage("INDEX=COLOUR " + Quoted(text) + ": a cor passa de 7FFF");
        if (!indexValue || refused != nullptr)
            return Failure::Usage("INDEX=COLOUR " + Quoted(text) +
                                  ": esperado um índice decimal e uma cor, como 3=7FFF, "
                                  "3=0x7FFF ou 3=#FFFFFF");
        result.push_back(
            Assignment{static_cast<std::size_t>(*indexValue), std::get<ColorWord>(colour)});
    }
    return {};
}

Failure ParseGraphicsArgument(const std::string& text, bool romImage, PaletteLocation& where) {
    const std::optional<PaletteLocation> parsed =
        text.starts_with('@') ? ParseLocationArgument(std::string_view(text).substr(1), romImage,
                                                      ParseGraphicsLocation)
                              : std::nullopt;
    if (!parsed)
        return Failure::Usage("GRAPHICS " + Quoted(text) +
                              ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0, ou um "
                              "bloco comprimido, como @LZ:6290+40");
    where = *parsed;
    return {};
}

} // namespace zandrel::cli
