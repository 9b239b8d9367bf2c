#include "palfiles/Refusals.h"

namespace zandrel {

Failure Refused(std::string reason) {
    return Failure::FileRefused({}, std::move(reason));
}

std::string AtLine(std::size_t line) {
    return "linha " + std::to_string(line) + ": ";
}

std::string AtOffset(std::size_t offset) {
    return "offset " + std::to_string(offset) + ": ";
}

Failure EndsBefore(std::size_t size, std::size_t needed, std::string_view what) {
    return Refused(AtOffset(size) + "o arquivo termina antes dos " + std::to_string(needed) +
                   " bytes de " + std::string(what));
}

Failure LargerThan(std::size_t size, std::size_t largest, std::string_view what) {
    return Refused(AtOffset(largest) + "o arquivo tem " + std::to_string(size) + " bytes; " +
                   std::string(what) + " tem no máximo " + std::to_string(largest));
}

Failure CheckSize(std::size_t size, std::size_t needed, std::size_t largest,
                  std::string_view what) {
    if (size < needed)
        return EndsBefore(size, needed, what);
    if (size > largest)
        return LargerThan(size, largest, what);
    return {};
}

std::string DeclaresTooFew(std::int64_t declared) {
    return "o arquivo declara " + std::to_string(declared) + " cores; são necessárias 16";
}

} // namespace zandrel
