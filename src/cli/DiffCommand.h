// zandrel-cli diff: what changed between two versions of a ROM image, palette by palette and
// then byte by byte, with cmp's exit statuses (0 the same, 1 different, 2 any trouble).
#pragma once

#include <string>
#include <string_view>

#include "Arguments.h"
#include "CliCommands.h"

namespace zandrel::cli {

inline constexpr std::string_view kDiffUsage = "A B [--scan] [--json]";
inline constexpr OptionRule kDiffOptions[] = {{"--scan", false}, {"--json", false}};

// The palettes of A's definition file (--scan: the ones scan finds in A) whose colours differ
// in B, one line each; then one line for the bytes that differ outside them. Says through
// call.different whether anything differs.
Failure Diff(const Invocation& call);

std::string DiffNote();

} // namespace zandrel::cli
