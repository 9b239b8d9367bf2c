#include "rom/Identify.h"

#include <array>

#include "platform/File.h"
#include "util/Messages.h"

namespace zandrel {

std::optional<GameInfo> IdentifyByHeader(const std::string& path) {
    // Only an existing file has a code; nothing is created for a typed name.
    if (!FileExists(path))
        return std::nullopt;
    FileStatus status;
    const File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return std::nullopt;
    std::uint64_t size = 0;
    if (!file.Size(size).ok() || size < kGameCodeOffset + 4)
        return std::nullopt; // no complete code
    std::array<std::uint8_t, 4> code{};
    if (!file.ReadAt(kGameCodeOffset, code).ok())
        return std::nullopt;
    return FindGameByCode(code);
}

std::optional<Identification> IdentifyFile(const std::string& path) {
    if (IsMemoryDumpName(path))
        return Identification{text::kMemoryDump, std::nullopt};
    const std::optional<GameInfo> game = IdentifyByHeader(path);
    if (!game)
        return std::nullopt;
    return Identification{std::string(game->title), game->index};
}

std::string DefinitionFileOf(const Identification& identification) {
    return DefinitionFileFor(identification.title, identification.gameIndex.value_or(-1));
}

} // namespace zandrel
