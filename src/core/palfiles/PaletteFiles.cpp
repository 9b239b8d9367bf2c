#include "palfiles/PaletteFiles.h"

#include <vector>

#include "palfiles/ExtraFormats.h"
#include "platform/File.h"

namespace zandrel {

Failure WritePaletteFile(const std::string& path, PaletteFormat format, const Palette16& colours,
                         std::string_view name) {
    if (const FileStatus status = WriteWholeFile(path, PaletteFileBytes(format, colours, name));
        !status.ok())
        return Failure::CannotWrite(path, status);
    return {};
}

Failure ReadPaletteFile(const std::string& path, PaletteWords16& words) {
    std::vector<std::uint8_t> bytes;
    if (const FileStatus status = ReadWholeFile(path, kMaxPaletteFileSize, bytes); !status.ok())
        return Failure::CannotRead(path, status);
    const WordsResult read = ReadPaletteOfContent(bytes);
    if (!read.ok())
        return Failure::BadPaletteFile(path, read.failure.reason);
    words = read.words;
    return {};
}

} // namespace zandrel
