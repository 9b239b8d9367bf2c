#include "patch/Bps.h"

#include <algorithm>
#include <string>

#include "util/Crc32.h"
#include "util/Hex.h"

namespace zandrel {

namespace {

constexpr std::string_view kHeader = "BPS1";
constexpr std::size_t kFooter = 12; // three CRC32s
// "BPS1", three one-byte numbers and the footer: an empty source and target.
constexpr std::size_t kSmallestPatch = kHeader.size() + 3 + kFooter;
constexpr std::uint64_t kLargestNumber = std::uint64_t{1} << 48;

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// A changed stretch ends where the target keeps at least this many source bytes in a row:
// a SourceRead between two TargetReads costs two action numbers, fewer bytes than that.
constexpr std::size_t kKeptRun = 3;
// A TargetCopy costs two numbers and splits the TargetRead around it in two.
constexpr std::size_t kCopiedRun = 8;

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

std::string CrcText(std::uint32_t crc) {
    return PadWithZeros(HexText(crc), 8);
}

class BpsWriter {
  public:
    BpsWriter(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target)
        : source_(source), target_(target) {
        out_.assign(kHeader.begin(), kHeader.end());
        PutBpsNumber(out_, source.size());
        PutBpsNumber(out_, target.size());
        PutBpsNumber(out_, 0); // no metadata
    }

    void Put(Action action, std::size_t length) {
        PutBpsNumber(out_, (std::uint64_t{length} - 1) << 2 | action);
    }

    void Read(std::size_t from, std::size_t to) {
        if (from == to)
            return;
        Put(TargetRead, to - from);
        out_.insert(out_.end(), target_.begin() + std::ptrdiff_t(from),
                    target_.begin() + std::ptrdiff_t(to));
    }

    // The changed target bytes [from, to).
    void Changes(std::size_t from, std::size_t to) {
        std::size_t read = from;
        for (std::size_t k = from; k < to;) {
            const std::size_t run = RunLength(target_, k, to);
            if (run >= kCopiedRun) {
                Read(read, k + 1);
                Put(TargetCopy, run - 1);
                const std::int64_t move = std::int64_t(k) - copyFrom_;
                PutBpsNumber(out_, std::uint64_t(move < 0 ? -move : move) << 1 | (move < 0));
                copyFrom_ = std::int64_t(k + run - 1);
                read = k + run;
            }
            k += run;
        }
        Read(read, to);
    }

    std::vector<std::uint8_t> Finish() {
        PutLittleEndian(out_, Crc32(source_));
        PutLittleEndian(out_, Crc32(target_));
        PutLittleEndian(out_, Crc32(out_));
        return std::move(out_);
    }

  private:
    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    std::vector<std::uint8_t> out_;
    std::int64_t copyFrom_ = 0; // the reader's place for the next TargetCopy
};

} // namespace

void PutBpsNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    while (true) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --value;
    }
}

std::optional<std::uint64_t> ReadBpsNumber(std::span<const std::uint8_t> bytes, std::size_t& at) {
    std::uint64_t value = 0;
    for (std::uint64_t shift = 1; at < bytes.size(); shift <<= 7) {
        const std::uint8_t byte = bytes[at++];
        value += (byte & 0x7F) * shift;
        if ((byte & 0x80) != 0)
            return value <= kLargestNumber ? std::optional(value) : std::nullopt;
        value += shift << 7;
        if (value > kLargestNumber) // before `shift` could overflow
            return std::nullopt;
    }
    return std::nullopt;
}

PatchBytes MakeBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target) {
    const auto kept = [&](std::size_t i) { return i < source.size() && source[i] == target[i]; };
    BpsWriter writer(source, target);
    for (std::size_t i = 0; i < target.size();) {
        std::size_t k = i;
        std::size_t keptRun = 0; // kept bytes just before k
        while (k < target.size() && keptRun < kKeptRun)
            keptRun = kept(k++) ? keptRun + 1 : 0;
        const std::size_t changedEnd = k - keptRun;
        writer.Changes(i, changedEnd);
        i = changedEnd;
        while (k < target.size() && kept(k))
            ++k;
        if (k > i)
            writer.Put(SourceRead, k - i);
        i = k;
    }
    return PatchBytes{writer.Finish(), {}};
}

