#include "platform/File.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include "platform/FileFaults.h"
#include "platform/SystemError.h"

namespace zandrel {

namespace {

std::atomic<int> syncFault{0};

FileStatus Failure(FileError error, int systemError) {
    return FileStatus{error, systemError};
}

FileError OpenErrorFromErrno(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EISDIR:
        return FileError::IsDirectory;
    case ENXIO: // a named pipe without a reader, or a device that is not there
    case ENODEV:
        return FileError::NotRegularFile;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return FileError::AccessDenied;
    default:
        return FileError::OpenFailed;
    }
}

// A limit as the user reads it: in mebibytes where it is a whole number of them.
std::string LimitText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
    if (bytes != 0 && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

void SetSyncFaultForTesting(int systemError) {
    syncFault = systemError;
}

std::string FileErrorText(const FileStatus& status) {
    if (status.systemError != 0)
        return SystemErrorText(status.systemError);
    switch (status.error) {
    case FileError::None:
        return "Sem erro";
    case FileError::NotFound:
        return SystemErrorText(ENOENT);
    case FileError::IsDirectory:
        return SystemErrorText(EISDIR);
    case FileError::NotRegularFile:
        return "Não é um arquivo comum";
    case FileError::BrokenLink:
        return "É um link simbólico para algo que não existe";
    case FileError::AccessDenied:
        return SystemErrorText(EACCES);
    case FileError::OpenFailed:
        return "Não foi possível abrir o arquivo";
    case FileError::TooLarge:
        return "O arquivo passa do limite de " + LimitText(status.limit);
    case FileError::Locked:
        return "O arquivo está em uso por outro programa";
    case FileError::ReadFailed:
        return "Não foi possível ler o arquivo";
    case FileError::WriteFailed:
        return "Não foi possível gravar o arquivo";
    case FileError::SyncFailed:
        return "Não foi possível levar os dados do arquivo ao disco";
    }
    return "Erro desconhecido";
}

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

File::~File() {
    Close();
}

File File::Open(const std::string& path, OpenMode mode, FileStatus& status) {
    // Never waits: a named pipe or a device would block the open or the first read. A writer
    // clears the flag again once the path proves to be a regular file.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    switch (mode) {
    case OpenMode::ReadOnly:
        flags |= O_RDONLY;
        break;
    case OpenMode::ReadWriteExisting:
        flags |= O_RDWR;
        break;
    case OpenMode::ReadWriteNoLink:
        flags |= O_RDWR | O_NOFOLLOW;
        break;
    case OpenMode::WriteTruncate:
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case OpenMode::CreateNew:
        flags |= O_WRONLY | O_CREAT | O_EXCL;
        break;
    }
    if (path.empty()) {
        status = Failure(FileError::NotFound, ENOENT);
        return File();
    }
    // A file to be written is looked at before it is opened: opening a device for writing
    // can have effects of its own, so it is refused unopened, and a file marked read-only
    // stays unchanged even for a user the system would let write it (root), checked first
    // since opening may already empty it. A reader opens at once and refuses what it opened
    // (below): O_NONBLOCK and O_NOCTTY keep a pipe or a terminal from holding it, and one
    // more path lookup would cost a palette read a third of its time.
    if (mode != OpenMode::ReadOnly) {
        struct stat existing {};
        const bool exists = ::stat(path.c_str(), &existing) == 0;
        if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
            status = Failure(FileError::NotRegularFile, 0);
            return File();
        }
        if (exists && S_ISREG(existing.st_mode) &&
            (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            status = Failure(FileError::AccessDenied, EACCES);
            return File();
        }
    }
    File file(::open(path.c_str(), flags, 0666));
    if (file.fd_ < 0) {
        const int err = errno;
        const FileError error = OpenErrorFromErrno(err);
        status = Failure(error, error == FileError::NotRegularFile ? 0 : err);
        return File();
    }
    // What was opened decides: the path may have changed since it was looked at. A folder
    // opens for reading on POSIX; it is never a file to work on.
    struct stat info {};
    if (::fstat(file.fd_, &info) != 0) {
        status = Failure(FileError::OpenFailed, errno);
        return File();
    }
    if (!S_ISREG(info.st_mode)) {
        status = S_ISDIR(info.st_mode) ? Failure(FileError::IsDirectory, EISDIR)
                                       : Failure(FileError::NotRegularFile, 0);
        return File();
    }
    // A reader keeps O_NONBLOCK: a regular file reads the same with it, and a file of the
    // system's that only looks regular (in /proc) fails at once where it would wait for data.
    // A writer clears it; the open set no other status flag (F_SETFL leaves the access mode
    // alone), so setting none clears it without asking for the flags first.
    if (mode != OpenMode::ReadOnly && ::fcntl(file.fd_, F_SETFL, 0) != 0) {
        status = Failure(FileError::OpenFailed, errno);
        return File();
    }
    status = FileStatus{};
    return file;
}

FileStatus File::LockExclusive(std::chrono::milliseconds wait) {
    constexpr std::chrono::milliseconds kRetry{5};
    for (std::chrono::milliseconds waited{0};; waited += kRetry) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return {};
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return Failure(FileError::Locked, errno);
        if (waited >= wait)
            return Failure(FileError::Locked, 0);
        std::this_thread::sleep_for(kRetry);
    }
}

FileStatus File::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (out.empty())
        return {};
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Failure(FileError::ReadFailed, errno);
        }
        if (got == 0)
            break; // end of file: the rest reads as 0
        done += static_cast<std::size_t>(got);
    }
    std::memset(out.data() + done, 0, out.size() - done);
    return {};
}

FileStatus File::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return Failure(FileError::WriteFailed, errno);
        }
        if (put == 0)
            return Failure(FileError::WriteFailed, EIO);
        done += static_cast<std::size_t>(put);
    }
    return {};
}

FileStatus File::Size(std::uint64_t& size) const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return Failure(FileError::ReadFailed, errno);
    size = static_cast<std::uint64_t>(info.st_size);
    return {};
}

FileStatus File::Sync() {
    if (const int fault = syncFault; fault != 0)
        return Failure(FileError::SyncFailed, fault);
    if (::fsync(fd_) != 0)
        return Failure(FileError::SyncFailed, errno);
    return {};
}

FileStatus File::Close() {
    if (fd_ < 0)
        return {};
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        return Failure(FileError::WriteFailed, errno);
    return {};
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

FileStatus ReadWholeFile(const std::string& path, std::uint64_t maxSize,
                         std::vector<std::uint8_t>& bytes) {
    FileStatus status;
    File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return status;
    std::uint64_t size = 0;
    if (status = file.Size(size); !status.ok())
        return status;
    if (size > maxSize)
        return FileStatus{FileError::TooLarge, 0, maxSize};
    bytes.resize(static_cast<std::size_t>(size));
    if (status = file.ReadAt(0, bytes); !status.ok())
        return status;
    return file.Close();
}

FileStatus WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    FileStatus status;
    File file = File::Open(path, OpenMode::WriteTruncate, status);
    if (!status.ok())
        return status;
    if (status = file.WriteAt(0, bytes); !status.ok())
        return status;
    if (status = file.Sync(); !status.ok())
        return status;
    return file.Close();
}

} // namespace zandrel
