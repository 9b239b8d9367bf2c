#include "platform/Controls.h"

namespace zandrel {

const std::string& ListBox::Row(int index) const {
    static const std::string kNone;
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size())
        return kNone;
    return rows[static_cast<std::size_t>(index)];
}

} // namespace zandrel
