// The desktop's colours under the sixteen Windows system-colour numbers the colour dialog
// takes as its custom colours.
#pragma once

#include <QPalette>

#include "platform/Services.h"

namespace zandrel {

struct SystemColourSource {
    int index; // the Windows system-colour number, 0 to 15
    const char* windowsName;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The one place that maps each Windows system colour to the closest palette entry.
const std::array<SystemColourSource, 16>& SystemColourTable();

// The sixteen colours taken from the given palette, as platform colour values.
CustomColorTable SystemColoursFrom(const QPalette& palette);

} // namespace zandrel
