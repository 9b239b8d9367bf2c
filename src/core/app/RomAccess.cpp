#include "app/RomAccess.h"

#include <cerrno>

#include "platform/File.h"

namespace zandrel {

namespace {
Failure IoFailure(Result result, const std::string& path, const FileStatus& status) {
    Failure failure;
    failure.result = result;
    failure.file = path;
    failure.io = status;
    return failure;
}
} // namespace

Failure ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length,
                      std::vector<std::uint8_t>& bytes) {
    FileStatus status;
    File file = File::Open(path, OpenMode::ReadOnly, status);
    if (!status.ok())
        return IoFailure(Result::CannotRead, path, status);
    bytes.assign(length, 0);
    if (offset < 0)
        return IoFailure(Result::CannotRead, path, FileStatus{FileError::ReadFailed, EINVAL});
    if (status = file.ReadAt(static_cast<std::uint64_t>(offset), bytes); !status.ok())
        return IoFailure(Result::CannotRead, path, status);
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
    std::vector<ColorWord> words;
    for (int i = 0; i < count; ++i) {
        const std::size_t lo = static_cast<std::size_t>(i) * 2;
        const int low = lo < bytes.size() ? bytes[lo] : 0;
        const int high = lo + 1 < bytes.size() ? bytes[lo + 1] : 0;
        words.push_back(WordFromBytes(high & 0x7F, low));
    }
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

Failure WriteColourWords(const std::string& path, std::int64_t location,
                         std::span<const ColorWord> words, WriteTarget target) {
    FileStatus status;
    File file = File::Open(path,
                           target == WriteTarget::InPlace ? OpenMode::ReadWriteExisting
                                                          : OpenMode::WriteTruncate,
                           status);
    if (!status.ok())
        return IoFailure(Result::CannotWrite, path, status);
    const std::vector<std::uint8_t> bytes = WordsToBytes(words);
    if (target == WriteTarget::InPlace) {
        // Other writers of the file wait until these bytes are on the disk.
        if (status = file.LockExclusive(); !status.ok())
            return IoFailure(Result::CannotWrite, path, status);
        std::uint64_t size = 0;
        if (status = file.Size(size); !status.ok())
            return IoFailure(Result::CannotWrite, path, status);
        if (location < 0 || static_cast<std::uint64_t>(location) + bytes.size() > size) {
            Failure failure;
            failure.result = Result::PaletteBeyondEnd;
            failure.file = path;
            failure.offset = location;
            failure.length = static_cast<std::int64_t>(bytes.size());
            failure.size = size;
            return failure;
        }
    }
    if (status = file.WriteAt(static_cast<std::uint64_t>(location), bytes); !status.ok())
        return IoFailure(Result::CannotWrite, path, status);
    if (status = file.Sync(); !status.ok())
        return IoFailure(Result::CannotWrite, path, status);
    if (status = file.Close(); !status.ok())
        return IoFailure(Result::CannotWrite, path, status);
    return {};
}

} // namespace zandrel
