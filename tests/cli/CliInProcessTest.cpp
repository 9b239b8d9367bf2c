// zandrel-cli's commands run in this process: several at once on one file, and on a disk
// that refuses to flush.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <thread>
#include <vector>

#include "CliCommands.h"
#include "TempDir.h"
#include "platform/FileFaults.h"

using namespace zandrel;
using namespace zandrel::testing;

namespace {

int RunSet(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream out;
    std::ostringstream errors;
    const int status = cli::RunCli(args, DataFolders{".", "", ""}, out, errors);
    if (err != nullptr)
        *err = errors.str();
    return status;
}

// Eight writers at once, each setting two words of its own at the ends of a range that
// overlaps every other writer's: `set` rewrites the words between them as it read them, so
// without the lock one writer puts back words another has just changed.
TEST(CliInProcess, ConcurrentSetsOnOverlappingIndexesLoseNoWord) {
    TempDir dir;
    const std::string path = dir.Write("game.gba", std::vector<std::uint8_t>(64, 0));
    constexpr std::size_t kWriters = 8;
    for (unsigned round = 1; round <= 25; ++round) {
        const auto word = [round](std::size_t index) {
            return static_cast<std::uint16_t>(round * 0x100 + index);
        };
        const auto assign = [&](std::size_t index) {
            std::ostringstream text;
            text << index << '=' << std::hex << std::uppercase << word(index);
            return text.str();
        };
        std::array<int, kWriters> status{};
        std::vector<std::thread> writers;
        for (std::size_t w = 0; w < kWriters; ++w)
            writers.emplace_back([&, w] {
                status[w] = RunSet({"set", path, "@0", assign(w), assign(w + kWriters)});
            });
        for (std::thread& writer : writers)
            writer.join();
        const std::vector<std::uint8_t> bytes = ReadBytes(path);
        for (std::size_t index = 0; index < 2 * kWriters; ++index)
            ASSERT_EQ(StoredWord(bytes, 2 * index), word(index))
                << "round " << round << ", index " << index;
        EXPECT_EQ(status, (std::array<int, kWriters>{}));
    }
}

TEST(CliInProcess, ASetWhoseFlushFailsExitsWithOne) {
    TempDir dir;
    const std::string path = dir.Write("game.gba", std::vector<std::uint8_t>(64, 0));
    const ScopedSyncFaultForTesting fault(EIO);
    std::string err;
    EXPECT_EQ(RunSet({"set", path, "@0", "0=7FFF"}, &err), 1);
    EXPECT_EQ(err, "zandrel-cli: A gravação no arquivo \"" + path +
                       "\" começou, mas não pôde ser concluída: o arquivo pode ter sido alterado. "
                       "Confira-o antes de usá-lo. " +
                       std::strerror(EIO) + "\n");
}

} // namespace
