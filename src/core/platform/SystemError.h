// The system's reasons for a failed file operation, in the program's language.
#pragma once

#include <string>

namespace zandrel {

// The Portuguese text of an errno value the program can meet with files ("Permissão negada"),
// or "erro do sistema N" for any other.
std::string SystemErrorText(int errorNumber);

} // namespace zandrel
