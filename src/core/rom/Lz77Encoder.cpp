#include "rom/Lz77Encoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

#include "rom/Lz77.h"
#include "rom/Lz77Matches.h"

namespace zandrel {

namespace {

// A block costs its flag bit and its bytes; a stream of blocks of `bits` in all is the header
// and (bits + 7) / 8 bytes, its flag bytes included.
constexpr std::uint32_t kLiteralBits = 9;
constexpr std::uint32_t kReferenceBits = 17;
// The tail of the data whose every parse is known when a stream must take an exact length.
constexpr std::size_t kExactTail = 1024;

// The blocks of a stream in order: the bytes each gives, kLiteral for a literal.
using Parse = std::vector<std::uint8_t>;
constexpr std::uint8_t kLiteral = 1;

std::uint32_t BlockBits(std::size_t length) {
    return length == kLiteral ? kLiteralBits : kReferenceBits;
}

std::size_t StreamLength(std::uint64_t bits) {
    return kLz77HeaderBytes + static_cast<std::size_t>((bits + 7) / 8);
}

std::uint64_t ParseBits(const Parse& parse) {
    std::uint64_t bits = 0;
    for (const std::uint8_t length : parse)
        bits += BlockBits(length);
    return bits;
}

// The parse of fewest bits. cost[i], the fewest bits for data[i..n), takes after a reference
// at i the least cost[j] for j from i + 3 to i + length[i]; as i goes down, both ends of that
// range only go down (a copy goes on a byte later), so a queue of positions, cheapest at the
// front, gives it at once.
Parse ShortestParse(const Lz77Matches& matches) {
    const std::size_t n = matches.length.size();
    std::vector<std::uint32_t> cost(n + 1, 0);
    Parse choice(n, kLiteral);
    std::array<std::size_t, 32> queue{}; // a ring; the front holds the largest position
    std::size_t front = 0;
    std::size_t back = 0;
    const auto at = [&queue](std::size_t k) -> std::size_t& { return queue[k % queue.size()]; };
    for (std::size_t i = n; i-- > 0;) {
        cost[i] = cost[i + 1] + kLiteralBits;
        if (const std::size_t j = i + kLz77MinMatch; j <= n) {
            while (back != front && cost[at(back - 1)] >= cost[j])
                --back;
            at(back++) = j;
        }
        while (back != front && at(front) > i + matches.length[i])
            ++front;
        if (back != front && cost[at(front)] + kReferenceBits < cost[i]) {
            cost[i] = cost[at(front)] + kReferenceBits;
            choice[i] = static_cast<std::uint8_t>(at(front) - i);
        }
    }
    Parse parse;
    for (std::size_t i = 0; i < n; i += choice[i])
        parse.push_back(choice[i]);
    return parse;
}

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data, const Lz77Matches& matches,
                                 const Parse& parse) {
    const std::size_t n = data.size();
    std::vector<std::uint8_t> out = {kLz77Header, static_cast<std::uint8_t>(n),
                                     static_cast<std::uint8_t>(n >> 8),
                                     static_cast<std::uint8_t>(n >> 16)};
    std::size_t flags = 0;
    std::size_t i = 0;
    for (std::size_t block = 0; block < parse.size(); ++block) {
        if (block % 8 == 0) {
            flags = out.size();
            out.push_back(0);
        }
        const std::size_t length = parse[block];
        if (length == kLiteral) {
            out.push_back(data[i]);
        } else {
            const std::size_t back = matches.displacement[i] - 1u;
            out[flags] |= static_cast<std::uint8_t>(0x80 >> block % 8);
            out.push_back(static_cast<std::uint8_t>((length - kLz77MinMatch) << 4 | back >> 8));
            out.push_back(static_cast<std::uint8_t>(back));
        }
        i += length;
    }
    return out;
}

// Every bit count the parses of each tail data[i..n), i from `from` on, can take: bit x of
// row i is set when one takes x bits. A row is 9 (n - i) + 1 bits wide, all literals being
// the most.
class TailBits {
  public:
    TailBits(const Lz77Matches& matches, std::size_t from)
        : matches_(matches), from_(from), n_(matches.length.size()) {
        for (std::size_t i = from_; i <= n_; ++i) {
            offsets_.push_back(words_.size());
            words_.resize(words_.size() + Words(i));
        }
        Row(n_)[0] = 1;
        for (std::size_t i = n_; i-- > from_;) {
            ShiftOr(i, i + 1, kLiteralBits);
            for (std::size_t length = kLz77MinMatch; length <= matches_.length[i]; ++length)
                ShiftOr(i, i + length, kReferenceBits);
        }
    }

