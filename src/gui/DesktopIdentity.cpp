#include "DesktopIdentity.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

namespace zandrel {

QString DesktopEntryId() {
    return QStringLiteral(ZANDREL_APP_ID);
}

void ApplyDesktopIdentity(const QString& programFolder) {
    QGuiApplication::setDesktopFileName(DesktopEntryId());
    const QString installed =
        QDir(programFolder)
            .filePath(
                QStringLiteral("../share/icons/hicolor/256x256/apps/%1.png").arg(DesktopEntryId()));
    // An icon made of a missing file would load every image format plug-in to look for it.
    const QIcon fallback = QFileInfo::exists(installed) ? QIcon(installed) : QIcon();
    QGuiApplication::setWindowIcon(QIcon::fromTheme(DesktopEntryId(), fallback));
}

} // namespace zandrel
