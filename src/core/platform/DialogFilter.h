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

// Every "|" becomes a NUL and one NUL is appended: the form the common dialogs take.
std::string BuildDialogFilter(std::string_view filter);
// The description/pattern pairs of a filter text; a description without a pattern is dropped.
std::vector<FilterEntry> SplitDialogFilter(std::string_view filter);

} // namespace zandrel
