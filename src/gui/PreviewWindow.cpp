#include "PreviewWindow.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "EscapeCloser.h"
#include "Twips.h"
#include "util/Messages.h"

namespace zandrel {

namespace {
constexpr TwipBox kPicture{120, 0, 6045, 2100};
constexpr TwipBox kHint{120, 2160, 6045, 255};
constexpr int kClientWidth = 6285;
constexpr int kClientHeight = 2535;
} // namespace

PreviewWindow::PreviewWindow(const QString& imagePath, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QString::fromUtf8(text::kPreviewCaption));
    setModal(true);
    setFixedSize(Px(kClientWidth), Px(kClientHeight));

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setGeometry(PxRect(kPicture));
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Read past the pixmap cache: the file's colours change between showings.
    QImageReader reader(imagePath);
    const QImage image = reader.read();
    if (!image.isNull())
        picture_->setPixmap(QPixmap::fromImage(image));

    hint_ = new QLabel(QString::fromUtf8(text::kPressEscToReturn), this);
    hint_->setObjectName(QStringLiteral("Label1"));
    hint_->setGeometry(PxRect(kHint));

    new EscapeCloser(this);
}

} // namespace zandrel
