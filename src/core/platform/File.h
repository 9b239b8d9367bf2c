// Files as RAII objects: opened for one command, closed when the object goes out of scope,
// on success and on failure alike. Failures come back as values, never as exceptions.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zandrel {

enum class FileError {
    None,
    NotFound,       // nothing exists at the path
    IsDirectory,    // the path names a folder
    NotRegularFile, // a device, a named pipe or a socket: never opened for work
    BrokenLink,     // a symbolic link to nothing, where the user put a file of their own
    AccessDenied,   // read-only, immutable or not permitted
    OpenFailed,     // any other reason the system refused to open it
    TooLarge,       // larger than the caller reads whole; `limit` holds the largest size
    Locked,         // another program held its lock for longer than the wait
    ReadFailed,
    WriteFailed,
    SyncFailed, // the bytes could not be flushed to disk
};

struct FileStatus {
    FileError error = FileError::None;
    int systemError = 0;     // errno of the failing call, 0 when none
    std::uint64_t limit = 0; // TooLarge: the largest size accepted, in bytes

    bool ok() const { return error == FileError::None; }
};

// The system's reason for a failure, as one line of text.
std::string FileErrorText(const FileStatus& status);

// The largest files read whole. No palette file of any format comes near 1 MiB, and no
// sensible definition file near 64 MiB.
inline constexpr std::uint64_t kMaxPaletteFileSize = std::uint64_t{1} << 20;
inline constexpr std::uint64_t kMaxDefinitionFileSize = std::uint64_t{64} << 20;

// How long a writer waits for another program to let go of a file's lock.
inline constexpr std::chrono::milliseconds kLockWait{3000};

// Every mode but ReadOnly refuses a file without write permission bits, whoever runs it.
enum class OpenMode {
    ReadOnly,          // a missing file is an error
    ReadWriteExisting, // in place: a missing file is an error, never created
    ReadWriteNoLink,   // as ReadWriteExisting, but a symbolic link there is refused, not followed
    WriteTruncate,     // created or emptied first
    CreateNew,         // created; refused when anything, a link included, is at the path
};

class File {
  public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Opens a regular file; anything else at the path is refused without waiting on it.
    static File Open(const std::string& path, OpenMode mode, FileStatus& status);

    // Takes the file's exclusive advisory lock (flock), trying again every few milliseconds
    // for at most `wait` while another open file holds it. Held until this file is closed.
    FileStatus LockExclusive(std::chrono::milliseconds wait = kLockWait);
    // Reads out.size() bytes at the 0-based offset; bytes past the end of the file read as 0.
    FileStatus ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
    FileStatus WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    FileStatus Size(std::uint64_t& size) const;
    // Flushes written bytes to the disk.
    FileStatus Sync();
    // Closes now, reporting a failure of the close itself.
    FileStatus Close();

  private:
    explicit File(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// True when something exists at the path; only looks, never opens it.
bool FileExists(const std::string& path);
// Whole-file helpers; each opens, works and closes before returning.
// Reads a file of at most maxSize bytes; a larger one is refused before anything is read.
FileStatus ReadWholeFile(const std::string& path, std::uint64_t maxSize,
                         std::vector<std::uint8_t>& bytes);
// Creates or empties the file, writes the bytes and flushes them to disk.
FileStatus WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace zandrel
