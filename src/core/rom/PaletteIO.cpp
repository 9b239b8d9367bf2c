#include "rom/PaletteIO.h"

#include <algorithm>
#include <cerrno>

#include "platform/File.h"

namespace zandrel {

Failure ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length,
                      std::vector<std::uint8_t>& bytes) {
    FileStatus status;
    File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return Failure::CannotRead(path, status);
    bytes.assign(length, 0);
    if (offset < 0)
        return Failure::CannotRead(path, FileStatus{FileError::ReadFailed, EINVAL});
    if (status = file.ReadAt(static_cast<std::uint64_t>(offset), bytes); !status.ok())
        return Failure::CannotRead(path, status);
    return {};
}

std::vector<std::uint8_t> WordsToBytes(std::span<const ColorWord> words) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(words.size() * 2);
    for (const ColorWord word : words) {
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((word >> 8) & 0x7F));
    }
    return bytes;
}

std::vector<ColorWord> BytesToWords(std::span<const std::uint8_t> bytes, int count) {
    std::vector<ColorWord> words(static_cast<std::size_t>(std::max(count, 0)));
    const std::size_t pairs = std::min(words.size(), bytes.size() / 2);
    for (std::size_t i = 0; i < pairs; ++i)
        words[i] = WordFromBytes(bytes[2 * i + 1], bytes[2 * i]);
    // A last low byte without its high byte; the words after it stay 0.
    if (pairs < words.size() && 2 * pairs < bytes.size())
        words[pairs] = WordFromBytes(0, bytes[2 * pairs]);
    return words;
}

Failure ReadColourWords(const std::string& path, std::int64_t location, int count,
                        std::vector<ColorWord>& words) {
    std::vector<std::uint8_t> bytes;
    const std::size_t length = count > 0 ? static_cast<std::size_t>(count) * 2 : 0;
    if (Failure failure = ReadFileBytes(path, location, length, bytes); !failure.ok())
        return failure;
    words = BytesToWords(bytes, count);
    return {};
}

namespace {

// Opens an existing file to rewrite `length` bytes at `offset` in place and takes its
// exclusive lock, so other writers wait until these bytes are on the disk. Every byte must
// lie inside the file, which never changes length; nothing is written here.
Failure OpenInPlace(const std::string& path, std::int64_t offset, std::size_t length, File& file) {
    FileStatus status;
    file = File::Open(path, OpenMode::ReadWriteExisting, status);
    if (status.ok())
        status = file.LockExclusive();
    std::uint64_t size = 0;
    if (status.ok())
        status = file.Size(size);
    if (!status.ok())
        return Failure::CannotWrite(path, status);
    if (offset < 0 || static_cast<std::uint64_t>(offset) + length > size)
        return Failure::BeyondEnd(path, offset, static_cast<std::int64_t>(length), size);
    return {};
}

// Writes the bytes, flushes them to the disk and closes the file.
Failure WriteAndFlush(File& file, const std::string& path, std::int64_t offset,
                      std::span<const std::uint8_t> bytes) {
    FileStatus status = file.WriteAt(static_cast<std::uint64_t>(offset), bytes);
    if (status.ok())
        status = file.Sync();
    if (status.ok())
        status = file.Close();
    if (!status.ok())
        return Failure::CannotWrite(path, status);
    return {};
}

} // namespace

Failure ChangeBytesInPlace(const std::string& path, std::int64_t offset, std::size_t length,
                           const std::function<void(std::vector<std::uint8_t>&)>& change) {
    File file;
    if (Failure failure = OpenInPlace(path, offset, length, file); !failure.ok())
        return failure;
    std::vector<std::uint8_t> bytes(length);
    if (const FileStatus status = file.ReadAt(static_cast<std::uint64_t>(offset), bytes);
        !status.ok())
        return Failure::CannotRead(path, status);
    change(bytes);
    return WriteAndFlush(file, path, offset, bytes);
}

Failure RewriteInPlace(const std::string& path, std::int64_t offset, const Rewrite& rewrite) {
    File file;
    // Opened and locked before anything is read; where the bytes end is known only then.
    if (Failure failure = OpenInPlace(path, 0, 0, file); !failure.ok())
        return failure;
    std::uint64_t size = 0;
    if (const FileStatus status = file.Size(size); !status.ok())
        return Failure::CannotWrite(path, status);
    std::vector<std::uint8_t> replacement;
    if (Failure failure = rewrite(file, size, replacement); !failure.ok())
        return failure;
    if (offset < 0 || static_cast<std::uint64_t>(offset) + replacement.size() > size)
        return Failure::BeyondEnd(path, offset, static_cast<std::int64_t>(replacement.size()),
                                  size);
    return WriteAndFlush(file, path, offset, replacement);
}

Failure WriteColourWords(const std::string& path, std::int64_t location,
                         std::span<const ColorWord> words) {
    const std::vector<std::uint8_t> bytes = WordsToBytes(words);
    File file;
    if (Failure failure = OpenInPlace(path, location, bytes.size(), file); !failure.ok())
        return failure;
    return WriteAndFlush(file, path, location, bytes);
}

} // namespace zandrel
