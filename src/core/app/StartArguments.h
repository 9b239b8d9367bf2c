// What the window's command line asks for at start, besides the special word.
#pragma once

#include <string>
#include <vector>

namespace zandrel {

// The file the window opens once it is shown, as if chosen in the open dialog (a file manager
// starts the program with one path), or empty text. One argument that is neither empty nor the
// special word (which Form_Load reads in any letter case) names that file; no argument or
// several ask for nothing, as several never make the special word either.
std::string FileToOpenAtStart(const std::vector<std::string>& arguments);

} // namespace zandrel
