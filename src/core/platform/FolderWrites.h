// Writing into the folders the program keeps for itself (the user's cache): whether a path
// may be written, making a folder with its parents, and placing a whole new file so that no
// reader ever finds part of it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/File.h"

namespace zandrel {

// True when a file or folder exists at `path`, carries a write permission bit and the system
// lets this process write it. Without any write bit it counts as read-only even for a user
// the system would let write it (root), as File::Open has it.
bool IsWritable(const std::string& path);

// True when `path` names a regular file itself, not a link to one (nor anything else).
bool IsPlainFile(const std::string& path);

// Creates the folder at the absolute `path` and every missing parent; an existing folder is
// fine. A relative path, which would depend on the current directory, is refused.
FileStatus CreateFolders(const std::string& path);

// Writes the bytes to a new file beside `path`, flushes them and then renames that file to
// `path`, so `path` never holds part of them, even when two programs place it at once; the
// file replaced passes on its permissions. A failure leaves `path` as it was and says so (it
// is never WriteFailed or SyncFailed).
FileStatus PlaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace zandrel
