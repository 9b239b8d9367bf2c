#include "DesktopIdentity.h"

#include <QDir>
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
    QGuiApplication::setWindowIcon(QIcon::fromTheme(DesktopEntryId(), QIcon(installed)));
}

} // namespace zandrel