PatchBytes ApplyBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> patch) {
    if (patch.size() < kHeader.size() || !std::equal(kHeader.begin(), kHeader.end(), patch.begin()))
        return BadPatch("não começa com \"BPS1\"");
    if (patch.size() < kSmallestPatch)
        return BadPatch("está incompleto: tem " + std::to_string(patch.size()) +
                        " bytes, e o menor patch BPS tem " + std::to_string(kSmallestPatch));
    const std::size_t end = patch.size() - kFooter;
    const std::uint32_t patchCrc = Crc32(patch.first(patch.size() - 4));
    if (const std::uint32_t stated = LittleEndian(patch.subspan(end + 8)); patchCrc != stated)
        return BadPatch("está corrompido ou incompleto: seu CRC32 é " + CrcText(patchCrc) +
                        ", e ele diz " + CrcText(stated));
    const std::span<const std::uint8_t> body = patch.first(end);
    std::size_t at = kHeader.size();
    std::uint64_t sizes[3] = {}; // of the source, the target and the metadata
    for (std::uint64_t& size : sizes) {
        const std::size_t where = at;
        const std::optional<std::uint64_t> number = ReadBpsNumber(body, at);
        if (!number)
            return BadPatchAt("tem um número cortado ou grande demais", where);
        size = *number;
    }
    const auto [sourceSize, targetSize, metadataSize] = sizes;
    if (metadataSize > end - at)
        return BadPatchAt("está incompleto: os metadados passam do fim", at);
    at += metadataSize;
    const std::uint32_t sourceCrc = Crc32(source);
    if (const std::uint32_t expected = LittleEndian(patch.subspan(end));
        sourceSize != source.size() || sourceCrc != expected)
        return BadPatch("foi feito para outro original: espera " + std::to_string(sourceSize) +
                        " bytes de CRC32 " + CrcText(expected) + ", e o original dado tem " +
                        std::to_string(source.size()) + " bytes de CRC32 " + CrcText(sourceCrc));
    if (targetSize > kMaxPatchedFileSize)
        return BadPatch("faria um arquivo de " + std::to_string(targetSize) +
                        " bytes, mais que o limite de 64 MiB");

    std::vector<std::uint8_t> out;
    out.reserve(std::min<std::uint64_t>(targetSize, source.size() + patch.size()));
    std::int64_t sourcePlace = 0;
    std::int64_t targetPlace = 0;
    while (at < end) {
        const std::size_t action = at;
        const auto fault = [&](const char* reason) { return BadPatchAt(reason, action); };
        const std::optional<std::uint64_t> command = ReadBpsNumber(body, at);
        if (!command)
            return fault("tem um número cortado ou grande demais");
        const std::size_t length = (*command >> 2) + 1;
        if (length > targetSize - out.size())
            return fault("tem uma ação que passa do tamanho final");
        std::optional<std::uint64_t> move;
        if ((*command & 3) >= SourceCopy && !(move = ReadBpsNumber(body, at)))
            return fault("tem um número cortado ou grande demais");
        const std::int64_t moved = move ? std::int64_t(*move >> 1) * ((*move & 1) ? -1 : 1) : 0;
        switch (*command & 3) {
        case SourceRead:
            if (length > source.size() || out.size() > source.size() - length)
                return fault("lê além do fim do original");
            out.insert(out.end(), source.begin() + std::ptrdiff_t(out.size()),
                       source.begin() + std::ptrdiff_t(out.size() + length));
            break;
        case TargetRead:
            if (length > end - at)
                return fault("está incompleto: termina no meio de uma ação");
            out.insert(out.end(), body.begin() + std::ptrdiff_t(at),
                       body.begin() + std::ptrdiff_t(at + length));
            at += length;
            break;
        case SourceCopy:
            sourcePlace += moved;
            if (sourcePlace < 0 || std::uint64_t(sourcePlace) + length > source.size())
                return fault("copia de fora do original");
            out.insert(out.end(), source.begin() + sourcePlace,
                       source.begin() + sourcePlace + std::ptrdiff_t(length));
            sourcePlace += std::int64_t(length);
            break;
        case TargetCopy:
            targetPlace += moved;
            if (targetPlace < 0 || std::uint64_t(targetPlace) >= out.size())
                return fault("copia de uma parte do resultado ainda não escrita");
            for (std::size_t n = 0; n < length; ++n) { // may read what it writes
                const std::uint8_t byte = out[std::size_t(targetPlace++)];
                out.push_back(byte);
            }
            break;
        }
    }
    if (out.size() != targetSize)
        return BadPatch("termina com " + std::to_string(out.size()) + " dos " +
                        std::to_string(targetSize) + " bytes do resultado");
    if (const std::uint32_t expected = LittleEndian(patch.subspan(end + 4)), actual = Crc32(out);
        actual != expected)
        return BadPatch("o resultado tem CRC32 " + CrcText(actual) + ", e o patch espera " +
                        CrcText(expected));
    return PatchBytes{std::move(out), {}};
}

} // namespace zandrel
