// Platform colour values (red in the low byte) to and from Qt colours.
#pragma once

#include <QColor>

#include "colour/Codec.h"

namespace zandrel {

inline QColor ToQColor(RgbColor colour) {
    const Rgb rgb = SplitColor(colour);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

inline RgbColor FromQColor(const QColor& colour) {
    return MakeColor(colour.red(), colour.green(), colour.blue());
}

} // namespace zandrel
