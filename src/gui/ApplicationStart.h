// What the program does to its application before it makes its first window. The bench's bare
// windows (bench/bare_window.cpp) call it too, so whatever it loads, Qt's translation for one,
// costs them the same and the start-up comparison stays fair.
#pragma once

class QApplication;
class QString;

namespace zandrel {

// Qt's own texts (the file and colour dialogs, a box's details button) in Portuguese, like the
// rest of the program, whatever the desktop's language: Qt's Brazilian Portuguese translation
// from `folder`, installed on the application. True when it was there; without it Qt's English
// stays, and nothing is said.
bool LoadQtPortuguese(QApplication& application, const QString& folder);

// LoadQtPortuguese from Qt's translations folder.
void PrepareApplication(QApplication& application);

} // namespace zandrel
