#include "Controls.h"

#include <utility>

#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <qdrawutil.h>

namespace zandrel {

namespace {
// What a swatch's drag carries: its index as decimal text.
const QString kSwatchMimeType = QStringLiteral("application/x-zandrel-swatch");
constexpr int kMarkPixels = 9;
} // namespace

SwatchButton::SwatchButton(int index, QWidget* parent) : QAbstractButton(parent), index_(index) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
}

void SwatchButton::SetMarked(bool marked) {
    if (marked == marked_)
        return;
    marked_ = marked;
    update();
}

int SwatchButton::DraggedIndex(const QMimeData* data) {
    bool ok = false;
    const int index = data->data(kSwatchMimeType).toInt(&ok);
    return ok ? index : -1;
}

void SwatchButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    // Decided at the press: a drag needs the swatch selected before it, so a click that slips
    // onto a neighbour is still a click.
    press_ = (event->modifiers() & Qt::ShiftModifier) ? Press::ShiftClick
             : draggable_                             ? Press::MayDrag
                                                      : Press::Click;
    setDown(true);
    event->accept();
}

void SwatchButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (press_ != Press::MayDrag || rect().contains(event->position().toPoint()))
        return;
    press_ = Press::None; // the press became a drag: its release clicks nothing
    setDown(false);
    auto* data = new QMimeData;
    data->setData(kSwatchMimeType, QByteArray::number(index_));
    QPixmap picture(size());
    picture.fill(colour_);
    auto* drag = new QDrag(this); // owns the data; deleted with the swatch or after the drop
    drag->setMimeData(data);
    drag->setPixmap(picture);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void SwatchButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const Press press = std::exchange(press_, Press::None);
    setDown(false);
    if (press == Press::ShiftClick)
        emit shiftClicked();
    else if (press != Press::None)
        emit clicked(isChecked());
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
    if (marked_) {
        // Black with a white edge shows on any colour; inside the bevel, which is white too.
        constexpr int inset = 3;
        const QPolygon corner({QPoint(inset, inset), QPoint(inset + kMarkPixels, inset),
                               QPoint(inset, inset + kMarkPixels)});
        painter.setPen(Qt::white);
        painter.setBrush(Qt::black);
        painter.drawPolygon(corner);
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

void ColourSample::SetGbaScreen(bool gbaScreen) {
    if (gbaScreen == gbaScreen_)
        return;
    gbaScreen_ = gbaScreen;
    update();
}

void ColourSample::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), colour_);
        if (gbaScreen_) {
            // White on black in the lower right corner shows on any colour.
            const QString mark = QStringLiteral("GBA");
            const QFontMetrics metrics(font());
            QRect box(0, 0, metrics.horizontalAdvance(mark) + 6, metrics.height() + 2);
            box.moveBottomRight(contentsRect().bottomRight() - QPoint(2, 2));
            painter.fillRect(box, Qt::black);
            painter.setPen(Qt::white);
            painter.drawText(box, Qt::AlignCenter, mark);
        }
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

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
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

QItemSelectionModel::SelectionFlags ClickableListView::selectionCommand(const QModelIndex& index,
                                                                        const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (!index.isValid() || command.testFlag(QItemSelectionModel::Deselect))
        return QItemSelectionModel::NoUpdate;
    return command;
}

bool ClickableListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QListView::viewportEvent(event);
    const QPoint at = static_cast<QHelpEvent*>(event)->pos();
    const QModelIndex index = indexAt(at);
    // Only a row the list cuts off: the others show whole already.
    const QRect shown = visualRect(index) & viewport()->rect();
    if (index.isValid() && sizeHintForIndex(index).width() > shown.width())
        QToolTip::showText(viewport()->mapToGlobal(at), index.data().toString(), viewport(), shown);
    else
        QToolTip::hideText();
    return true;
}

} // namespace zandrel
