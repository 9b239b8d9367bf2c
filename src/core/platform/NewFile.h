// Writing a whole file the user named as a command's output (a patched ROM, a patch, an
// image): the path ends up holding either what it held before or every new byte, never part
// of them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/Failure.h"

namespace zandrel {

// Refuses a folder, a device or a file without write permission bits at `path` before
// writing anything; then writes the bytes to a new file beside it, flushes them and renames
// that file to `path` (PlaceWholeFile). A link at `path` is replaced by the file, never
// written through. A failure names `path` and leaves it as it was.
Failure WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace zandrel
