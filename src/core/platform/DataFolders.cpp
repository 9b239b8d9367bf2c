#include "platform/DataFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "util/Text.h"

namespace zandrel {

namespace {

// A definition file beside the program marks a folder that carries the program's data. Any
// entry of that name but a folder counts: one that is no regular file (a named pipe) is then
// refused when read, never passed over for the installed files.
bool HoldsDefinitionFiles(const std::filesystem::path& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (EndsWithNoCase(it->path().filename().string(), ".ZNDL") && !it->is_directory(error))
            return true;
    return false;
}

} // namespace

std::string DataFolderFor(const std::string& programFolder) {
    const std::filesystem::path folder(programFolder);
    if (HoldsDefinitionFiles(folder))
        return programFolder;
    return (folder.parent_path() / "share" / "zandrel").string();
}

std::string UserFolder(const char* variable, const char* home, const char* fallback) {
    // XDG base directories must be absolute; a relative value is ignored, as other programs do.
    if (variable != nullptr && variable[0] == '/')
        return std::string(variable) + "/zandrel";
    const std::string base = home != nullptr && home[0] != '\0' ? home : "/";
    return (std::filesystem::path(base) / fallback / "zandrel").string();
}

DataFolders FoldersFromEnvironment(const std::string& programFolder) {
    const char* home = std::getenv("HOME");
    return DataFolders{DataFolderFor(programFolder),
                       UserFolder(std::getenv("XDG_DATA_HOME"), home, ".local/share"),
                       UserFolder(std::getenv("XDG_CACHE_HOME"), home, ".cache")};
}

} // namespace zandrel
