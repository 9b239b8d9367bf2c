#include "GraphicsWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "EscapeCloser.h"
#include "app/MainForm.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

constexpr int kCheckSquare = 4;
constexpr int kWheelNotch = 120;
constexpr int kRowsPerNotch = 2;
const QColor kBackground(0x40, 0x40, 0x40);

QBrush Checkerboard() {
    QImage squares(2 * kCheckSquare, 2 * kCheckSquare, QImage::Format_RGB32);
    squares.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&squares);
    painter.fillRect(0, 0, kCheckSquare, kCheckSquare, Qt::white);
    painter.fillRect(kCheckSquare, kCheckSquare, kCheckSquare, kCheckSquare, Qt::white);
    return QBrush(squares);
}

// The viewer's keys, which act only while this window has the focus.
struct KeyRow {
    QKeyCombination key;
    void (*act)(GraphicsForm& graphics, int rowsShown);
};

const KeyRow kKeys[] = {
    {Qt::Key_F3, [](GraphicsForm& g, int) { g.JumpToBlock(false); }},
    {Qt::SHIFT | Qt::Key_F3, [](GraphicsForm& g, int) { g.JumpToBlock(true); }},
    {Qt::Key_PageDown, [](GraphicsForm& g, int rows) { g.ScrollRows(rows); }},
    {Qt::Key_PageUp, [](GraphicsForm& g, int rows) { g.ScrollRows(-rows); }},
    {Qt::CTRL | Qt::Key_Right, [](GraphicsForm& g, int) { g.StepStart(1); }},
    {Qt::CTRL | Qt::Key_Left, [](GraphicsForm& g, int) { g.StepStart(-1); }},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_Right, [](GraphicsForm& g, int) { g.StepStart(2); }},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_Left, [](GraphicsForm& g, int) { g.StepStart(-2); }},
    {Qt::CTRL | Qt::Key_Down,
     [](GraphicsForm& g, int) {
         g.StepStart(static_cast<std::int64_t>(TileBytes(g.viewer().Grid().bitsPerPixel)));
     }},
    {Qt::CTRL | Qt::Key_Up,
     [](GraphicsForm& g, int) {
         g.StepStart(-static_cast<std::int64_t>(TileBytes(g.viewer().Grid().bitsPerPixel)));
     }},
};

} // namespace

TileCanvas::TileCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kTileSide * 8, kTileSide * 8);
}

void TileCanvas::SetImage(QImage image, int zoom) {
    image_ = std::move(image);
    zoom_ = zoom;
    update();
}

void TileCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const QRect shown(0, 0, image_.width() * zoom_, image_.height() * zoom_);
    if (image_.hasAlphaChannel())
        painter.fillRect(shown, Checkerboard());
    painter.drawImage(shown, image_);
}

void TileCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit pointed(event->position().toPoint().x(), event->position().toPoint().y());
}

void TileCanvas::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (event->button() == Qt::LeftButton)
        emit clicked(event->position().toPoint().x(), event->position().toPoint().y());
}

void TileCanvas::leaveEvent(QEvent*) {
    emit pointed(-1, -1);
}

void TileCanvas::wheelEvent(QWheelEvent* event) {
    wheel_ += event->angleDelta().y();
    const int notches = wheel_ / kWheelNotch;
    wheel_ -= notches * kWheelNotch;
    if (notches != 0)
        emit scrolled(-notches * kRowsPerNotch);
    event->accept();
}

void TileCanvas::resizeEvent(QResizeEvent*) {
    emit resized();
}

