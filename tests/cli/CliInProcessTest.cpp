// zandrel-cli's commands run in this process, on a disk that refuses to flush.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>
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
    const int status = cli::RunCli(args, ".", out, errors);
    if (err != nullptr)
        *err = errors.str();
    return status;
}

TEST(CliInProcess, ASetWhoseFlushFailsExitsWithOne) {
    TempDir dir;
    const std::string path = dir.Write("game.gba", std::vector<std::uint8_t>(64, 0));
    const ScopedSyncFaultForTesting fault(EIO);
    std::string err;
    EXPECT_EQ(RunSet({"set", path, "@0", "0=7FFF"}, &err), 1);
    EXPECT_EQ(err, "zandrel-cli: Não foi possível gravar no arquivo \"" + path +
                       "\". Nada foi alterado. " + std::strerror(EIO) + "\n");
}

} // namespace
