// Lets a second window see Esc before any of its controls and close on it.
#pragma once

#include <QObject>

class QDialog;

namespace zandrel {

class EscapeCloser : public QObject {
    Q_OBJECT
  public:
    // Watches every key pressed in `dialog` from now on; lives and dies with it.
    explicit EscapeCloser(QDialog* dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QDialog* dialog_;
};

} // namespace zandrel
