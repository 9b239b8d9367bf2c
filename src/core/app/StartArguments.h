// What main finds once at start and hands to the form: where the program and its data lie,
// and what its command line asks for.
#pragma once

#include <string>
#include <vector>

#include "platform/DataFolders.h"

namespace zandrel {

struct StartArguments {
    // The special word alone, in any letter case: the special button shows.
    bool specialWord = false;
    // One argument that is not the special word names the file the window opens once it is
    // shown, as if chosen in the open dialog (a file manager starts the program with one
    // path); empty text otherwise. No argument or several ask for nothing.
    std::string fileToOpen;
};

// `arguments` is what follows the program's name.
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);

struct StartValues {
    std::string programFolder;
    DataFolders folders;
    StartArguments arguments;
};

} // namespace zandrel
