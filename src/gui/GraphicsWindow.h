// The window "Gráficos": the game's graphics drawn with the palette being edited. It draws
// the main form's GraphicsForm and hands its events to it; a click on a pixel and the
// window's closing are the main window's events, raised through its signals.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace zandrel {

class MainForm;

// The view: the model's pixels at the zoom, over a checkerboard where they are transparent.
class TileCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit TileCanvas(QWidget* parent);
    void SetImage(QImage image, int zoom);

  signals:
    void pointed(int x, int y);
    void clicked(int x, int y);
    void scrolled(int rows);
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage image_;
    int zoom_ = 1;
    int wheel_ = 0; // the wheel's turn not yet a whole notch
};

class GraphicsWindow : public QDialog {
    Q_OBJECT
  public:
    GraphicsWindow(MainForm& form, QWidget* owner);

    // Shows the viewer's model as it stands, painting the view again only when the swatches,
    // the view or the way it is drawn changed.
    void Render();

  signals:
    void picked(int x, int y);

  private:
    void CreateKeys();
    // Runs one of the viewer's handlers, then shows its outcome.
    template <class Handler> void Raise(Handler handler);
    void FitRows();

    MainForm& form_;
    bool rendering_ = false;
    std::uint64_t shownLocationRevision_ = 0;
    QLineEdit* txtLocation_;
    QComboBox* cboBits_;
    QSpinBox* spnWidth_;
    QSpinBox* spnZoom_;
    QCheckBox* chkTransparent_;
    TileCanvas* canvas_;
    QLabel* lblStart_;
    QLabel* lblPointer_;
};

} // namespace zandrel
