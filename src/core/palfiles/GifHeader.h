// What the sample images must be for their colour tables to be rewritten in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/Failure.h"

namespace zandrel {

// Signature (6 bytes) and Logical Screen Descriptor (7 bytes).
inline constexpr std::size_t kGifHeaderSize = 13;
// The Global Color Table follows the header; the palette takes its first 16 entries.
inline constexpr std::uint64_t kGifColourTableOffset = 13;
inline constexpr std::size_t kGifPaletteBytes = 48;
inline constexpr std::uint64_t kGifMinimumSize = kGifColourTableOffset + kGifPaletteBytes;

// Whether the sample image at `path`, whose first bytes are `head` (bytes past the end of the
// file read as 0) and whose length is `fileSize`, is a GIF87a/GIF89a with a Global Color
// Table of at least 16 entries that lies wholly inside the file; a Described failure that
// says what is wrong with it otherwise.
Failure CheckGifHeader(const std::string& path, std::span<const std::uint8_t> head,
                       std::uint64_t fileSize);

} // namespace zandrel
