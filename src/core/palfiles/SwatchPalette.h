// The palette being edited lives in the swatches' back colours.
#pragma once

#include "app/FormModel.h"
#include "palfiles/PaletteFormats.h"

namespace zandrel {

// The back colours of the sixteen swatches, visible or not.
inline Palette16 SwatchColours(const FormModel& model) {
    Palette16 colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = model.Opt[i].backColor;
    return colours;
}

} // namespace zandrel
