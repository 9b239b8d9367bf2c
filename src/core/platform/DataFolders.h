// Where the program finds its own files and keeps the user's: the data folder (definition
// files and sample images), and the user's data and cache folders.
#pragma once

#include <optional>
#include <string>

namespace zandrel {

struct DataFolders {
    // The definition files and sample images that come with the program.
    std::string data;
    // $XDG_DATA_HOME/zandrel: definition files the user adds, looked up before the program's.
    std::string userData;
    // $XDG_CACHE_HOME/zandrel: copies the program makes when its own folder is read-only.
    std::string userCache;
};

// The data folder for a program in `programFolder`: that folder itself when definition files
// (*.ZNDL) lie beside the program (the build tree, a portable copy), else the installed
// `../share/zandrel`.
std::string DataFolderFor(const std::string& programFolder);

// What the user's folders follow, as values: XDG_DATA_HOME, XDG_CACHE_HOME and HOME (none
// when unset), and this account's home in the password database (empty when it has none).
struct FolderEnvironment {
    std::optional<std::string> dataHome;
    std::optional<std::string> cacheHome;
    std::optional<std::string> home;
    std::string accountHome;
};

// This process's environment and account.
FolderEnvironment CurrentFolderEnvironment();

// `variable` (an XDG base folder) + "/zandrel" when it is an absolute path, otherwise the home
// + "/" + `fallback` + "/zandrel" (the XDG defaults ".local/share" and ".cache"): HOME when it
// is an absolute path, else the account's home. Empty when there is no home: nothing is
// read or written there, never a folder under "/".
std::string UserFolder(const std::optional<std::string>& variable,
                       const FolderEnvironment& environment, const char* fallback);

// The folders for a program in `programFolder`.
DataFolders
FoldersFromEnvironment(const std::string& programFolder,
                       const FolderEnvironment& environment = CurrentFolderEnvironment());

} // namespace zandrel
