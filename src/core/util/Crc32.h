// CRC-32 as zlib, PNG and the BPS patch format compute it: reflected polynomial 0xEDB88320,
// starting from and finally inverted with 0xFFFFFFFF. Computed here rather than taken from
// zlib so the core keeps to the standard library; a table of 256 words is fast enough for
// the few files of at most 64 MiB a patch reads.
#pragma once

#include <cstdint>
#include <span>

namespace zandrel {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

} // namespace zandrel
