#include "rom/Identify.h"

#include <array>
#include <span>

#include "platform/File.h"
#include "rom/Definitions.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

// The header from the title at 0xA0 to the end of the code at 0xAF.
using HeaderBytes = std::array<std::uint8_t, kGameTitleLength + 4>;

// Nothing for a file shorter than 176 bytes.
Failure ReadHeader(const File& file, const std::string& path, std::optional<HeaderBytes>& header) {
    header.reset();
    std::uint64_t size = 0;
    if (const FileStatus status = file.Size(size); !status.ok())
        return Failure::CannotRead(path, status);
    if (size < kGameCodeOffset + 4)
        return {}; // no complete code
    HeaderBytes bytes{};
    if (const FileStatus status = file.ReadAt(kGameTitleOffset, bytes); !status.ok())
        return Failure::CannotRead(path, status);
    header = bytes;
    return {};
}

// The header of the file at `path`: nothing for a missing file (a typed name is never
// created) or one too short to hold a code; a failure for a file that cannot be read.
Failure ReadHeaderAt(const std::string& path, std::optional<HeaderBytes>& header) {
    header.reset();
    if (!FileExists(path))
        return {};
    FileStatus status;
    const File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return Failure::CannotRead(path, status);
    return ReadHeader(file, path, header);
}

std::span<const std::uint8_t> CodeOf(const HeaderBytes& header) {
    return std::span(header).subspan(kGameTitleLength, 4);
}

} // namespace

Failure IdentifyFile(const std::string& path, const DataFolders& folders,
                     std::optional<Identification>& identification) {
    identification.reset();
    if (IsMemoryDumpName(path)) {
        identification = Identification{text::kMemoryDump, std::nullopt, {}};
        return {};
    }
    std::optional<HeaderBytes> header;
    if (Failure failure = ReadHeaderAt(path, header); !failure.ok() || !header)
        return failure;
    if (const std::optional<GameInfo> game = FindGameByCode(CodeOf(*header))) {
        identification = Identification{std::string(game->title), game->index, {}};
        return {};
    }
    const std::string definitionFile = CodeDefinitionFile(CodeOf(*header));
    if (definitionFile.empty() || !DefinitionFileExists(definitionFile, folders))
        return {};
    const std::string code(CodeOf(*header).begin(), CodeOf(*header).end());
    const std::string title = InternalTitle(std::span(*header).first(kGameTitleLength));
    identification = Identification{(title.empty() ? "" : title + " ") + "(" + code + ")",
                                    std::nullopt, definitionFile};
    return {};
}

std::optional<Identification> IdentifyFile(const std::string& path, const DataFolders& folders) {
    std::optional<Identification> identification;
    IdentifyFile(path, folders, identification); // an unreadable file has no identification
    return identification;
}

std::string DefinitionFileOf(const Identification& identification) {
    if (!identification.codeDefinitionFile.empty())
        return identification.codeDefinitionFile;
    return DefinitionFileFor(identification.title, identification.gameIndex.value_or(-1));
}

} // namespace zandrel
