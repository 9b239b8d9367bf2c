// IPS and BPS patches from outside: any patch is applied or refused with a reason and no
// bytes, and an IPS patch applied again changes nothing more; a BPS patch is also tried with
// its source and patch CRC32s put right, to reach the actions. The input's two halves make
// patches of both formats that give the second half back; a BPS patch with one byte changed
// is refused.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "patch/Patch.h"
#include "util/Crc32.h"

using namespace zandrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

void CheckApply(std::span<const std::uint8_t> source, std::span<const std::uint8_t> patch) {
    const PatchBytes result = ApplyPatch(source, patch);
    FUZZ_CHECK(result.ok() || (result.failure.result == Result::BadPatch &&
                               !result.failure.reason.empty() && result.bytes.empty()));
    FUZZ_CHECK(result.bytes.size() <= std::max<std::uint64_t>(source.size(), kMaxPatchedFileSize));
    if (result.ok() && patch[0] == 'P')
        FUZZ_CHECK(ApplyPatch(result.bytes, patch).bytes == result.bytes);
}

void PutCrc(Bytes& patch, std::size_t at, std::uint32_t crc) {
    for (std::size_t i = 0; i < 4; ++i)
        patch[at + i] = static_cast<std::uint8_t>(crc >> (8 * i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    Bytes source(64);
    for (std::size_t k = 0; k < source.size(); ++k)
        source[k] = static_cast<std::uint8_t>(k * 7 + 3);
    CheckApply(source, input);
    if (size >= 19 && data[0] == 'B') {
        Bytes patch(input.begin(), input.end());
        PutCrc(patch, size - 12, Crc32(source));
        PutCrc(patch, size - 4, Crc32(std::span(patch).first(size - 4)));
        CheckApply(source, patch);
    }
    const auto original = input.first(size / 2);
    const auto edited = input.subspan(size / 2);
    for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        PatchBytes patch = MakePatch(format, original, edited);
        const PatchBytes back = ApplyPatch(original, patch.bytes);
        FUZZ_CHECK(patch.ok() && back.ok() && std::ranges::equal(back.bytes, edited));
        if (format == PatchFormat::Bps) {
            patch.bytes[(size > 0 ? data[0] : 0) % patch.bytes.size()] ^= 0x5A;
            FUZZ_CHECK(!ApplyPatch(original, patch.bytes).ok());
        }
    }
    return 0;
}
