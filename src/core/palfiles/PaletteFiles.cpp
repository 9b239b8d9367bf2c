#include "palfiles/PaletteFiles.h"

#include <vector>

#include "platform/File.h"
#include "rom/PaletteIO.h"

namespace zandrel {

Failure WritePaletteFile(const std::string& path, PaletteFormat format, const Palette16& colours,
                         std::string_view name) {
    if (const FileStatus status = WriteWholeFile(path, PaletteFileBytes(format, colours, name));
        !status.ok())
        return Failure::CannotWrite(path, status);
    return {};
}

Failure ReadGbaPaletteFile(const std::string& path, PaletteWords16& words) {
    std::vector<std::uint8_t> bytes;
    if (Failure failure = ReadFileBytes(path, 0, kGbaPaletteSize, bytes); !failure.ok())
        return failure;
    words = GbaPaletteWords(bytes);
    return {};
}

} // namespace zandrel