    bool Has(std::size_t i, std::uint64_t bits) const {
        return bits / 64 < Words(i) && (Row(i)[bits / 64] >> bits % 64 & 1) != 0;
    }

    // The largest bit count of row i that is at most `bits`.
    std::optional<std::uint64_t> AtMost(std::size_t i, std::uint64_t bits) const {
        std::size_t word =
            static_cast<std::size_t>(std::min<std::uint64_t>(bits / 64, Words(i) - 1));
        std::uint64_t mask =
            bits / 64 == word ? ~std::uint64_t{0} >> (63 - bits % 64) : ~std::uint64_t{0};
        for (;; mask = ~std::uint64_t{0}) {
            if (const std::uint64_t set = Row(i)[word] & mask; set != 0)
                return word * 64 + 63 - static_cast<std::uint64_t>(std::countl_zero(set));
            if (word-- == 0)
                return std::nullopt;
        }
    }

    // Appends a parse of data[i..n) that takes exactly `bits` (which row i has).
    void Trace(std::size_t i, std::uint64_t bits, Parse& parse) const {
        while (i < n_) {
            std::size_t chosen = kLiteral;
            for (std::size_t length = matches_.length[i]; length >= kLz77MinMatch; --length)
                if (bits >= kReferenceBits && Has(i + length, bits - kReferenceBits)) {
                    chosen = length;
                    break;
                }
            parse.push_back(static_cast<std::uint8_t>(chosen));
            bits -= BlockBits(chosen);
            i += chosen;
        }
    }

  private:
    std::size_t Words(std::size_t i) const { return (n_ - i) * kLiteralBits / 64 + 1; }
    std::uint64_t* Row(std::size_t i) { return words_.data() + offsets_[i - from_]; }
    const std::uint64_t* Row(std::size_t i) const { return words_.data() + offsets_[i - from_]; }

    // Row `to` takes every count of row `from` plus `shift` bits (less than 64).
    void ShiftOr(std::size_t to, std::size_t from, std::uint32_t shift) {
        std::uint64_t* target = Row(to);
        const std::uint64_t* source = Row(from);
        const std::size_t words = Words(from);
        for (std::size_t w = 0; w < words; ++w) {
            target[w] |= source[w] << shift;
            if (w + 1 < Words(to))
                target[w + 1] |= source[w] >> (64 - shift);
        }
    }

    const Lz77Matches& matches_;
    std::size_t from_;
    std::size_t n_;
    std::vector<std::size_t> offsets_;
    std::vector<std::uint64_t> words_;
};

// Parses of an exact bit count, made from the shortest parse: its blocks in the last
// kExactTail bytes (a little less, to start at a block) parsed anew in any way, and before
// them its references kept, shortened (a literal more each time, +9 bits) or made literals.
class ExactParses {
  public:
    ExactParses(const Lz77Matches& matches, const Parse& shortest)
        : shortest_(shortest), tailStart_(TailStart(matches.length.size(), shortest)),
          tail_(matches, tailStart_) {
        for (std::size_t i = 0; i < tailStart_; i += shortest[head_++]) {
            headBits_ += BlockBits(shortest[head_]);
            if (shortest[head_] != kLiteral)
                shortenings_ += shortest[head_] - kLz77MinMatch;
        }
    }

