#include "rom/Lz77.h"

#include <algorithm>

namespace zandrel {

namespace {

Lz77Block Refused(Lz77Error error) {
    Lz77Block block;
    block.error = error;
    return block;
}

} // namespace

std::int64_t Lz77DeclaredSize(std::span<const std::uint8_t> file, std::size_t offset) {
    if (offset >= file.size() || file.size() - offset < 4 || file[offset] != kLz77Header)
        return -1;
    return file[offset + 1] | file[offset + 2] << 8 | file[offset + 3] << 16;
}

Lz77Block DecompressLz77(std::span<const std::uint8_t> file, std::size_t offset) {
    if (offset >= file.size() || file[offset] != kLz77Header)
        return Refused(Lz77Error::NotLz77);
    const std::int64_t declared = Lz77DeclaredSize(file, offset);
    if (declared < 0)
        return Refused(Lz77Error::Truncated);
    const auto total = static_cast<std::size_t>(declared);
    const std::size_t end = file.size();
    std::size_t in = offset + 4;

    Lz77Block block;
    std::vector<std::uint8_t>& out = block.data;
    // Each input byte yields at most 18 output bytes: a short stream cannot claim much memory.
    out.reserve(std::min(total, (end - in) * kLz77MaxMatch));
    while (out.size() < total) {
        if (in >= end)
            return Refused(Lz77Error::Truncated);
        std::uint8_t flags = file[in++];
        for (int bit = 0; bit < 8 && out.size() < total; ++bit, flags <<= 1) {
            if ((flags & 0x80) == 0) {
                if (in >= end)
                    return Refused(Lz77Error::Truncated);
                out.push_back(file[in++]);
                continue;
            }
            if (end - in < 2)
                return Refused(Lz77Error::Truncated);
            const std::size_t length = (file[in] >> 4) + kLz77MinMatch;
            const std::size_t displacement = ((file[in] & 0x0F) << 8 | file[in + 1]) + 1;
            in += 2;
            if (displacement > out.size())
                return Refused(Lz77Error::BeforeStart);
            const std::size_t copy = std::min(length, total - out.size());
            for (std::size_t k = 0; k < copy; ++k)
                out.push_back(out[out.size() - displacement]);
        }
    }
    block.streamLength = in - offset;
    return block;
}

} // namespace zandrel
