// The dispatch: the command line's first word picks a row of the command table, which splits
// and counts the rest before its command runs; failures become one line and an exit status.
#include "Cli.h"

#include <algorithm>
#include <filesystem>
#include <span>

#include "Arguments.h"
#include "CliCommands.h"
#include "app/Version.h"
#include "util/Text.h"

namespace zandrel::cli {

namespace {

bool IsHelpWord(std::string_view word) {
    return word == "-h" || word == "--help";
}

const Command* FindCommand(std::string_view name) {
    const std::span<const Command> commands = Commands();
    const auto found = std::ranges::find(commands, name, &Command::name);
    return found == commands.end() ? nullptr : &*found;
}

// The window's failure texts span several lines; the error stream gets one.
std::string OneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
            ++i;
        line += ' ';
    }
    return line;
}

// The one line the error stream gets for a failure: the window's texts that span several are
// joined, and the byte viewer's count, whose box stands over the file's palette, gets the file
// in front.
std::string ErrorLine(const Failure& failure) {
    const std::string line = OneLine(ErrorMessage(failure));
    return failure.result == Result::CountTooLarge ? Quoted(failure.file) + ": " + line : line;
}

Failure RunCommand(const Command& command, std::span<const std::string> words,
                   const DataFolders& folders, std::istream& in, std::ostream& out,
                   std::ostream& err, bool& different) {
    CommandArguments arguments;
    if (Failure failure = SplitArguments(command.name, words, command.options, arguments);
        !failure.ok())
        return failure;
    if (Failure failure =
            CheckOperandCount(arguments, command.fewestOperands, command.mostOperands);
        !failure.ok())
        return failure;
    if (Failure failure = RefuseEmptyFileNames(arguments, command.usage); !failure.ok())
        return failure;
    return command.run(Invocation{arguments, folders, in, out, err, different});
}

// The exit status of a run. A usage error is followed by the usage of its command, or by the
// general one when there is no command. A comparison's failures are all trouble.
int Report(const Failure& failure, const Command* command, std::ostream& err,
           bool different = false) {
    const bool comparison = command != nullptr && command->comparison;
    if (failure.ok())
        return comparison && different ? kExitFailure : kExitSuccess;
    err << kProgramName << ": " << ErrorLine(failure) << '\n';
    if (failure.result != Result::Usage)
        return comparison ? kExitUsage : kExitFailure;
    err << (command != nullptr ? CommandUsageText(*command) : UsageText());
    return kExitUsage;
}

} // namespace

std::string VersionLine() {
    return std::string(kProgramName) + " " +
           BuildVersionText({ZANDREL_VERSION_MAJOR, ZANDREL_VERSION_MINOR, ZANDREL_VERSION_PATCH}) +
           "\n";
}

int RunCli(const std::vector<std::string>& args, const DataFolders& folders, std::istream& in,
           std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (IsHelpWord(args[0]) || args[0] == "help")) {
        out << UsageText();
        return kExitSuccess;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << VersionLine();
        return kExitSuccess;
    }
    if (args.empty())
        return Report(Failure::Usage("falta o comando"), nullptr, err);
    const Command* command = FindCommand(args[0]);
    if (command == nullptr)
        return Report(Failure::Usage("comando desconhecido " + Quoted(args[0])), nullptr, err);
    const std::span<const std::string> words = std::span(args).subspan(1);
    if (std::ranges::any_of(words, IsHelpWord)) {
        out << CommandUsageText(*command);
        return kExitSuccess;
    }
    bool different = false;
    const Failure failure = RunCommand(*command, words, folders, in, out, err, different);
    return Report(failure, command, err, different);
}

std::string ExecutableFolder(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !self.empty())
        return self.parent_path().string();
    const std::filesystem::path given = std::filesystem::absolute(argv0 ? argv0 : "", error);
    return error ? std::string(".") : given.parent_path().string();
}

} // namespace zandrel::cli
