#include "rom/Identify.h"

#include <array>

#include "platform/File.h"
#include "util/Messages.h"

namespace zandrel {

Failure ReadGameCode(const File& file, const std::string& path, std::optional<GameInfo>& game) {
    game.reset();
    std::uint64_t size = 0;
    if (const FileStatus status = file.Size(size); !status.ok())
        return Failure::CannotRead(path, status);
    if (size < kGameCodeOffset + 4)
        return {}; // no complete code
    std::array<std::uint8_t, 4> code{};
    if (const FileStatus status = file.ReadAt(kGameCodeOffset, code); !status.ok())
        return Failure::CannotRead(path, status);
    game = FindGameByCode(code);
    return {};
}

Failure IdentifyByHeader(const std::string& path, std::optional<GameInfo>& game) {
    game.reset();
    // Only an existing file has a code; nothing is created for a typed name.
    if (!FileExists(path))
        return {};
    FileStatus status;
    const File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return Failure::CannotRead(path, status);
    return ReadGameCode(file, path, game);
}

Failure IdentifyFile(const std::string& path, std::optional<Identification>& identification) {
    identification.reset();
    if (IsMemoryDumpName(path)) {
        identification = Identification{text::kMemoryDump, std::nullopt};
        return {};
    }
    std::optional<GameInfo> game;
    if (Failure failure = IdentifyByHeader(path, game); !failure.ok())
        return failure;
    if (game)
        identification = Identification{std::string(game->title), game->index};
    return {};
}

std::optional<Identification> IdentifyFile(const std::string& path) {
    std::optional<Identification> identification;
    IdentifyFile(path, identification); // an unreadable file has no identification either
    return identification;
}

std::string DefinitionFileOf(const Identification& identification) {
    return DefinitionFileFor(identification.title, identification.gameIndex.value_or(-1));
}

} // namespace zandrel
