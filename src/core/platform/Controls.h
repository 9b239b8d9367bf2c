// The plain control model: what a window shows of a button, a label, a list and a colour
// swatch, as data the commands change and the window draws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "util/ColourTypes.h"
#include "util/TextColumn.h"

namespace zandrel {

struct Control {
    std::string caption;
    bool enabled = true;
    bool visible = true;
};

// A list whose rows the window shows through a model; `revision` changes with every edit,
// so the window knows when to refresh without comparing 32767 rows.
struct ListBox {
    TextColumn rows;
    int selected = -1;
    bool visible = true;
    std::uint64_t revision = 0;

    void Clear() {
        rows.clear();
        selected = -1;
        ++revision;
    }
    void Assign(TextColumn newRows) {
        rows = std::move(newRows);
        selected = -1;
        ++revision;
    }
    // The row's text, or empty text for a row that does not exist.
    std::string_view Row(int index) const;
};

// The swatches start with the desktop's button face colour until a palette fills them.
inline constexpr RgbColor kDefaultSwatchColor = 0xF0F0F0;

struct Swatch {
    RgbColor backColor = kDefaultSwatchColor;
    bool visible = true;
    bool selected = false;
};

// Windows virtual-key codes the window reacts to.
inline constexpr int kKeyMultiply = 106;
inline constexpr int kKeyAdd = 107;
inline constexpr int kKeySubtract = 109;
inline constexpr int kKeyF3 = 114;
// The shift state's bit for the Shift key (Ctrl is 2, Alt 4).
inline constexpr int kShiftBit = 1;

} // namespace zandrel
