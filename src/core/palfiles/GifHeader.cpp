#include "palfiles/GifHeader.h"

#include <algorithm>
#include <string_view>

namespace zandrel {

Failure CheckGifHeader(const std::string& path, std::span<const std::uint8_t> head,
                       std::uint64_t fileSize) {
    constexpr std::string_view kGif87 = "GIF87a";
    constexpr std::string_view kGif89 = "GIF89a";
    const auto matches = [&](std::string_view signature) {
        return fileSize >= signature.size() && head.size() >= signature.size() &&
               std::equal(signature.begin(), signature.end(), head.begin(),
                          [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
    };
    const auto refused = [&path](std::string_view before, std::string_view after) {
        return Failure::Described(path, std::string(before) + " \"" + path + "\" " +
                                            std::string(after) + " Nenhuma imagem foi alterada.");
    };
    constexpr std::string_view kImage = "A imagem de amostra";
    constexpr std::string_view kIncomplete =
        "está incompleta: o arquivo termina antes do fim da tabela de cores.";
    if (!matches(kGif87) && !matches(kGif89))
        return refused(kImage, "não é um arquivo GIF.");
    if (fileSize < kGifHeaderSize || head.size() < kGifHeaderSize)
        return refused(kImage, kIncomplete);
    const std::uint8_t packed = head[10];
    if ((packed & 0x80) == 0)
        return refused(kImage, "não tem tabela de cores global.");
    // The table holds 2^(size + 1) entries: a size field of 3 or more gives 16 or more.
    if ((packed & 0x07) < 3)
        return refused("A tabela de cores da imagem de amostra", "tem menos de 16 cores.");
    if (fileSize < kGifMinimumSize)
        return refused(kImage, kIncomplete);
    return {};
}

} // namespace zandrel
