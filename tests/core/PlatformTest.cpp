// The platform layer: hostile paths, the program's and the user's folders.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "TempDir.h"
#include "platform/DataFolders.h"
#include "platform/File.h"
#include "platform/FileFaults.h"
#include "platform/NewFile.h"
#include "rom/Definitions.h"
#include "rom/PaletteIO.h"

namespace zandrel::testing {
namespace {

namespace fs = std::filesystem;

// The pipe's both ends are held with bytes waiting: a regression fails rather than hangs.
TEST(File, AFifoOrAFolderIsRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.gba");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const int ends = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_EQ(::write(ends, "ABCD", 4), 4);
    for (const OpenMode mode :
         {OpenMode::ReadOnly, OpenMode::ReadWriteExisting, OpenMode::WriteTruncate}) {
        const std::pair<std::string, std::string> cases[] = {{fifo, "Não é um arquivo comum"},
                                                             {dir.path().string(), "É uma pasta"}};
        for (const auto& [path, text] : cases) {
            FileStatus status;
            File::Open(path, mode, status);
            EXPECT_EQ(status.ok() ? "" : FileErrorText(status), text) << path;
        }
    }
    std::array<char, 8> left{};
    EXPECT_EQ(::read(ends, left.data(), left.size()), 4); // nothing was taken from the pipe
    ::close(ends);
}

// The system's reasons in Portuguese, the number for one without a text; the file layer's own
// reasons when the system gave none.
TEST(File, ReasonsArePortuguese) {
    const std::pair<FileStatus, const char*> cases[] = {
        {{FileError::ReadFailed, ENOENT}, "Arquivo ou pasta inexistente"},
        {{FileError::Locked, EWOULDBLOCK}, "Recurso temporariamente indisponível"},
        {{FileError::ReadFailed, ECHILD}, "erro do sistema 10"},
        {{FileError::OpenFailed, 0}, "Não foi possível abrir o arquivo"},
        {{FileError::SyncFailed, 0}, "Não foi possível levar os dados do arquivo ao disco"}};
    for (const auto& [status, text] : cases)
        EXPECT_EQ(FileErrorText(status), text);
}

// The test holds the file's lock itself. A shared lock keeps a writer out as an exclusive one
// does (a writer taking a shared lock would pass here); the writer gives up after its wait,
// and a palette write under the lock fails after its own wait with nothing written.
TEST(File, AWriterWaitsForAnyOtherLockAndGivesUpAfterTheWait) {
    TempDir dir;
    const std::string path = dir.Write("locked.gba", {1, 2});
    for (const int held : {LOCK_SH, LOCK_EX}) {
        const int holder = ::open(path.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(holder, held), 0);
        FileStatus status;
        File writer = File::Open(path, OpenMode::ReadWriteExisting, status);
        ASSERT_TRUE(status.ok());
        status = writer.LockExclusive(std::chrono::milliseconds(20));
        EXPECT_EQ(FileErrorText(status), "O arquivo está em uso por outro programa") << held;
        if (held == LOCK_EX) {
            EXPECT_EQ(ErrorMessage(ChangeBytesInPlace(
                          path, 0, 1, [](std::vector<std::uint8_t>& b) { b[0] = 0x11; })),
                      "Não foi possível gravar no arquivo \"" + path +
                          "\". Nada foi alterado.\r\n\r\nO arquivo está em uso por outro programa");
        }
        ::close(holder);
        EXPECT_TRUE(writer.LockExclusive(std::chrono::milliseconds(0)).ok()) << held;
    }
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{1, 2}));
}

TEST(File, AFileLargerThanTheLimitIsRefusedBeforeItIsRead) {
    TempDir dir;
    const std::string path = dir.Write("huge.gbapal", {1, 2, 3});
    fs::resize_file(path, kMaxPaletteFileSize + 1);
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(FileErrorText(ReadWholeFile(path, kMaxPaletteFileSize, bytes)),
              "O arquivo passa do limite de 1 MiB");
    EXPECT_TRUE(bytes.empty());
    fs::resize_file(path, kMaxPaletteFileSize);
    ASSERT_TRUE(ReadWholeFile(path, kMaxPaletteFileSize, bytes).ok());
    EXPECT_EQ(bytes.size(), kMaxPaletteFileSize);
}

