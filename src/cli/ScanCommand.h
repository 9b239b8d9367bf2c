// zandrel-cli scan: the palettes a file seems to hold, as lines of a definition file.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "CliCommands.h"

namespace zandrel::cli {

inline constexpr std::string_view kScanUsage =
    "FILE [--min N] [--raw-only|--compressed-only] [--sort best|offset] [-o NEWFILE [--force]] "
    "[--json] [--graphics]";
inline constexpr OptionRule kScanOptions[] = {
    {"--min", true},   {"--raw-only", false}, {"--compressed-only", false},
    {"--sort", true},  {"-o", true},          {"--force", false},
    {"--json", false}, {"--graphics", false}};

// The candidates, best first or in file order; to standard output or, with -o, to a new file
// written whole only when there is one. With --graphics, the compressed graphics instead
// (TilesCommand.h).
Failure Scan(const Invocation& call);

// What the usage says of scan.
std::string ScanNote();

} // namespace zandrel::cli
