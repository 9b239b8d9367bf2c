#include "platform/FolderWrites.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace zandrel {

bool IsWritable(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

FileStatus CreateFolders(const std::string& path) {
    if (!std::filesystem::path(path).is_absolute())
        return FileStatus{FileError::NotFound, ENOENT};
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error)
        return FileStatus{FileError::OpenFailed, error.value()};
    return {};
}

FileStatus PlaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    // One name per process, so two programs placing the same file never write into one.
    const std::string part = path + ".part" + std::to_string(::getpid());
    FileStatus status = WriteWholeFile(part, bytes);
    if (status.ok() && std::rename(part.c_str(), path.c_str()) != 0)
        status = FileStatus{FileError::WriteFailed, errno};
    if (status.ok())
        return status;
    std::remove(part.c_str());
    // `path` itself was never touched: the failure changed nothing, whatever step it was.
    return FileStatus{FileError::OpenFailed, status.systemError};
}

} // namespace zandrel
