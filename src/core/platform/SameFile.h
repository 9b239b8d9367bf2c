// Whether a file about to be written is the file the palettes come from.
#pragma once

#include <string>

#include "platform/Failure.h"

namespace zandrel {

// True when both paths name one existing file: the same device and inode once every link is
// followed, so a symbolic link, a hard link or another spelling of the path is caught. A
// path that names nothing (yet) is no other file.
bool SameFile(const std::string& a, const std::string& b);

// Writing a palette file over the open ROM would cut it down to the palette: refused, naming
// both, when `target` is the file `openFile`; nothing is written.
Failure RefuseWritingOverOpenFile(const std::string& target, const std::string& openFile);

} // namespace zandrel
