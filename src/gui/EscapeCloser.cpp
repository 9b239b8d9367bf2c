#include "EscapeCloser.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

namespace zandrel {

EscapeCloser::EscapeCloser(QDialog* dialog) : QObject(dialog), dialog_(dialog) {
    qApp->installEventFilter(this);
}

bool EscapeCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != dialog_ && !dialog_->isAncestorOf(widget))
        return false;
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
        return false;
    dialog_->reject();
    return true;
}

} // namespace zandrel
