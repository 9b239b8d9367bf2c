#include "gfx/GraphicsJumps.h"

#include "scan/PaletteScanner.h"

namespace zandrel {

Failure GraphicsJumps::Next(const std::string& path, std::uint32_t offset, bool backward,
                            std::optional<GraphicsBlock>& next) {
    next.reset();
    const std::optional<FileVersion> version = VersionOf(path);
    if (!version || version != scanned_) {
        scanned_.reset();
        blocks_.clear();
        std::vector<std::uint8_t> rom;
        if (Failure failure = ReadRomImage(path, rom); !failure.ok())
            return failure;
        blocks_ = FindGraphicsBlocks(rom);
        // Taken before the read: a file changed during it is scanned again next time.
        scanned_ = version;
    }
    next = NextGraphicsBlock(blocks_, offset, backward);
    return {};
}

} // namespace zandrel
