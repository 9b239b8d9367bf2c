#include "ByteWindow.h"

#include <algorithm>

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>

#include "EscapeCloser.h"
#include "MessageBoxes.h"
#include "util/Messages.h"

namespace zandrel {

namespace {
constexpr int kMargin = 8;
constexpr int kRowLength = 47; // 16 bytes of two digits with blanks between
constexpr int kRows = 2;
constexpr int kFontPoints = 9;
constexpr int kSlack = 6;
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
    const QString shown = DisplayText(text);
    text_->setPlainText(shown);
    // The dump has a line end after its 16th byte only: never more than two rows. Only the
    // second row of a palette above 16 colours is longer, and it scrolls sideways.
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // Room for two full rows, plus the frame, the document's margins and the text cursor.
    const QFontMetrics metrics(font);
    const int margins =
        2 * (text_->frameWidth() + static_cast<int>(text_->document()->documentMargin())) + kSlack;
    const int width = metrics.horizontalAdvance(QString(kRowLength, u'0')) + margins;
    int height = metrics.lineSpacing() * kRows + margins;
    const bool wide = std::ranges::any_of(
        shown.split(u'\n'), [](const QString& row) { return row.size() > kRowLength; });
    if (wide)
        height += text_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
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
