#include "rom/Identify.h"

#include <array>
#include <filesystem>
#include <span>

#include "platform/File.h"
#include "rom/Definitions.h"
#include "util/Hex.h"
#include "util/Messages.h"
#include "util/Text.h"

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

// IdentifyFile before the user's definition file is looked at.
Failure IdentifyByNameOrHeader(const std::string& path, const DataFolders& folders,
                               std::optional<Identification>& identification) {
    if (IsMemoryDumpName(path)) {
        identification = Identification{text::kMemoryDump, std::nullopt, {}, {}};
        return {};
    }
    std::optional<HeaderBytes> header;
    if (Failure failure = ReadHeaderAt(path, header); !failure.ok() || !header)
        return failure;
    const std::string code(CodeOf(*header).begin(), CodeOf(*header).end());
    if (const std::optional<GameInfo> game = FindGameByCode(CodeOf(*header))) {
        identification = Identification{std::string(game->title), game->index, {}, code};
        return {};
    }
    const std::string definitionFile = CodeDefinitionFile(CodeOf(*header));
    if (definitionFile.empty() || !DefinitionFileExists(definitionFile, folders))
        return {};
    const std::string title = InternalTitle(std::span(*header).first(kGameTitleLength));
    identification = Identification{(title.empty() ? "" : title + " ") + "(" + code + ")",
                                    std::nullopt, definitionFile, code};
    return {};
}

// A word the shell reads as it stands: quoted unless every character is plainly safe.
std::string ShellWord(const std::string& text) {
    constexpr std::string_view kSafe = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                       "0123456789_-+=.,:/@%";
    if (!text.empty() && text.find_first_not_of(kSafe) == std::string::npos)
        return text;
    std::string word = "'";
    for (const char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// The folders "<CODE>.ZNDL" is looked for in, in order, and the command that makes one.
std::string CodeFileDetails(const std::string& path, const std::string& name,
                            const DataFolders& folders) {
    std::string text = "e nenhum arquivo de definições " + Quoted(name) + " foi encontrado em " +
                       Quoted(folders.userData) + " nem em " + Quoted(folders.data) +
                       ". Para criar um com as paletas que o arquivo parece ter:\n";
    const std::string target = (std::filesystem::path(folders.userData) / name).string();
    return text + "mkdir -p " + ShellWord(folders.userData) + " && zandrel-cli scan " +
           ShellWord(path) + " -o " + ShellWord(target);
}

} // namespace

Failure IdentifyFile(const std::string& path, const DataFolders& folders,
                     std::optional<Identification>& identification) {
    identification.reset();
    if (Failure failure = IdentifyByNameOrHeader(path, folders, identification);
        !failure.ok() || !identification)
        return failure;
    Failure failure = CheckUserDefinitionFile(DefinitionFileOf(*identification), folders);
    if (!failure.ok())
        identification.reset();
    return failure;
}

std::string NotIdentifiedDetails(const std::string& path, const DataFolders& folders) {
    if (!FileExists(path))
        return "O arquivo " + Quoted(path) + " não existe.";
    std::optional<HeaderBytes> header;
    if (Failure failure = ReadHeaderAt(path, header); !failure.ok())
        return ErrorMessage(failure);
    if (!header)
        return "O arquivo é curto demais para ter o código do jogo, nos bytes AC a AF (hex) do "
               "cabeçalho.";
    const std::span<const std::uint8_t> code = CodeOf(*header);
    const std::string name = CodeDefinitionFile(code);
    if (name.empty()) {
        std::string bytes;
        for (const std::uint8_t byte : code)
            bytes += (bytes.empty() ? "" : " ") + PadWithZeros(HexText(byte), 2);
        return "O código do jogo no cabeçalho (bytes AC a AF) é " + bytes +
               " (hex), que não são quatro letras e dígitos: nenhum arquivo de definições tem "
               "esse nome.";
    }
    return "O código do jogo no cabeçalho é " + Quoted(std::string(code.begin(), code.end())) +
           ", " + CodeFileDetails(path, name, folders);
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
