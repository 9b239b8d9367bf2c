#include "SystemColours.h"

#include "colour/Codec.h"

namespace zandrel {

const std::array<SystemColourSource, 16>& SystemColourTable() {
    using P = QPalette;
    static const std::array<SystemColourSource, 16> table{{
        // index, Windows name,          group,       role: why this role
        {0, "COLOR_SCROLLBAR", P::Active, P::Midlight},          // the track, lighter than a button
        {1, "COLOR_BACKGROUND", P::Active, P::Dark},             // no desktop here: a dark neutral
        {2, "COLOR_ACTIVECAPTION", P::Active, P::Highlight},     // the active accent colour
        {3, "COLOR_INACTIVECAPTION", P::Inactive, P::Highlight}, // the accent of an inactive window
        {4, "COLOR_MENU", P::Active, P::Window},         // menus are drawn on the window colour
        {5, "COLOR_WINDOW", P::Active, P::Base},         // the background of text fields
        {6, "COLOR_WINDOWFRAME", P::Active, P::Shadow},  // thin dark frames
        {7, "COLOR_MENUTEXT", P::Active, P::WindowText}, // text on the window colour
        {8, "COLOR_WINDOWTEXT", P::Active, P::Text},     // text on the Base colour
        {9, "COLOR_CAPTIONTEXT", P::Active, P::HighlightedText}, // text on the accent colour
        {10, "COLOR_ACTIVEBORDER", P::Active, P::Button}, // window borders are button-coloured
        {11, "COLOR_INACTIVEBORDER", P::Inactive, P::Button},
        {12, "COLOR_APPWORKSPACE", P::Active, P::Mid}, // the grey behind documents
        {13, "COLOR_HIGHLIGHT", P::Active, P::Highlight},
        {14, "COLOR_HIGHLIGHTTEXT", P::Active, P::HighlightedText},
        {15, "COLOR_BTNFACE", P::Active, P::Button},
    }};
    return table;
}

CustomColorTable SystemColoursFrom(const QPalette& palette) {
    CustomColorTable colours{};
    for (const SystemColourSource& source : SystemColourTable()) {
        const QColor c = palette.color(source.group, source.role);
        colours[static_cast<std::size_t>(source.index)] = MakeColor(c.red(), c.green(), c.blue());
    }
    return colours;
}

} // namespace zandrel
