// Palette files of their own: the export writes one, the import reads one in any format.
#pragma once

#include <string>
#include <string_view>

#include "palfiles/PaletteFormats.h"
#include "platform/Failure.h"

namespace zandrel {

// Writes the colours in `format` to a file of its own: created, or emptied first so none of
// an older, longer file's bytes stay behind the palette; flushed to disk before it returns.
// `name` is the GIMP palette's name.
Failure WritePaletteFile(const std::string& path, PaletteFormat format, const Palette16& colours,
                         std::string_view name = {});

// The sixteen colour words of the palette file at `path`, in the format its content shows
// (ReadPaletteOfContent), whatever its name. Read only: a missing file is a failure and
// nothing is created; a file no palette could be as large as is refused unread. `words`
// changes only on success.
Failure ReadPaletteFile(const std::string& path, PaletteWords16& words);

} // namespace zandrel
