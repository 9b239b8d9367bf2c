#include "ByteWindow.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "EscapeCloser.h"
#include "MessageBoxes.h"
#include "app/Messages.h"

namespace zandrel {

namespace {
constexpr int kMargin = 8;
constexpr int kRowLength = 47; // 16 bytes of two digits with blanks between
constexpr int kRows = 2;
constexpr int kFontPoints = 9;
} // namespace

ByteWindow::ByteWindow(const std::string& text, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmByte"));
    setWindowTitle(QString::fromUtf8(text::kBytesCaption));
    setModal(true);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kFontPoints);
    text_->setFont(font);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(DisplayText(text));

    // Room for two full rows, plus the frame and the document's margins.
    const QFontMetrics metrics(font);
    const int margins =
        2 * (text_->frameWidth() + static_cast<int>(text_->document()->documentMargin()));
    const int width = metrics.horizontalAdvance(QString(kRowLength, u'0')) + margins + 2;
    const int height = metrics.lineSpacing() * kRows + margins + 2;
    text_->setGeometry(kMargin, kMargin, width, height);

    hint_ = new QLabel(QString::fromUtf8(text::kPressEscToReturn), this);
    hint_->setObjectName(QStringLiteral("Label1"));
    const int hintHeight = hint_->sizeHint().height();
    hint_->setGeometry(kMargin, kMargin + height + kMargin / 2, width, hintHeight);

    setFixedSize(width + 2 * kMargin, kMargin + height + kMargin / 2 + hintHeight + kMargin);
    text_->setFocus();
    new EscapeCloser(this);
}

} // namespace zandrel
