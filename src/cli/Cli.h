// zandrel-cli: the window's palette work for scripts and build pipelines, without a display.
// The commands take their streams as arguments so tests can run them in process too.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DataFolders.h"

namespace zandrel::cli {

inline constexpr std::string_view kProgramName = "zandrel-cli";

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // one line on the error stream names the file and fault
inline constexpr int kExitUsage = 2;   // the usage of the command follows on the error stream

// The usage of every command, every line ended by LF: what --help prints, and what follows a
// missing or unknown command.
std::string UsageText();

// What --version prints: the program's name and the version as the About box gives it, as
// "zandrel-cli 1.00.0011".
std::string VersionLine();

// Runs one command line (the arguments after the program's name). A command followed by -h or
// --help prints its own usage. The definition files are looked up in the user's data folder,
// then in the data folder. `in` is read only for an INFILE of "-". On any failure no file has
// been changed.
int RunCli(const std::vector<std::string>& args, const DataFolders& folders, std::istream& in,
           std::ostream& out, std::ostream& err);

// The folder of the running executable, or the folder of
// `argv0` when the system cannot say.
std::string ExecutableFolder(const char* argv0);

} // namespace zandrel::cli
