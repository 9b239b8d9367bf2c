#include "platform/FolderWrites.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandrel {

bool IsWritable(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool IsPlainFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
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

namespace {

// The new bytes in a file of their own at `part`, flushed, with the permissions of the file
// they replace (not of a link's target).
FileStatus WritePart(const std::string& part, const std::string& path,
                     std::span<const std::uint8_t> bytes) {
    FileStatus status;
    File file = File::Open(part, OpenMode::CreateNew, status);
    if (status.ok())
        status = file.WriteAt(0, bytes);
    if (status.ok())
        status = file.Sync();
    if (status.ok())
        status = file.Close();
    struct stat replaced {};
    if (status.ok() && ::lstat(path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode) &&
        ::chmod(part.c_str(), replaced.st_mode & 07777) != 0)
        status = FileStatus{FileError::WriteFailed, errno};
    return status;
}

// The rename is only lasting once the folder holding the name is flushed too. Best effort:
// the new file is in place and complete whatever this reports.
void SyncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

FileStatus PlaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    // One name per process, so two programs placing the same file never write into one. A
    // part left by a crash is removed first; a link there is removed, never followed.
    const std::string part = path + ".part" + std::to_string(::getpid());
    std::remove(part.c_str());
    FileStatus status = WritePart(part, path, bytes);
    if (status.ok() && std::rename(part.c_str(), path.c_str()) != 0)
        status = FileStatus{FileError::WriteFailed, errno};
    if (status.ok()) {
        SyncFolderOf(path);
        return status;
    }
    std::remove(part.c_str());
    // `path` itself was never touched: the failure changed nothing, whatever step it was.
    return FileStatus{FileError::OpenFailed, status.systemError};
}

} // namespace zandrel
