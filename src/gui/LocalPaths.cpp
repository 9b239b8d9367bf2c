#include "LocalPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace zandrel {

std::optional<std::string> FileSystemPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.contains('\0') || QFile::decodeName(bytes) != path)
        return std::nullopt;
    if (path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path))
        return std::nullopt;
    return bytes.toStdString();
}

std::optional<DroppedFile> DroppedFileOf(const QUrl& url) {
    if (!url.isLocalFile())
        return std::nullopt;
    const QString local = url.toLocalFile();
    DroppedFile file{FileSystemPath(local), url.path(QUrl::PrettyDecoded).toStdString()};
    // Bytes that are no UTF-8 (%E9) become U+FFFD, and the URL made back differs.
    if (QUrl::fromLocalFile(local) != url)
        file.path.reset();
    return file;
}

} // namespace zandrel
