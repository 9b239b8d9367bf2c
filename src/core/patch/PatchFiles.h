// Making and applying patches between files. Every input is read whole (at most
// kMaxPatchedFileSize, a patch kMaxPatchFileSize); the output is never one of the inputs,
// nor a link to one, and is written whole beside its place, then renamed into it
// (WriteNewFile), only once everything has succeeded.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Failure.h"

namespace zandrel {

struct PatchMade {
    std::uint64_t changedBytes = 0; // CountChangedBytes of the two files
    std::uint64_t patchSize = 0;
    Failure failure;
    bool ok() const { return failure.ok(); }
};

// The patch that turns `original` into `edited`, in the format `out`'s name ends with
// (".ips" or ".bps"; any other name is refused).
PatchMade MakePatchFile(const std::string& original, const std::string& edited,
                        const std::string& out);

// `patch` applied to `file`, written to `out`.
Failure ApplyPatchFile(const std::string& file, const std::string& patch, const std::string& out);

} // namespace zandrel
