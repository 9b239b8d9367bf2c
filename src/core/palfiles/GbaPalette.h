// Raw GBA palette (.GBAPAL): sixteen colour words, low byte first, no header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "colour/Codec.h"
#include "platform/Failure.h"

namespace zandrel {

inline constexpr std::size_t kGbaPaletteSize = 32;
// The largest read: the GBA's whole palette memory (512 colours).
inline constexpr std::size_t kMaxGbaPaletteFileSize = 1024;

// The 32 bytes; each colour goes through ColorToWord, so bit 15 is 0.
std::vector<std::uint8_t> GbaPaletteBytes(const Palette16& colours);

// The sixteen colour words of the bytes: bit 15 dropped, missing bytes read as 0, bytes
// after the 32nd ignored.
PaletteWords16 GbaPaletteWords(std::span<const std::uint8_t> bytes);

// A file's sixteen colour words, as GbaPaletteWords reads them from at least 32 bytes (a
// short file would put black in place of the missing colours) and at most
// kMaxGbaPaletteFileSize.
Failure ReadGbaPalette(std::span<const std::uint8_t> bytes, PaletteWords16& words);

} // namespace zandrel
