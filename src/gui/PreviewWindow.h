// The sample picture in the palette being edited ("Imagem de amostra").
#pragma once

#include <QDialog>

class QLabel;

namespace zandrel {

class PreviewWindow : public QDialog {
    Q_OBJECT
  public:
    // Reads the image file now, so every showing shows the file as it is; with `gbaScreen`
    // its colours are drawn as the GBA's own screen shows them.
    PreviewWindow(const QString& imagePath, bool gbaScreen, QWidget* owner);

  private:
    QLabel* picture_;
    QLabel* hint_;
};

} // namespace zandrel
