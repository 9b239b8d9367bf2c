#include "rom/Games.h"

#include <algorithm>

#include "util/Messages.h"
#include "util/Text.h"

namespace zandrel {

std::optional<GameInfo> FindGameByCode(std::span<const std::uint8_t> code) {
    if (code.size() != 4)
        return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(code.data()), code.size());
    for (const GameInfo& game : kGames)
        if (game.code == text)
            return game;
    return std::nullopt;
}

std::string CodeDefinitionFile(std::span<const std::uint8_t> code) {
    const auto letterOrDigit = [](std::uint8_t c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    if (code.size() != 4 || !std::all_of(code.begin(), code.end(), letterOrDigit))
        return {};
    return std::string(code.begin(), code.end()) + ".ZNDL";
}

std::string InternalTitle(std::span<const std::uint8_t> title) {
    std::size_t length = title.size();
    while (length > 0 && (title[length - 1] == 0 || title[length - 1] == ' '))
        --length;
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += title[i] >= 0x20 && title[i] < 0x7F ? static_cast<char>(title[i]) : '?';
    return text;
}

bool IsMemoryDumpName(std::string_view path) {
    return EndsWithNoCase(path, ".DMP");
}

std::string DefinitionFileFor(std::string_view gameName, std::int16_t gameIndex) {
    if (gameName == text::kMemoryDump)
        return std::string(kMemoryDumpDefinitionFile);
    for (const GameInfo& game : kGames)
        if (game.index == gameIndex)
            return std::string(game.definitionFile);
    return {};
}

} // namespace zandrel