    // A parse of `lo` to `hi` bits (fewer than 9 apart), or none.
    std::optional<Parse> Find(std::int64_t lo, std::int64_t hi) const {
        // The head's references from `kept` on are literals; shortenings of the ones before
        // it and the tail's bits make up the rest. Each reference made literal (the last
        // first) adds 9k - 17 bits.
        std::size_t kept = head_;
        std::int64_t headBits = static_cast<std::int64_t>(headBits_);
        std::uint64_t shortenings = shortenings_;
        for (;;) {
            const std::int64_t most = hi - headBits;
            if (most < 0)
                return std::nullopt;
            for (auto x = tail_.AtMost(tailStart_, static_cast<std::uint64_t>(most)); x;
                 x = *x == 0 ? std::nullopt : tail_.AtMost(tailStart_, *x - 1)) {
                const std::int64_t missing = lo - headBits - static_cast<std::int64_t>(*x);
                const std::uint64_t steps = missing > 0 ? (missing + 8) / 9 : 0;
                if (steps > shortenings)
                    break;
                if (static_cast<std::int64_t>(*x + steps * kLiteralBits) <= most)
                    return Build(kept, steps, *x);
            }
            do {
                if (kept == 0)
                    return std::nullopt;
            } while (shortest_[--kept] == kLiteral);
            headBits += shortest_[kept] * kLiteralBits - kReferenceBits;
            shortenings -= shortest_[kept] - kLz77MinMatch;
        }
    }

  private:
    static std::size_t TailStart(std::size_t n, const Parse& shortest) {
        std::size_t i = 0;
        for (std::size_t block = 0; n - i > kExactTail; ++block)
            i += shortest[block];
        return i;
    }

    // The head with its references from `kept` on made literals and `steps` shortenings
    // of the ones before, then a tail parse of `tailBits`.
    Parse Build(std::size_t kept, std::uint64_t steps, std::uint64_t tailBits) const {
        Parse parse;
        for (std::size_t block = 0; block < head_; ++block) {
            const std::size_t length = shortest_[block];
            std::size_t literals = length;
            if (length != kLiteral && block < kept) {
                literals = static_cast<std::size_t>(
                    std::min<std::uint64_t>(steps, length - kLz77MinMatch));
                steps -= literals;
            }
            parse.insert(parse.end(), literals, kLiteral);
            if (literals < length)
                parse.push_back(static_cast<std::uint8_t>(length - literals));
        }
        tail_.Trace(tailStart_, tailBits, parse);
        return parse;
    }

    const Parse& shortest_;
    std::size_t tailStart_;
    TailBits tail_;
    std::size_t head_ = 0; // the blocks before the tail
    std::uint64_t headBits_ = 0;
    std::uint64_t shortenings_ = 0;
};

} // namespace

std::vector<std::uint8_t> CompressLz77(std::span<const std::uint8_t> data) {
    const Lz77Matches matches = FindLz77Matches(data);
    std::vector<std::uint8_t> stream = Encode(data, matches, ShortestParse(matches));
    stream.resize((stream.size() + 3) / 4 * 4, 0);
    return stream;
}

Lz77Fit CompressLz77ToFit(std::span<const std::uint8_t> data, std::size_t room) {
    const Lz77Matches matches = FindLz77Matches(data);
    const Parse shortest = ShortestParse(matches);
    Lz77Fit fit;
    fit.shortest = StreamLength(ParseBits(shortest));
    if (fit.shortest > room)
        return fit;
    const std::uint64_t allLiterals = std::uint64_t{data.size()} * kLiteralBits;
    std::optional<Parse> parse;
    if (room >= StreamLength(allLiterals))
        parse = Parse(data.size(), kLiteral);
    else if (room == fit.shortest)
        parse = shortest;
    else {
        const ExactParses exact(matches, shortest);
        // The shortest parse itself ends the search.
        for (std::size_t length = room; !parse; --length) {
            const auto bytes = static_cast<std::int64_t>(length - kLz77HeaderBytes);
            parse = exact.Find(std::max<std::int64_t>(0, 8 * bytes - 7), 8 * bytes);
        }
    }
    fit.stream = Encode(data, matches, *parse);
    return fit;
}

} // namespace zandrel
