#include "app/Version.h"

#include <algorithm>

#include "util/Hex.h"

namespace zandrel {

namespace {
// Version numbers carry no sign.
std::string Digits(int number) {
    return std::to_string(std::max(number, 0));
}
} // namespace

std::string BuildVersionText(const VersionNumbers& version) {
    return Digits(version.major) + "." + PadWithZeros(Digits(version.minor), 2) + "." +
           PadWithZeros(Digits(version.revision), 4);
}

} // namespace zandrel
