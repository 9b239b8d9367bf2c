// What the program does to its application before it makes its first window. The bench's bare
// windows (bench/bare_window.cpp) call it too, so whatever it loads, Qt's translation for one,
// costs them the same and the start-up comparison stays fair.
#pragma once

class QApplication;

namespace zandrel {

void PrepareApplication(QApplication& application);

} // namespace zandrel
