// Patches turn an original file into an edited one, as ROM hacks are shared: made from the
// two files, applied to the original. Over bytes in memory; PatchFiles.h works on files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Failure.h"

namespace zandrel {

enum class PatchFormat { Ips, Bps };

// The largest file a patch is made from or applied to, and the largest result a patch may
// make: GBA ROMs stop at 32 MiB, so twice that leaves room for expanded ones while bounding
// what a hostile patch can make the program allocate or write.
inline constexpr std::uint64_t kMaxPatchedFileSize = std::uint64_t{64} << 20;
// A patch of a file of that size: every byte changed, plus the records' or actions' headers.
inline constexpr std::uint64_t kMaxPatchFileSize = kMaxPatchedFileSize + (std::uint64_t{1} << 20);

// A patch made, or the result of applying one. A refusal is BadPatch (a malformed patch,
// with the reason) or FileRefused (a patch the format cannot hold); the functions know no
// file name, so the caller names the file.
struct PatchBytes {
    std::vector<std::uint8_t> bytes;
    Failure failure;
    bool ok() const { return failure.ok(); }
};

// The format a patch's name asks for by its end, ".ips" or ".bps" in any letter case.
std::optional<PatchFormat> PatchFormatForName(std::string_view name);

PatchBytes MakePatch(PatchFormat format, std::span<const std::uint8_t> original,
                     std::span<const std::uint8_t> edited);
// Applies an IPS or a BPS patch, told apart by its first bytes ("PATCH" or "BPS1").
PatchBytes ApplyPatch(std::span<const std::uint8_t> original, std::span<const std::uint8_t> patch);

// The bytes in which the two differ; every byte past the end of the shorter one differs.
std::uint64_t CountChangedBytes(std::span<const std::uint8_t> original,
                                std::span<const std::uint8_t> edited);

// How many bytes from `at` (before `to`) equal the byte at `at`: the runs both writers may
// store more briefly than byte by byte.
inline std::size_t RunLength(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t to) {
    std::size_t run = 1;
    while (at + run < to && bytes[at + run] == bytes[at])
        ++run;
    return run;
}

// Refusals: no bytes and the failure; BadPatch with its reason, naming the patch's byte at
// fault when one is given.
PatchBytes Refused(Failure failure);
PatchBytes BadPatch(std::string reason);
PatchBytes BadPatchAt(std::string reason, std::uint64_t patchOffset);

} // namespace zandrel
