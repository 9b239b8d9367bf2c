// The file layer against what a hostile user may put at a path: named pipes and devices,
// files of any size, other programs writing the same file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/File.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

// Refused at once in every mode. The test holds both ends of the pipe with bytes waiting, so
// a regression shows as a wrong answer rather than a hang.
TEST(File, AFifoOrADeviceIsRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.gba");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const int ends = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(ends, 0);
    ASSERT_EQ(::write(ends, "ABCD", 4), 4);
    std::vector<std::string> paths{fifo};
    if (fs::exists("/dev/null"))
        paths.push_back("/dev/null");
    for (const std::string& path : paths) {
        for (const OpenMode mode :
             {OpenMode::ReadOnly, OpenMode::ReadWriteExisting, OpenMode::WriteTruncate}) {
            SCOPED_TRACE(path + ", mode " + std::to_string(static_cast<int>(mode)));
            FileStatus status;
            File::Open(path, mode, status);
            EXPECT_EQ(status.error, FileError::NotRegularFile);
            EXPECT_EQ(FileErrorText(status), "Não é um arquivo comum");
        }
    }
    std::array<char, 8> left{};
    EXPECT_EQ(::read(ends, left.data(), left.size()), 4); // nothing was taken from the pipe
    ::close(ends);
}

// A huge sparse file is refused by its size before any memory is taken for it; a file of
// exactly the limit is read.
TEST(File, AFileLargerThanTheLimitIsRefusedBeforeItIsRead) {
    TempDir dir;
    const std::string path = dir.Write("huge.gbapal", {1, 2, 3});
    fs::resize_file(path, kMaxPaletteFileSize + 1);
    std::vector<std::uint8_t> bytes;
    const FileStatus status = ReadWholeFile(path, kMaxPaletteFileSize, bytes);
    EXPECT_EQ(status.error, FileError::TooLarge);
    EXPECT_EQ(FileErrorText(status), "O arquivo passa do limite de 1 MiB");
    EXPECT_TRUE(bytes.empty());

    fs::resize_file(path, kMaxPaletteFileSize);
    ASSERT_TRUE(ReadWholeFile(path, kMaxPaletteFileSize, bytes).ok());
    ASSERT_EQ(bytes.size(), kMaxPaletteFileSize);
    EXPECT_EQ(bytes[2], 3);
}

// A second writer waits the time it is given, then learns the file is in use; once the holder
// closes the file the lock is free.
TEST(File, ALockedFileTurnsASecondWriterAwayAfterTheWait) {
    TempDir dir;
    const std::string path = dir.Write("game.gba", PatternBytes(64));
    FileStatus status;
    File holder = File::Open(path, OpenMode::ReadWriteExisting, status);
    ASSERT_TRUE(holder.LockExclusive().ok());
    File writer = File::Open(path, OpenMode::ReadWriteExisting, status);
    status = writer.LockExclusive(std::chrono::milliseconds(20));
    EXPECT_EQ(status.error, FileError::Locked);
    EXPECT_EQ(FileErrorText(status), "O arquivo está em uso por outro programa");
    ASSERT_TRUE(holder.Close().ok());
    EXPECT_TRUE(writer.LockExclusive(std::chrono::milliseconds(0)).ok());
}

} // namespace
} // namespace zandrel::testing
