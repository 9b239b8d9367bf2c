// The bytes of a palette as hex rows ("Bytes").
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace zandrel {

class ByteWindow : public QDialog {
    Q_OBJECT
  public:
    ByteWindow(const std::string& text, QWidget* owner);

  private:
    QPlainTextEdit* text_;
    QLabel* hint_;
};

} // namespace zandrel
