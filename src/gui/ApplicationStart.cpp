#include "ApplicationStart.h"

#include <QApplication>

namespace zandrel {

void PrepareApplication(QApplication&) {
    // Nothing yet: the program's Portuguese texts are its own. Qt's translation of its dialogs
    // is to be loaded here.
}

} // namespace zandrel
