#include "platform/NewFile.h"

#include <cerrno>

#include <sys/stat.h>

#include "platform/FolderWrites.h"

namespace zandrel {

namespace {

// Why what is at `path` may not be replaced: File::Open's refusals, so a file marked
// read-only stays as it is even for a user the system would let replace it. A link is
// replaced itself, whatever it leads to.
FileStatus Replaceable(const std::string& path) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) != 0 || S_ISLNK(existing.st_mode))
        return {};
    if (S_ISDIR(existing.st_mode))
        return FileStatus{FileError::IsDirectory, EISDIR};
    if (!S_ISREG(existing.st_mode))
        return FileStatus{FileError::NotRegularFile, 0};
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return FileStatus{FileError::AccessDenied, EACCES};
    return {};
}

} // namespace

Failure WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    FileStatus status = Replaceable(path);
    if (status.ok())
        status = PlaceWholeFile(path, bytes);
    return status.ok() ? Failure{} : Failure::CannotWrite(path, status);
}

} // namespace zandrel
