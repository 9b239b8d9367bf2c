// Filter texts of the file dialogs: "description|pattern|description|pattern...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zandrel {

struct FilterEntry {
    std::string description;
    std::string pattern;
};

// The description/pattern pairs of a filter text; a description without a pattern is dropped.
std::vector<FilterEntry> SplitDialogFilter(std::string_view filter);

} // namespace zandrel
