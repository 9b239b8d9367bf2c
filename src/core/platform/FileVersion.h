// A file's version as the system tells it without opening it: its path, size and modification
// time. What is worked out from a whole file (a scan) is kept for one version and worked out
// again when the version changes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zandrel {

struct FileVersion {
    std::string path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// Nothing when the system cannot tell it.
std::optional<FileVersion> VersionOf(const std::string& path);

} // namespace zandrel
