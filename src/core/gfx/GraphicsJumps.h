// The viewer's jumps between compressed graphics (F3 and Shift+F3): the blocks the scanner
// finds in the file (scan/GraphicsBlocks.h), found once for each version of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/FileVersion.h"
#include "scan/GraphicsBlocks.h"

namespace zandrel {

class GraphicsJumps {
  public:
    // The nearest block after the file offset (or before it, `backward`); nothing when there
    // is none that way. A file that cannot be read, or is larger than a GBA ROM, is a failure.
    Failure Next(const std::string& path, std::uint32_t offset, bool backward,
                 std::optional<GraphicsBlock>& next);

  private:
    std::optional<FileVersion> scanned_;
    std::vector<GraphicsBlock> blocks_;
};

} // namespace zandrel
