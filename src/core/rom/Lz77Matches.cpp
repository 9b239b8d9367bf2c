#include "rom/Lz77Matches.h"

#include <algorithm>
#include <cstring>

#include "rom/Lz77.h"

namespace zandrel {

namespace {

constexpr std::size_t kMinDisplacement = 2;
// Places compared per position: every one in the window for short data, at least this many
// for long data, about this many in all otherwise.
constexpr std::size_t kFewestCompared = 16;
constexpr std::size_t kComparedInAll = std::size_t{1} << 24;

constexpr int kShortHashBits = 13;
constexpr int kLongHashBits = 15;
constexpr std::int32_t kNone = -1;

// The first 3 bytes, and the first 18, reduced to a table index.
std::uint32_t ShortHash(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | p[1] << 8 | p[2] << 16;
    return (v * 2654435761u) >> (32 - kShortHashBits);
}

std::uint32_t LongHash(const std::uint8_t* p) {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::uint16_t c = 0;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    std::memcpy(&c, p + 16, 2);
    const std::uint64_t h = a * 0x9E3779B97F4A7C15ull + (b ^ c) * 0xC2B2AE3D27D4EB4Full + c;
    return static_cast<std::uint32_t>((h ^ h >> 31) * 0x9E3779B97F4A7C15ull >>
                                      (64 - kLongHashBits));
}

} // namespace

Lz77Matches FindLz77Matches(std::span<const std::uint8_t> data) {
    const std::size_t n = data.size();
    Lz77Matches matches{std::vector<std::uint8_t>(n, 0), std::vector<std::uint16_t>(n, 0)};
    if (n < kLz77MinMatch)
        return matches;
    const std::uint8_t* d = data.data();
    const std::size_t compared = std::clamp(kComparedInAll / n, kFewestCompared, kLz77Window);
    // Chains of earlier places by their first 3 bytes, newest first, and the newest place of
    // each 18-byte hash. A place becomes searchable once it is 2 bytes back.
    std::vector<std::int32_t> head(std::size_t{1} << kShortHashBits, kNone);
    std::vector<std::int32_t> previous(kLz77Window, kNone);
    std::vector<std::int32_t> longest(std::size_t{1} << kLongHashBits, kNone);
    std::size_t best = 0;
    std::size_t from = 0; // the displacement of `best`
    for (std::size_t i = 0; i + kLz77MinMatch <= n; ++i) {
        if (i >= kMinDisplacement) {
            const std::size_t j = i - kMinDisplacement;
            const std::uint32_t h = ShortHash(d + j);
            previous[j % kLz77Window] = head[h];
            head[h] = static_cast<std::int32_t>(j);
            if (j + kLz77MaxMatch <= n)
                longest[LongHash(d + j)] = static_cast<std::int32_t>(j);
        }
        const std::size_t limit = std::min(kLz77MaxMatch, n - i);
        const auto length = [&](std::size_t j, std::size_t known) {
            while (known < limit && d[j + known] == d[i + known])
                ++known;
            return known;
        };
        // The copy found one byte earlier goes on here.
        if (best > kLz77MinMatch)
            best = length(i - from, best - 1);
        else
            best = 0;
        if (best < limit && limit == kLz77MaxMatch) {
            const std::int32_t j = longest[LongHash(d + i)];
            if (j != kNone && i - static_cast<std::size_t>(j) <= kLz77Window &&
                std::memcmp(d + j, d + i, kLz77MaxMatch) == 0) {
                best = kLz77MaxMatch;
                from = i - static_cast<std::size_t>(j);
            }
        }
        // A continued copy is rarely beaten: fewer places are compared against it.
        std::size_t left = best == 0 ? compared : compared / 4;
        for (std::int32_t j = head[ShortHash(d + i)];
             best < limit && j != kNone && i - static_cast<std::size_t>(j) <= kLz77Window &&
             left > 0;
             --left) {
            const auto at = static_cast<std::size_t>(j);
            // Only a place that also matches the byte after the best so far can beat it.
            if (d[at + best] == d[i + best]) {
                if (const std::size_t found = length(at, 0); found > best) {
                    best = found;
                    from = i - at;
                }
            }
            const std::int32_t next = previous[at % kLz77Window];
            if (next >= j) // the chain's older part has been overwritten
                break;
            j = next;
        }
        if (best >= kLz77MinMatch) {
            matches.length[i] = static_cast<std::uint8_t>(best);
            matches.displacement[i] = static_cast<std::uint16_t>(from);
        }
    }
    return matches;
}

} // namespace zandrel
