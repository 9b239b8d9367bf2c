#include "platform/DataFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include <pwd.h>
#include <unistd.h>

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

FolderEnvironment CurrentFolderEnvironment() {
    const auto variable = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    FolderEnvironment environment{
        variable("XDG_DATA_HOME"), variable("XDG_CACHE_HOME"), variable("HOME"), {}};
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr)
        environment.accountHome = found->pw_dir;
    return environment;
}

std::string UserFolder(const std::optional<std::string>& variable,
                       const FolderEnvironment& environment, const char* fallback) {
    // XDG base directories must be absolute; a relative value is ignored, as other programs do.
    const auto absolute = [](const std::optional<std::string>& path) {
        return path && path->starts_with('/');
    };
    if (absolute(variable))
        return *variable + "/zandrel";
    const std::string home = absolute(environment.home)          ? *environment.home
                             : absolute(environment.accountHome) ? environment.accountHome
                                                                 : std::string();
    if (home.empty())
        return {};
    return (std::filesystem::path(home) / fallback / "zandrel").string();
}

DataFolders FoldersFromEnvironment(const std::string& programFolder,
                                   const FolderEnvironment& environment) {
    return DataFolders{DataFolderFor(programFolder),
                       UserFolder(environment.dataHome, environment, ".local/share"),
                       UserFolder(environment.cacheHome, environment, ".cache")};
}

} // namespace zandrel
