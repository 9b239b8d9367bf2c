#include "rom/Games.h"

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
