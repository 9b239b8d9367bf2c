#include "app/StartArguments.h"

#include "util/Messages.h"
#include "util/Text.h"

namespace zandrel {

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments start;
    if (arguments.size() != 1)
        return start;
    start.specialWord = UpperCase(arguments[0]) == text::kSpecialWord;
    if (!start.specialWord)
        start.fileToOpen = arguments[0];
    return start;
}

} // namespace zandrel
