#include "patch/Ips.h"

#include <algorithm>
#include <string>

#include "util/Hex.h"

namespace zandrel {

namespace {

constexpr std::string_view kHeader = "PATCH";
constexpr std::string_view kFooter = "EOF";
// A record header costs 5 bytes, a run record 8: an unchanged gap up to this long costs no
// more inside a record than a second record would.
constexpr std::size_t kJoinedGap = 5;
constexpr std::size_t kRecordHeader = 5;
constexpr std::size_t kRunRecord = 8;

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

class IpsWriter {
  public:
    explicit IpsWriter(std::span<const std::uint8_t> edited) : edited_(edited) {
        out_.assign(kHeader.begin(), kHeader.end());
    }

    // Bytes [from, to) as plain records.
    void Literal(std::size_t from, std::size_t to) {
        while (from < to) {
            const std::size_t begin = from == kIpsEofOffset ? from - 1 : from;
            const std::size_t size = std::min(to - begin, kIpsMaxRecord);
            PutBigEndian(out_, begin, 3);
            PutBigEndian(out_, size, 2);
            out_.insert(out_.end(), edited_.begin() + std::ptrdiff_t(begin),
                        edited_.begin() + std::ptrdiff_t(begin + size));
            from = begin + size;
        }
    }

    // Bytes [from, from + count), all one value, as run records.
    void Run(std::size_t from, std::size_t count) {
        while (count > 0) {
            if (from == kIpsEofOffset) { // a run cannot start a byte earlier: one plain byte
                Literal(from, from + 1);
                ++from;
                --count;
                continue;
            }
            const std::size_t size = std::min(count, kIpsMaxRecord);
            PutBigEndian(out_, from, 3);
            PutBigEndian(out_, 0, 2);
            PutBigEndian(out_, size, 2);
            out_.push_back(edited_[from]);
            from += size;
            count -= size;
        }
    }

    // The changed bytes [from, to): a run becomes a run record where that is shorter than
    // keeping it in the plain record around it (split in two when bytes lie on both sides).
    void Changes(std::size_t from, std::size_t to) {
        std::size_t literal = from;
        for (std::size_t k = from; k < to;) {
            const std::size_t run = RunLength(edited_, k, to);
            const std::size_t cost = kRunRecord - kRecordHeader +
                                     (k > literal ? kRecordHeader : 0) +
                                     (k + run < to ? kRecordHeader : 0);
            if (run > cost) {
                Literal(literal, k);
                Run(k, run);
                literal = k + run;
            }
            k += run;
        }
        Literal(literal, to);
    }

    std::vector<std::uint8_t> Finish(std::optional<std::size_t> length) {
        out_.insert(out_.end(), kFooter.begin(), kFooter.end());
        if (length)
            PutBigEndian(out_, *length, 3);
        return std::move(out_);
    }

  private:
    std::span<const std::uint8_t> edited_;
    std::vector<std::uint8_t> out_;
};

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (const std::uint8_t byte : bytes)
        value = value << 8 | byte;
    return value;
}

} // namespace

PatchBytes MakeIps(std::span<const std::uint8_t> original, std::span<const std::uint8_t> edited) {
    // The result grows only by records, so every byte past the original's end is a change.
    const auto differs = [&](std::size_t i) {
        return i >= original.size() || original[i] != edited[i];
    };
    const bool shorter = edited.size() < original.size();
    std::size_t reach = edited.size(); // one past the last change
    while (reach > 0 && !differs(reach - 1))
        --reach;
    if (reach > kIpsReach || (shorter && edited.size() >= kIpsReach))
        return Refused(Failure::FileRefused(
            {}, "o arquivo editado difere do original a partir de 16 MiB (hex 1000000), onde um "
                "patch IPS não alcança; use um patch BPS (.bps). Nada foi gravado."));
    IpsWriter writer(edited);
    for (std::size_t i = 0; i < reach;) {
        if (!differs(i)) {
            ++i;
            continue;
        }
        std::size_t end = i + 1; // one past the last change joined to this record
        for (std::size_t j = end; j < reach && j - end <= kJoinedGap; ++j)
            if (differs(j))
                end = j + 1;
        writer.Changes(i, end);
        i = end;
    }
    return PatchBytes{writer.Finish(shorter ? std::optional(edited.size()) : std::nullopt), {}};
}

PatchBytes ApplyIps(std::span<const std::uint8_t> original, std::span<const std::uint8_t> patch) {
    if (patch.size() < kHeader.size() || !std::equal(kHeader.begin(), kHeader.end(), patch.begin()))
        return BadPatch("não começa com \"PATCH\"");
    std::vector<std::uint8_t> out(original.begin(), original.end());
    std::uint64_t written = 0;
    std::size_t at = kHeader.size();
    const auto has = [&](std::size_t bytes) { return patch.size() - at >= bytes; };
    const auto cut = [](std::size_t record) {
        return BadPatchAt("está incompleto: termina no meio de um registro", record);
    };
    while (true) {
        if (!has(3))
            return BadPatch("está incompleto: falta o \"EOF\" do fim");
        const std::size_t record = at;
        const std::uint32_t offset = BigEndian(patch.subspan(at, 3));
        at += 3;
        if (offset == kIpsEofOffset)
            break;
        if (!has(2))
            return cut(record);
        std::size_t size = BigEndian(patch.subspan(at, 2));
        at += 2;
        const bool run = size == 0;
        if (run) {
            if (!has(3))
                return cut(record);
            size = BigEndian(patch.subspan(at, 2));
            at += 2;
            if (size == 0)
                return BadPatchAt("tem um registro de repetição de 0 bytes", record);
        } else if (!has(size)) {
            return cut(record);
        }
        written += size;
        if (written > kMaxPatchedFileSize)
            return BadPatchAt("grava mais de 64 MiB ao todo", record);
        if (out.size() < offset + size)
            out.resize(offset + size);
        const auto target = out.begin() + std::ptrdiff_t(offset);
        if (run) {
            std::fill_n(target, size, patch[at]);
            at += 1;
        } else {
            std::copy_n(patch.begin() + std::ptrdiff_t(at), size, target);
            at += size;
        }
    }
    const std::size_t rest = patch.size() - at;
    if (rest != 0 && rest != 3)
        return BadPatchAt("tem bytes depois do \"EOF\" além dos 3 do tamanho final", at);
    if (rest == 3)
        out.resize(BigEndian(patch.subspan(at, 3)));
    return PatchBytes{std::move(out), {}};
}

} // namespace zandrel
