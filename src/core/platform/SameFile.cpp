#include "platform/SameFile.h"

#include <sys/stat.h>

namespace zandrel {

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (a.empty() || b.empty() || ::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

Failure RefuseWritingOverOpenFile(const std::string& target, const std::string& openFile) {
    if (!SameFile(target, openFile))
        return {};
    return Failure::FileRefused(target, "é o próprio arquivo \"" + openFile +
                                            "\"; escolha outro arquivo de saída. Nada foi "
                                            "gravado.");
}

} // namespace zandrel
