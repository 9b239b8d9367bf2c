// The sample picture in the palette being edited ("Imagem de amostra").
#pragma once

#include <QDialog>

class QLabel;

namespace zandrel {

class PreviewWindow : public QDialog {
    Q_OBJECT
  public:
    // Reads the image file now, so every showing shows the file as it is.
    PreviewWindow(const QString& imagePath, QWidget* owner);

  private:
    QLabel* picture_;
    QLabel* hint_;
};

} // namespace zandrel
