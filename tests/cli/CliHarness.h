// Runs zandrel-cli as a child process and captures what it prints.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "TempDir.h"

namespace zandrel::testing {

struct CliRun {
    int status = -1; // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// The program built beside the shipped definition files.
std::string BuiltCli();

// Runs `program` with the arguments; its output goes through files in `scratch`.
CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const TempDir& scratch);

// A copy of the program in a folder of its own, beside the given definition files (name to
// content), so a test can choose what the definitions say.
std::string ProgramWithDefinitions(const TempDir& dir,
                                   const std::map<std::string, std::string>& definitions);

// True when the text is exactly one line ended by LF.
bool IsOneLine(const std::string& text);

} // namespace zandrel::testing
