// Paths from the desktop as the file system's bytes, by Qt's own conversion, refused where
// those bytes would name another file than the one the user chose.
#pragma once

#include <optional>
#include <string>

class QString;
class QUrl;

namespace zandrel {

// `path` as the bytes the system knows it by (QFile::encodeName); nothing when it holds a NUL
// (the system's name would end there) or a character the conversion cannot carry: one that
// does not come back, or the replacement character Qt shows for undecodable bytes, where no
// file of that name exists.
std::optional<std::string> FileSystemPath(const QString& path);

struct DroppedFile {
    // The file system's bytes; nothing when they cannot be had (FileSystemPath, or a URL whose
    // bytes do not survive Qt's conversion to a local path).
    std::optional<std::string> path;
    // The URL's path as the user may recognise it, escapes such as %00 and %E9 kept.
    std::string shown;
};
// The local file a dropped URL names; nothing for a URL of another kind.
std::optional<DroppedFile> DroppedFileOf(const QUrl& url);

} // namespace zandrel
