// How docks, task bars and window lists know the program: the desktop entry's id and its icon.
#pragma once

#include <QString>

namespace zandrel {

// The desktop entry's id, which is also the icon's name (packaging/).
QString DesktopEntryId();

// Names the desktop entry and sets the windows' icon: the icon theme's, else the installed
// PNG under the share folder beside `programFolder` (the icon theme may not know the prefix).
void ApplyDesktopIdentity(const QString& programFolder);

} // namespace zandrel
