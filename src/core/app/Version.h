// The program's version as the About box shows it.
#pragma once

#include <string>

#include "platform/Services.h"

namespace zandrel {

// major.minor.revision with the minor filled with zeros to 2 digits and the revision to 4
// (1, 0, 11 gives 1.00.0011); larger numbers keep all their digits.
std::string BuildVersionText(const VersionNumbers& version);

} // namespace zandrel
