// IPS patches: "PATCH", then records until "EOF". A record is a 3-byte offset and a 2-byte
// size, both big-endian, then that many bytes written at the offset; a size of 0 makes it a
// run instead: a 2-byte count and the one byte written that many times. Three more bytes
// after "EOF" give the result's length (the truncation extension). Offsets stop short of
// 16 MiB, and a record at 0x454F46 would read as "EOF".
#pragma once

#include <cstdint>
#include <span>

#include "patch/Patch.h"

namespace zandrel {

inline constexpr std::uint64_t kIpsReach = 0x1000000;
inline constexpr std::uint32_t kIpsEofOffset = 0x454F46;
inline constexpr std::size_t kIpsMaxRecord = 0xFFFF;

// Records only where the files differ: changes closer than a record header are joined, runs
// of one byte become run records where that is shorter, and a record due at 0x454F46 starts
// a byte earlier. A shorter edited file gets its length after "EOF". Refused (FileRefused)
// when the files differ at or beyond 16 MiB, which no IPS offset or length reaches.
PatchBytes MakeIps(std::span<const std::uint8_t> original, std::span<const std::uint8_t> edited);

// The records written over a copy of the original; one past its end makes the result
// longer, zeros filling any gap. Refused (BadPatch): a patch cut short, a run of 0 bytes,
// bytes after "EOF" other than a length, and records writing more than kMaxPatchedFileSize
// bytes in all (each is cheap to repeat, so their sum bounds the work).
PatchBytes ApplyIps(std::span<const std::uint8_t> original, std::span<const std::uint8_t> patch);

} // namespace zandrel
