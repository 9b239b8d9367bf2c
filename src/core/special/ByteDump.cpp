#include "special/ByteDump.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "colour/Codec.h"
#include "rom/PaletteAccess.h"
#include "rom/PaletteIO.h"
#include "util/NumberText.h"

namespace zandrel {

std::string FormatByteDump(std::span<const std::uint8_t> bytes) {
    std::string text;
    const std::size_t n = bytes.size();
    for (std::size_t k = 1; k <= n; ++k) {
        text += PadWithZeros(HexText(bytes[k - 1]), 2);
        // Only the 16th byte ends a row: everything after it stays on the second row.
        if (k == 16)
            text += "\r\n";
        else if (k != n)
            text += ' ';
    }
    return text;
}

std::int64_t ViewerColourCount(std::string_view countText) {
    const double number = LeadingNumber(countText);
    if (const std::optional<std::int16_t> rounded = RoundToInt16(number))
        return *rounded;
    if (number > 0)
        return std::isfinite(number) && number < 9.2e18
                   ? static_cast<std::int64_t>(std::llround(number))
                   : std::numeric_limits<std::int64_t>::max();
    return 0;
}

Failure BuildByteDump(const std::string& path, std::int32_t location, std::int64_t count,
                      std::string& text) {
    if (count > kMaxDumpColours)
        return Failure::CountTooLarge(path, count);
    const std::size_t length = count > 0 ? static_cast<std::size_t>(count) * 2 : 0;
    std::vector<std::uint8_t> bytes;
    // Opened even for no bytes, so a file that has gone is reported all the same.
    if (Failure failure = ReadFileBytes(path, location, length, bytes); !failure.ok())
        return failure;
    text = FormatByteDump(bytes);
    return {};
}

Failure BuildByteDump(const std::string& path, const PaletteLocation& where, std::int64_t count,
                      std::string& text) {
    if (!where.compressed)
        return BuildByteDump(path, static_cast<std::int32_t>(where.location), count, text);
    if (count > kMaxDumpColours)
        return Failure::CountTooLarge(path, count);
    std::vector<std::uint8_t> bytes;
    if (Failure failure = ReadPaletteBytes(path, where, static_cast<int>(count), bytes);
        !failure.ok())
        return failure;
    text = FormatByteDump(bytes);
    return {};
}

} // namespace zandrel
