#include "rom/Lz77.h"

#include <algorithm>

namespace zandrel {

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
constexpr std::size_t kMinDisplacement = 2; // 1 would read a byte of the halfword being written
constexpr std::size_t kMaxDisplacement = 4096;
constexpr std::uint32_t kLiteralBits = 9;
constexpr std::uint32_t kReferenceBits = 17;

Lz77Block Refused(Lz77Error error) {
    Lz77Block block;
    block.error = error;
    return block;
}

// For each position, the longest earlier match (length, displacement) the format can encode.
struct Matches {
    std::vector<std::uint8_t> length;
    std::vector<std::uint16_t> displacement;
};

Matches FindLongestMatches(std::span<const std::uint8_t> data) {
    const std::size_t n = data.size();
    Matches matches{std::vector<std::uint8_t>(n, 0), std::vector<std::uint16_t>(n, 0)};
    if (n < kMinMatch)
        return matches;
    constexpr std::size_t kHashSize = 1 << 14;
    constexpr std::int32_t kNone = -1;
    std::vector<std::int32_t> head(kHashSize, kNone);
    std::vector<std::int32_t> previous(n, kNone);
    const auto hash = [&](std::size_t i) {
        return ((data[i] << 8 ^ data[i + 1] << 4 ^ data[i + 2]) * 2654435761u >> 10) &
               (kHashSize - 1);
    };
    for (std::size_t i = 0; i + kMinMatch <= n; ++i) {
        // Positions become searchable only once they are far enough back.
        if (i >= kMinDisplacement) {
            const std::size_t j = i - kMinDisplacement;
            const std::size_t h = hash(j);
            previous[j] = head[h];
            head[h] = static_cast<std::int32_t>(j);
        }
        const std::size_t limit = std::min(kMaxMatch, n - i);
        std::size_t best = 0;
        for (std::int32_t j = head[hash(i)];
             j != kNone && i - static_cast<std::size_t>(j) <= kMaxDisplacement; j = previous[j]) {
            std::size_t length = 0;
            while (length < limit && data[j + length] == data[i + length])
                ++length;
            if (length > best) {
                best = length;
                matches.displacement[i] =
                    static_cast<std::uint16_t>(i - static_cast<std::size_t>(j));
                if (best == limit)
                    break;
            }
        }
        if (best >= kMinMatch)
            matches.length[i] = static_cast<std::uint8_t>(best);
    }
    return matches;
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
    out.reserve(std::min(total, (end - in) * kMaxMatch));
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
            const std::size_t length = (file[in] >> 4) + kMinMatch;
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

std::vector<std::uint8_t> CompressLz77(std::span<const std::uint8_t> data) {
    const std::size_t n = data.size();
    const Matches matches = FindLongestMatches(data);

    // cost[i]: fewest bits that encode data[i..n); a shorter prefix of the longest match at
    // the same displacement is a match too, so every length 3..longest is a choice.
    std::vector<std::uint32_t> cost(n + 1, 0);
    std::vector<std::uint8_t> choice(n + 1, 0); // 0 = literal, else the reference's length
    for (std::size_t i = n; i-- > 0;) {
        cost[i] = cost[i + 1] + kLiteralBits;
        for (std::size_t length = kMinMatch; length <= matches.length[i]; ++length) {
            const std::uint32_t bits = cost[i + length] + kReferenceBits;
            if (bits < cost[i]) {
                cost[i] = bits;
                choice[i] = static_cast<std::uint8_t>(length);
            }
        }
    }

    std::vector<std::uint8_t> out = {kLz77Header, static_cast<std::uint8_t>(n),
                                     static_cast<std::uint8_t>(n >> 8),
                                     static_cast<std::uint8_t>(n >> 16)};
    std::size_t flagIndex = 0;
    int blocksInGroup = 8;
    for (std::size_t i = 0; i < n;) {
        if (blocksInGroup == 8) {
            flagIndex = out.size();
            out.push_back(0);
            blocksInGroup = 0;
        }
        if (choice[i] == 0) {
            out.push_back(data[i]);
            ++i;
        } else {
            const std::size_t length = choice[i];
            const std::size_t displacement = matches.displacement[i] - 1;
            out[flagIndex] |= static_cast<std::uint8_t>(0x80 >> blocksInGroup);
            out.push_back(static_cast<std::uint8_t>((length - kMinMatch) << 4 | displacement >> 8));
            out.push_back(static_cast<std::uint8_t>(displacement));
            i += length;
        }
        ++blocksInGroup;
    }
    while (out.size() % 4 != 0)
        out.push_back(0);
    return out;
}

} // namespace zandrel
