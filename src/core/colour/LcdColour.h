// A colour as the GBA's own screen shows it: darker and less saturated than a PC monitor.
#pragma once

#include "colour/Codec.h"

namespace zandrel {

// The colour to draw for `word` when the window shows the GBA's LCD. For drawing only: it is
// never a swatch colour and never reaches a stored word (bit 15 is ignored).
RgbColor LcdColour(ColorWord word);

} // namespace zandrel
