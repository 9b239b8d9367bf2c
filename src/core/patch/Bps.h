// BPS patches, as published: "BPS1", the source size, the target size and the metadata size
// as variable-length numbers, the metadata, then actions that write the target from its
// first byte to its last, then the CRC32 of the source, of the target and of the patch
// before this last one, each 4 bytes little-endian. An action is one number: its kind in the
// low 2 bits, its length - 1 above them.
//   SourceRead: the source's bytes at the same offset as the target's.
//   TargetRead: bytes that follow in the patch.
//   SourceCopy / TargetCopy: bytes from a place in the source / in the target written so far,
//   each with its own place, moved by a signed number (its sign in bit 0) before the copy
//   and past the copied bytes after it. A target copy may reach the bytes it writes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "patch/Patch.h"

namespace zandrel {

// Numbers: seven bits a byte, lowest first, the top bit set on the last byte only; one is
// subtracted after each byte but the last, so every number has one spelling.
void PutBpsNumber(std::vector<std::uint8_t>& out, std::uint64_t value);
// The number at `at` (which moves past it), or nothing when the bytes end first or it
// passes 2^48, larger than any offset or length of a file a patch may make.
std::optional<std::uint64_t> ReadBpsNumber(std::span<const std::uint8_t> bytes, std::size_t& at);

// SourceRead where the target keeps the source's bytes, TargetRead where it changes them
// (gaps of a byte or two included), and a run of one byte as a TargetCopy of its first byte.
PatchBytes MakeBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target);

// Every action, each bounded by the source, the patch and the declared target size; the
// patch's CRC32 is checked before anything is read, the source's before any action and the
// result's at the end. Refused (BadPatch): a patch for another source, naming both sizes
// and CRC32s; a target over kMaxPatchedFileSize; anything out of bounds or cut short.
PatchBytes ApplyBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> patch);

} // namespace zandrel
