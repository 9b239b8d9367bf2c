#include "palfiles/GifHeader.h"

#include <algorithm>
#include <string_view>

namespace zandrel {

Result CheckGifHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    constexpr std::string_view kGif87 = "GIF87a";
    constexpr std::string_view kGif89 = "GIF89a";
    const auto matches = [&](std::string_view signature) {
        return fileSize >= signature.size() && head.size() >= signature.size() &&
               std::equal(signature.begin(), signature.end(), head.begin(),
                          [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
    };
    if (!matches(kGif87) && !matches(kGif89))
        return Result::ImageNotGif;
    if (fileSize < kGifHeaderSize || head.size() < kGifHeaderSize)
        return Result::ImageTooShort;
    const std::uint8_t packed = head[10];
    if ((packed & 0x80) == 0)
        return Result::ImageNoColourTable;
    // The table holds 2^(size + 1) entries: a size field of 3 or more gives 16 or more.
    if ((packed & 0x07) < 3)
        return Result::ImageSmallColourTable;
    if (fileSize < kGifMinimumSize)
        return Result::ImageTooShort;
    return Result::Ok;
}

} // namespace zandrel
