#include "platform/Controls.h"

namespace zandrel {

std::string_view ListBox::Row(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size())
        return {};
    return rows[static_cast<std::size_t>(index)];
}

} // namespace zandrel
