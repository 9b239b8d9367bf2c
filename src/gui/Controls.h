// The main window's own kinds of control: the colour swatches, the colour sample, a label
// that can be clicked and the palette list.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QListView>

namespace zandrel {

// A graphical toggle button: it shows its back colour and looks pressed while checked.
class SwatchButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit SwatchButton(QWidget* parent = nullptr);
    QColor colour() const { return colour_; }
    void SetColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

// A sunken picture filled with one colour; reports double clicks.
class ColourSample : public QFrame {
    Q_OBJECT
  public:
    explicit ColourSample(QWidget* parent = nullptr);
    QColor colour() const { return colour_; }
    void SetColour(const QColor& colour);

  signals:
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QColor colour_;
};

// A label that reports a left click released over it.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A list that also reports a click on the row already chosen, by the mouse or by Space, where
// the selection does not change. Its other rows are chosen through the selection.
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

  private:
    // The index of a row under the cursor or the mouse that is chosen already, or -1.
    int ChosenRow(const QModelIndex& index) const;

    int pressedChosenRow_ = -1; // a press on the chosen row, until its release
};

} // namespace zandrel
