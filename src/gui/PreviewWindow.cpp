#include "PreviewWindow.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "EscapeCloser.h"
#include "QtColour.h"
#include "Twips.h"
#include "colour/LcdColour.h"
#include "util/Messages.h"

namespace zandrel {

namespace {
constexpr TwipBox kPicture{120, 0, 6045, 2100};
constexpr TwipBox kHint{120, 2160, 6045, 255};
constexpr int kClientWidth = 6285;
constexpr int kClientHeight = 2535;

// The picture as the GBA's LCD shows it: each colour through its 15-bit word.
QImage OnGbaScreen(const QImage& image) {
    QImage shown = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < shown.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x)
            line[x] = ToQColor(ScreenColour(FromQColor(QColor(line[x])), true)).rgb();
    }
    return shown;
}

} // namespace

PreviewWindow::PreviewWindow(const QString& imagePath, bool gbaScreen, QWidget* owner)
    : QDialog(owner) {
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
        picture_->setPixmap(QPixmap::fromImage(gbaScreen ? OnGbaScreen(image) : image));

    hint_ = new QLabel(QString::fromUtf8(text::kPressEscToReturn), this);
    hint_->setObjectName(QStringLiteral("Label1"));
    hint_->setGeometry(PxRect(kHint));

    new EscapeCloser(this);
}

} // namespace zandrel
