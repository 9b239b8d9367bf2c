#include "patch/Patch.h"

#include <algorithm>
#include <string>

#include "patch/Bps.h"
#include "patch/Ips.h"
#include "util/Hex.h"
#include "util/Text.h"

namespace zandrel {

std::optional<PatchFormat> PatchFormatForName(std::string_view name) {
    if (name.size() < 4)
        return std::nullopt;
    const std::string end = UpperCase(name.substr(name.size() - 4));
    if (end == ".IPS")
        return PatchFormat::Ips;
    if (end == ".BPS")
        return PatchFormat::Bps;
    return std::nullopt;
}

PatchBytes MakePatch(PatchFormat format, std::span<const std::uint8_t> original,
                     std::span<const std::uint8_t> edited) {
    return format == PatchFormat::Ips ? MakeIps(original, edited) : MakeBps(original, edited);
}

PatchBytes ApplyPatch(std::span<const std::uint8_t> original, std::span<const std::uint8_t> patch) {
    const auto startsWith = [&](std::string_view header) {
        return patch.size() >= header.size() &&
               std::equal(header.begin(), header.end(), patch.begin());
    };
    if (startsWith("PATCH"))
        return ApplyIps(original, patch);
    if (startsWith("BPS1"))
        return ApplyBps(original, patch);
    return BadPatch("não é um patch IPS nem BPS (não começa com \"PATCH\" nem com \"BPS1\")");
}

std::uint64_t CountChangedBytes(std::span<const std::uint8_t> original,
                                std::span<const std::uint8_t> edited) {
    const std::size_t common = std::min(original.size(), edited.size());
    std::uint64_t changed = std::max(original.size(), edited.size()) - common;
    for (std::size_t i = 0; i < common; ++i)
        changed += original[i] != edited[i];
    return changed;
}

PatchBytes Refused(Failure failure) {
    return PatchBytes{{}, std::move(failure)};
}

PatchBytes BadPatch(std::string reason) {
    return Refused(Failure::BadPatch({}, std::move(reason)));
}

PatchBytes BadPatchAt(std::string reason, std::uint64_t patchOffset) {
    return BadPatch(std::move(reason) + " (byte hex " + HexText(std::int64_t(patchOffset)) +
                    " do patch)");
}

} // namespace zandrel