// Refused before anything is written: a folder, a file marked read-only; a failed flush
// leaves the old bytes and no part file. A link is replaced, and a file's permissions kept.
TEST(WriteNewFile, LeavesThePathWithTheOldBytesOrAllTheNew) {
    TempDir dir;
    const std::vector<std::uint8_t> old{1, 2}, bytes{9};
    const std::string kept = dir.Write("kept.gba", old);
    fs::permissions(kept, fs::perms::owner_read);
    const std::string written = dir.Write("written.gba", old);
    for (const auto& [path, reason] : {std::pair{dir.path().string(), "É uma pasta"},
                                       {kept, "Permissão negada"},
                                       {written, "Erro de entrada e saída no dispositivo"}}) {
        const ScopedSyncFaultForTesting fault(path == written ? EIO : 0);
        EXPECT_EQ(ErrorMessage(WriteNewFile(path, bytes)),
                  "Não foi possível gravar no arquivo \"" + path +
                      "\". Nada foi alterado.\r\n\r\n" + reason);
    }
    EXPECT_TRUE(ReadBytes(kept) == old && ReadBytes(written) == old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
    fs::permissions(written, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(kept, dir.File("link.gba"));
    for (const std::string& path : {written, dir.File("link.gba")})
        ASSERT_TRUE(WriteNewFile(path, bytes).ok());
    EXPECT_TRUE(ReadBytes(dir.File("link.gba")) == bytes && ReadBytes(kept) == old);
    EXPECT_FALSE(fs::is_symlink(dir.File("link.gba")));
    EXPECT_EQ(fs::status(written).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(DataFolders, UserFoldersAndTheProgramsDataFolderAreFoundWhereTheirFilesAre) {
    // XDG_DATA_HOME, XDG_CACHE_HOME, HOME, the account's home: the data and cache folders.
    using Unset = std::optional<std::string>;
    const std::tuple<FolderEnvironment, std::string, std::string> environments[] = {
        {{"/x/data", "/x/cache", "/home/u", "/home/a"}, "/x/data/zandrel", "/x/cache/zandrel"},
        {{"rel", Unset(), "/home/u", "/home/a"},
         "/home/u/.local/share/zandrel",
         "/home/u/.cache/zandrel"},
        {{Unset(), Unset(), Unset(), "/home/a"},
         "/home/a/.local/share/zandrel",
         "/home/a/.cache/zandrel"},
        {{Unset(), Unset(), "", "/home/a"},
         "/home/a/.local/share/zandrel",
         "/home/a/.cache/zandrel"},
        {{Unset(), Unset(), "", ""}, "", ""},
        {{Unset(), "/x/cache", Unset(), ""}, "", "/x/cache/zandrel"},
    };
    for (const auto& [environment, data, cache] : environments) {
        const DataFolders folders = FoldersFromEnvironment("/nowhere/bin", environment);
        EXPECT_EQ(folders.userData, data) << cache;
        EXPECT_EQ(folders.userCache, cache) << data;
    }
    const TempDir root;
    const fs::path bin = root.path() / "bin";
    fs::create_directories(bin / "KEMR_J.ZNDL"); // a folder is no definition file
    EXPECT_EQ(DataFolderFor(bin.string()), (root.path() / "share" / "zandrel").string());
    // A pipe in a definition file's place is refused when read, not passed over.
    ASSERT_EQ(::mkfifo((bin / "Torv_E.zndl").c_str(), 0600), 0);
    EXPECT_EQ(DataFolderFor(bin.string()), bin.string());
    // A user's definition file is read before the program's own.
    const DataFolders folders{"/program/data", root.path().string(), ""};
    EXPECT_EQ(DefinitionFolder("TORV_E.ZNDL", folders), "/program/data");
    root.WriteText("TORV_E.ZNDL", "16,0,Minha paleta\r\n");
    EXPECT_EQ(DefinitionFolder("TORV_E.ZNDL", folders), root.path().string());
}

} // namespace
} // namespace zandrel::testing
