// zandrel-cli's commands as a table: one row per command drives the dispatch, the check of its
// operand count, the usage text and the command's own --help. A new command is a new row; a
// new option is a rule in its row's options.
#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "Arguments.h"
#include "platform/DataFolders.h"
#include "platform/Failure.h"

namespace zandrel::cli {

// The file name that stands for standard input or output.
inline constexpr std::string_view kStandardStream = "-";

// What a command runs with: its words split by its row, and its streams.
struct Invocation {
    const CommandArguments& arguments; // as many operands as the row allows
    const DataFolders& folders;
    std::istream& in;
    std::ostream& out;
    std::ostream& err; // notes beside the output (a failure is returned, not written here)
    bool& different;   // a comparison's finding: the files differ (exit 1)

    const std::string& Operand(std::size_t i) const { return arguments.operands[i]; }
    bool Json() const { return arguments.Has("--json"); }
};

struct Command {
    std::string_view name;
    std::string_view usage; // the words after the name, as the usage shows them
    std::size_t fewestOperands = 0;
    std::size_t mostOperands = 0; // kAnyNumber for no limit
    std::span<const OptionRule> options;
    // Checks everything before it writes its first byte.
    Failure (*run)(const Invocation& call) = nullptr;
    // Exits as cmp does: 0 the same, 1 different (Invocation::different), 2 on any failure.
    bool comparison = false;
};

// An explanation in the usage, of a word of the usage lines ("PALETTE") or of a command
// ("scan"). A command's --help gives the notes of its name and of its usage's words.
struct UsageNote {
    std::string_view subject;
    std::string text; // what follows "subject: ", every line ended by LF
};

// In the order the usage lists them.
std::span<const Command> Commands();
std::span<const UsageNote> UsageNotes();

// "Uso: zandrel-cli NAME USAGE" and the notes that explain it, every line ended by LF.
std::string CommandUsageText(const Command& command);

} // namespace zandrel::cli
