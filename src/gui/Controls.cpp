#include "Controls.h"

#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace zandrel {

SwatchButton::SwatchButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
}

void SwatchButton::SetColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void SwatchButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush fill(colour_);
    qDrawWinButton(&painter, rect(), palette(), isChecked() || isDown(), &fill);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

ColourSample::ColourSample(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
}

void ColourSample::SetColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void ColourSample::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), colour_);
    }
    QFrame::paintEvent(event);
}

void ColourSample::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    event->accept(); // keeps the release for this label
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

int ClickableListView::ChosenRow(const QModelIndex& index) const {
    return index.isValid() && selectionModel()->isSelected(index) ? index.row() : -1;
}

void ClickableListView::keyPressEvent(QKeyEvent* event) {
    const int again = event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier
                          ? ChosenRow(currentIndex())
                          : -1;
    QListView::keyPressEvent(event);
    if (again >= 0)
        emit chosenRowClicked(again);
}

void ClickableListView::mousePressEvent(QMouseEvent* event) {
    pressedChosenRow_ =
        event->button() == Qt::LeftButton ? ChosenRow(indexAt(event->position().toPoint())) : -1;
    QListView::mousePressEvent(event);
}

void ClickableListView::mouseReleaseEvent(QMouseEvent* event) {
    // Reported once the list is done with the release, which reselects the pressed row: a
    // read that fails and clears the choice is not undone by it.
    const int pressed = std::exchange(pressedChosenRow_, -1);
    QListView::mouseReleaseEvent(event);
    if (pressed >= 0 && indexAt(event->position().toPoint()).row() == pressed)
        emit chosenRowClicked(pressed);
}

} // namespace zandrel
