#include "CliHarness.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zandrel::testing {

namespace {
std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

std::string BuiltCli() {
    return ZANDREL_CLI_PATH;
}

CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const TempDir& scratch) {
    const std::string outPath = scratch.File("captured.stdout");
    const std::string errPath = scratch.File("captured.stderr");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");
    }
    CliRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(outPath);
    run.err = ReadText(errPath);
    return run;
}

std::string ProgramWithDefinitions(const TempDir& dir,
                                   const std::map<std::string, std::string>& definitions) {
    const std::filesystem::path folder = dir.path() / "program";
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "zandrel-cli";
    std::filesystem::copy_file(BuiltCli(), program,
                               std::filesystem::copy_options::overwrite_existing);
    for (const auto& [name, text] : definitions) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out << text;
    }
    return program.string();
}

bool IsOneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}

} // namespace zandrel::testing
