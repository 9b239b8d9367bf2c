// zandrel-cli find: where a palette seen elsewhere lies in a ROM image, raw or inside a
// compressed block, as definition file lines.
#pragma once

#include <string>
#include <string_view>

#include "Arguments.h"
#include "CliCommands.h"

namespace zandrel::cli {

inline constexpr std::string_view kFindUsage =
    "FILE WHAT [--tolerance N] [--colours K] [--skip-first] [--json]";
inline constexpr OptionRule kFindOptions[] = {
    {"--tolerance", true}, {"--colours", true}, {"--skip-first", false}, {"--json", false}};

// The matches best first, exact before near, one "16,LOCATION,NAME" line each; none found is
// a failure that says what was searched.
Failure Find(const Invocation& call);

// What the usage says of WHAT and find.
std::string WhatNote();
std::string FindNote();

} // namespace zandrel::cli