GraphicsWindow::GraphicsWindow(MainForm& form, QWidget* owner)
    : QDialog(owner, Qt::Window), form_(form) {
    setObjectName(QStringLiteral("frmGraficos"));
    setWindowTitle(QString::fromUtf8(text::kGraphicsCaption));
    setModal(false);

    txtLocation_ = new QLineEdit(this);
    txtLocation_->setObjectName(QStringLiteral("txtLocation"));
    txtLocation_->setMaxLength(20);
    cboBits_ = new QComboBox(this);
    cboBits_->setObjectName(QStringLiteral("cboBits"));
    cboBits_->addItem(QStringLiteral("4 bpp"), 4);
    cboBits_->addItem(QStringLiteral("8 bpp"), 8);
    spnWidth_ = new QSpinBox(this);
    spnWidth_->setObjectName(QStringLiteral("spnWidth"));
    spnWidth_->setRange(kNarrowestGrid, kWidestGrid);
    spnWidth_->setSuffix(QStringLiteral(" tiles"));
    spnZoom_ = new QSpinBox(this);
    spnZoom_->setObjectName(QStringLiteral("spnZoom"));
    spnZoom_->setRange(kSmallestZoom, kLargestZoom);
    spnZoom_->setSuffix(QStringLiteral("x"));
    chkTransparent_ = new QCheckBox(QString::fromUtf8(text::kGraphicsTransparent), this);
    chkTransparent_->setObjectName(QStringLiteral("chkTransparent"));
    auto* save = new QPushButton(QString::fromUtf8(text::kGraphicsSaveImage), this);
    save->setObjectName(QStringLiteral("cmdSaveImage"));
    save->setAutoDefault(false);
    canvas_ = new TileCanvas(this);
    canvas_->setObjectName(QStringLiteral("picView"));
    lblStart_ = new QLabel(this);
    lblStart_->setObjectName(QStringLiteral("lblStart"));
    lblPointer_ = new QLabel(this);
    lblPointer_->setObjectName(QStringLiteral("lblPointer"));

    auto* controls = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{txtLocation_, cboBits_, spnWidth_,
                                                           spnZoom_, chkTransparent_, save})
        controls->addWidget(widget);
    auto* status = new QHBoxLayout;
    status->addWidget(lblStart_);
    status->addWidget(lblPointer_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(canvas_, 1);
    layout->addLayout(status);

    GraphicsForm& g = form_.graphics();
    connect(txtLocation_, &QLineEdit::returnPressed, this, [this, &g] {
        Raise([&g, typed = txtLocation_->text().toStdString()] { g.txtLocation_Enter(typed); });
    });
    connect(cboBits_, &QComboBox::activated, this, [this, &g](int row) {
        Raise([&g, bits = cboBits_->itemData(row).toInt()] { g.SetBitsPerPixel(bits); });
    });
    connect(spnWidth_, &QSpinBox::valueChanged, this,
            [this, &g](int tiles) { Raise([&g, tiles] { g.SetWidth(tiles); }); });
    connect(spnZoom_, &QSpinBox::valueChanged, this, [this, &g](int zoom) {
        Raise([&g, zoom] { g.SetZoom(zoom); });
        FitRows();
    });
    connect(chkTransparent_, &QCheckBox::toggled, this,
            [this, &g](bool on) { Raise([&g, on] { g.SetTransparentZero(on); }); });
    connect(save, &QPushButton::clicked, this, [this, &g] {
        const FormModel& m = form_.model();
        Raise([&g, &m] { g.SaveImage_Click(SwatchColours(m), m.gbaScreen); });
    });
    connect(canvas_, &TileCanvas::pointed, this,
            [this, &g](int x, int y) { Raise([&g, x, y] { g.PointAt(x, y); }); });
    connect(canvas_, &TileCanvas::clicked, this, &GraphicsWindow::picked);
    connect(canvas_, &TileCanvas::scrolled, this,
            [this, &g](int rows) { Raise([&g, rows] { g.ScrollRows(rows); }); });
    connect(canvas_, &TileCanvas::resized, this, &GraphicsWindow::FitRows);
    CreateKeys();
    new EscapeCloser(this);
    resize(560, 420);
}

void GraphicsWindow::CreateKeys() {
    for (const KeyRow& row : kKeys) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(row.key));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, act = row.act] {
            GraphicsForm& g = form_.graphics();
            const int rows = std::max(1, canvas_->height() / (kTileSide * g.viewer().Zoom()));
            Raise([&g, act, rows] { act(g, rows); });
        });
    }
}

template <class Handler> void GraphicsWindow::Raise(Handler handler) {
    if (rendering_)
        return;
    handler();
    Render();
}

void GraphicsWindow::FitRows() {
    GraphicsForm& g = form_.graphics();
    const int tileSide = kTileSide * g.viewer().Zoom();
    Raise([&g, this, tileSide] { g.SetRows((canvas_->height() + tileSide - 1) / tileSide); });
}

void GraphicsWindow::Render() {
    const bool wasRendering = std::exchange(rendering_, true);
    GraphicsForm& g = form_.graphics();
    const GraphicsControls& m = g.model();
    const TileViewer& viewer = g.viewer();
    if (m.txtLocationRevision != shownLocationRevision_) {
        shownLocationRevision_ = m.txtLocationRevision;
        txtLocation_->setText(QString::fromStdString(m.txtLocation));
    }
    cboBits_->setCurrentIndex(viewer.Grid().bitsPerPixel == 8 ? 1 : 0);
    spnWidth_->setValue(viewer.Grid().widthInTiles);
    spnZoom_->setValue(viewer.Zoom());
    chkTransparent_->setChecked(viewer.TransparentZero());
    lblStart_->setText(QString::fromStdString(m.lblStart));
    lblPointer_->setText(QString::fromStdString(m.lblPointer));

    const FormModel& main = form_.model();
    if (g.Paint(SwatchColours(main), main.gbaScreen)) {
        const std::span<const ArgbPixel> pixels = viewer.Pixels();
        const QImage image(reinterpret_cast<const uchar*>(pixels.data()), viewer.ImageWidth(),
                           viewer.ImageHeight(), viewer.ImageWidth() * 4,
                           viewer.TransparentZero() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        // A copy: the model's pixels move when its view does.
        canvas_->SetImage(image.copy(), viewer.Zoom());
    }
    rendering_ = wasRendering;
}

} // namespace zandrel
