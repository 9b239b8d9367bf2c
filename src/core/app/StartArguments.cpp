#include "app/StartArguments.h"

#include "util/Messages.h"
#include "util/Text.h"

namespace zandrel {

std::string FileToOpenAtStart(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1 || UpperCase(arguments[0]) == text::kSpecialWord)
        return {};
    return arguments[0];
}

} // namespace zandrel
