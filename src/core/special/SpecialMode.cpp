#include "special/SpecialMode.h"

#include <limits>

#include "platform/Controls.h"
#include "util/Hex.h"
#include "util/Text.h"

namespace zandrel {

std::int32_t TypedLocation(const std::string& answer) {
    return HexToNumber(UpperCase(answer));
}

std::optional<std::int32_t> SteppedLocation(std::int32_t location, int keyCode) {
    if (keyCode == kKeyAdd) {
        // Past the largest location there is nowhere to go.
        if (location > std::numeric_limits<std::int32_t>::max() - kStepBytes)
            return std::nullopt;
        return location + kStepBytes;
    }
    if (keyCode == kKeySubtract) {
        // No palette starts before the first byte of the file.
        if (location < kStepBytes)
            return std::nullopt;
        return location - kStepBytes;
    }
    return std::nullopt;
}

std::string SwatchOffsetText(std::int32_t location, int index) {
    return HexText(static_cast<std::int64_t>(location) + 2 * index);
}

} // namespace zandrel
