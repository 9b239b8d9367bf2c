// Where the program finds its own files and keeps the user's: the data folder (definition
// files and sample images), and the user's data and cache folders.
#pragma once

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

// `variable` (an XDG base folder) + "/zandrel" when it is set to an absolute path, otherwise
// `home` + "/" + `fallback` + "/zandrel" (the XDG defaults ".local/share" and ".cache").
std::string UserFolder(const char* variable, const char* home, const char* fallback);

// The folders for a program in `programFolder`, the user's from the environment.
DataFolders FoldersFromEnvironment(const std::string& programFolder);

} // namespace zandrel
