// A colour as the GBA's own screen shows it: darker and less saturated than a PC monitor.
#pragma once

#include "colour/Codec.h"

namespace zandrel {

// The colour to draw for `word` when the window shows the GBA's LCD. For drawing only: it is
// never a swatch colour and never reaches a stored word (bit 15 is ignored).
RgbColor LcdColour(ColorWord word);
// The colour to draw for a swatch or sample colour: itself, or on the GBA's screen the LCD
// colour of its 15-bit word.
RgbColor ScreenColour(RgbColor color, bool gbaScreen);

} // namespace zandrel
