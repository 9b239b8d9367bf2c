#include "palfiles/PaletteFiles.h"

#include <vector>

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
    if (const Failure failure = ReadPaletteOfContent(bytes, words); !failure.ok())
        return Failure::FileRefused(path, failure.reason);
    return {};
}

} // namespace zandrel
