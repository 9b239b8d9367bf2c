// The main window's own kinds of control: the colour swatches, the colour sample, a label
// that can be clicked and the palette list.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QPoint>

class QMimeData;

namespace zandrel {

// A graphical toggle button: it shows its back colour and looks pressed while checked. A
// left press is a click, reported at its release wherever the pointer is then (with Shift
// held, apart); only on a draggable swatch does the pointer leaving it start a drag of its
// index instead.
class SwatchButton : public QAbstractButton {
    Q_OBJECT
  public:
    SwatchButton(int index, QWidget* parent = nullptr);
    QColor colour() const { return colour_; }
    void SetColour(const QColor& colour);
    void SetDraggable(bool draggable) { draggable_ = draggable; }
    // A ramp's end: a small triangle in its corner, inside the swatch's box.
    bool marked() const { return marked_; }
    void SetMarked(bool marked);
    // The index a drag of a swatch carries, or -1 for any other data.
    static int DraggedIndex(const QMimeData* data);

  signals:
    void shiftClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // What the left press under way turns into.
    enum class Press { None, Click, ShiftClick, MayDrag };

    int index_;
    QColor colour_;
    bool marked_ = false;
    bool draggable_ = false;
    Press press_ = Press::None;
};

// A sunken picture filled with one colour; reports double clicks. While the window shows the
// GBA's screen it says so in a corner.
class ColourSample : public QFrame {
    Q_OBJECT
  public:
    explicit ColourSample(QWidget* parent = nullptr);
    QColor colour() const { return colour_; }
    void SetColour(const QColor& colour);
    bool gbaScreen() const { return gbaScreen_; }
    void SetGbaScreen(bool gbaScreen);

  signals:
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QColor colour_;
    bool gbaScreen_ = false;
};

// A label that reports a left click released over it, and a double click.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A list that also reports a click on the row already chosen, by the mouse or by Space, where
// the selection does not change. Its other rows are chosen through the selection. A row too
// long for the list shows whole in its tooltip.
class ClickableListView : public QListView {
    Q_OBJECT
  public:
    using QListView::QListView;

  signals:
    void chosenRowClicked(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Only choosing a row changes the choice: a click below the last row, or Ctrl with a click
    // or Space on the chosen row, would clear the highlight while the row stays chosen.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    bool viewportEvent(QEvent* event) override;

  private:
    // The index of a row under the cursor or the mouse that is chosen already, or -1.
    int ChosenRow(const QModelIndex& index) const;

    int pressedChosenRow_ = -1; // a press on the chosen row, until its release
};

} // namespace zandrel
