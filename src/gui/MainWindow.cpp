#include "MainWindow.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <QTimer>
#include <QUrl>

#include "Controls.h"
#include "GraphicsWindow.h"
#include "KeyCodes.h"
#include "LocalPaths.h"
#include "PaletteListModel.h"
#include "QtColour.h"
#include "colour/LcdColour.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

bool HoldsCtrl(Qt::KeyboardModifiers keys) {
    return (keys & Qt::ControlModifier) != 0;
}

// A swatch dragged onto another moves (the two swap) unless Ctrl copies it; files are copied.
Qt::DropAction DropAction(bool swatch, bool copy) {
    return swatch && !copy ? Qt::MoveAction : Qt::CopyAction;
}

constexpr int kSliderTop = 31;
const QColor kPathText(0xC0, 0xC0, 0xC0);
constexpr int kColourWordPoints = 18;
// The layout was drawn for an 8-point font on a 96-dpi screen: 11 pixels.
constexpr int kFontPixels = 11;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void RenderState(QWidget* widget, const Control& control) {
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
}

// A button or a label.
template <class Widget> void RenderCaption(Widget* widget, const Control& control) {
    if (const QString caption = Q(control.caption); widget->text() != caption)
        widget->setText(caption);
    RenderState(widget, control);
}

// False when the selection differs from the chosen row and `select` left it so.
bool RenderList(QListView* view, PaletteListModel* rows, const ListBox& list, bool select) {
    rows->Refresh();
    view->setVisible(list.visible);
    // The chosen row is the selected one; the list's cursor may rest elsewhere without it.
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    const int shown = selected.isEmpty() ? -1 : selected.first().row();
    const int wanted = list.selected >= 0 && list.selected < rows->rowCount() ? list.selected : -1;
    if (shown == wanted)
        return true;
    if (select) {
        if (wanted < 0)
            view->selectionModel()->clearSelection();
        else
            view->setCurrentIndex(rows->index(wanted));
    }
    return select;
}

// Names a new control and puts it in its box.
template <class Widget> Widget* Place(Widget* widget, const QString& name, const TwipBox& box) {
    widget->setObjectName(name);
    widget->setGeometry(PxRect(box));
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const ButtonRow& row) {
    auto* button = Place(new QPushButton(parent), QString::fromLatin1(row.name), row.box);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

template <class View> View* MakeList(QWidget* parent, const ListRow& row, PaletteListModel* rows) {
    auto* view = Place(new View(parent), QString::fromLatin1(row.name), row.box);
    view->setUniformItemSizes(true); // instant with 32767 rows
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setModel(rows);
    return view;
}

QSlider* MakeSlider(QWidget* parent, const SliderRow& row) {
    auto* slider = Place(new QSlider(Qt::Vertical, parent), QString::fromLatin1(row.name), row.box);
    slider->setRange(0, kSliderTop); // a vertical slider has its maximum at the top
    slider->setSingleStep(1);
    slider->setPageStep(1);
    // Only the released value is a change; dragging the thumb raises nothing.
    slider->setTracking(false);
    slider->setFocusPolicy(Qt::StrongFocus);
    return slider;
}

// A narrower font for a fixed caption that the desktop font draws wider than its box.
void ShrinkToFit(QLabel* label, const QString& caption) {
    QFont font = label->font();
    const int advance = QFontMetrics(font).horizontalAdvance(caption);
    if (advance <= label->width() || font.pixelSize() <= 8)
        return;
    // Text width follows the pixel size nearly in proportion: one estimate, then at most a
    // step or two down, since every size tried costs a font load at start.
    font.setPixelSize(std::max(8, font.pixelSize() * label->width() / advance));
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(caption) > label->width())
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

void SetColours(QWidget* widget, QPalette::ColorRole backRole, const QColor& back,
                QPalette::ColorRole textRole, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(backRole, back);
    palette.setColor(textRole, text);
    widget->setPalette(palette);
}

// Labels keep to their top-left corner and show their text as it is; one that raises an event
// is a clickable label.
QLabel* MakeLabel(QWidget* parent, const LabelRow& row, const Control& control) {
    QLabel* label =
        Place(row.click != nullptr || row.doubleClick != nullptr ? new ClickableLabel(parent)
                                                                 : new QLabel(parent),
              QString::fromLatin1(row.name), row.box);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const auto showValue = [label](const QColor& colour) {
        label->setAutoFillBackground(true);
        SetColours(label, QPalette::Window, Qt::white, QPalette::WindowText, colour);
    };
    switch (row.look) {
    case LabelLook::Plain:
        break;
    case LabelLook::AccessKey:
        label->setTextFormat(Qt::AutoText);
        ShrinkToFit(label, QString::fromStdString(control.caption).remove(u'&'));
        break;
    case LabelLook::ColourWord: {
        QFont big = label->font();
        big.setPointSize(kColourWordPoints);
        big.setBold(true);
        label->setFont(big);
        break;
    }
    case LabelLook::BlueValue:
        showValue(Qt::blue);
        break;
    case LabelLook::GreenValue:
        showValue(Qt::green);
        break;
    case LabelLook::RedValue:
        showValue(Qt::red);
        break;
    }
    return label;
}

} // namespace

MainWindow::MainWindow(MainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("frmMain"));
    setFixedSize(Px(layout::kClientWidth), Px(layout::kClientHeight));
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    CreateControls();
    CreateEditMenu();
    ConnectEvents();
    SetTabOrder();
    Child<QWidget>("Command1")->setFocus();
    qApp->installEventFilter(this);
    Render();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
    const FormModel& m = form_.model();
    for (const ButtonRow& row : kButtons)
        buttons_.push_back({&row, MakeButton(this, row)});

    txtArquivo_ = Place(new QLineEdit(this), QStringLiteral("txtArquivo"), layout::txtArquivo);
    SetColours(txtArquivo_, QPalette::Base, Qt::black, QPalette::Text, kPathText);
    // The special button reaches down over the path field; it stays on top, so it can be used.
    Child<QWidget>("cmdSpecial")->raise();

    for (const LabelRow& row : kLabels)
        labels_.push_back({&row, MakeLabel(this, row, m.*row.control)});
    for (const ListRow& row : kLists) {
        auto* rows = new PaletteListModel(m.*row.list, this);
        QListView* view = row.chooses ? MakeList<ClickableListView>(this, row, rows)
                                      : MakeList<QListView>(this, row, rows);
        if (!row.chooses)
            view->setFocusPolicy(Qt::NoFocus);
        lists_.push_back({&row, view, rows});
    }
    for (const auto& [row, label] : labels_)
        if (row->look == LabelLook::AccessKey)
            label->setBuddy(Child<QWidget>("List1"));

    for (int i = 0; i < static_cast<int>(opt_.size()); ++i)
        opt_[static_cast<std::size_t>(i)] =
            Place(new SwatchButton(i, this), QStringLiteral("Opt%1").arg(i), layout::Opt(i));
    for (const SliderRow& row : kSliders)
        sliders_.push_back({&row, MakeSlider(this, row)});

    picture1_ = Place(new ColourSample(this), QStringLiteral("Picture1"), layout::Picture1);
}

void MainWindow::CreateEditMenu() {
    editMenu_ = new QMenu(this);
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    for (const MenuRow& row : kEditMenu) {
        if (row.text == nullptr) {
            editMenu_->addSeparator();
            continue;
        }
        auto* action = new QAction(QString::fromUtf8(row.text), this);
        QList<QKeySequence> keys;
        for (const QKeyCombination key : row.keys)
            if (key != QKeyCombination())
                keys.append(QKeySequence(key));
        // A text field keeps its own Ctrl+C, Ctrl+V and Ctrl+Z.
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(row.checked != nullptr);
        addAction(action);
        editMenu_->addAction(action);
        connect(action, &QAction::triggered, this, [this, click = row.click] { Raise(click); });
        editCommands_.push_back({&row, action});
    }
}

void MainWindow::ConnectEvents() {
    for (const auto& [row, button] : buttons_)
        connect(button, &QPushButton::clicked, this, [this, click = row->click] { Raise(click); });
    for (const auto& [row, label] : labels_) {
        auto* clickable = qobject_cast<ClickableLabel*>(label);
        if (row->click != nullptr)
            connect(clickable, &ClickableLabel::clicked, this,
                    [this, click = row->click] { Raise(click); });
        if (row->doubleClick != nullptr)
            connect(clickable, &ClickableLabel::doubleClicked, this,
                    [this, click = row->doubleClick] { Raise(click); });
    }
    for (const PlacedList& list : lists_) {
        auto* view = qobject_cast<ClickableListView*>(list.view);
        if (view == nullptr)
            continue;
        // A row is chosen when it becomes selected, by mouse or keyboard, and chosen again when
        // the row already chosen is clicked or gets Space. The focus alone moves the list's
        // cursor without selecting, and chooses nothing.
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, view] {
            const QModelIndexList chosen = view->selectionModel()->selectedRows();
            const QScopedValueRollback<bool> selecting(listSelecting_, true);
            if (!chosen.isEmpty())
                Raise(&MainForm::ChooseRow, chosen.first().row());
        });
        connect(view, &ClickableListView::chosenRowClicked, this,
                [this](int row) { Raise(&MainForm::ChooseRow, row); });
    }
    for (const auto& [row, slider] : sliders_)
        connect(slider, &QSlider::valueChanged, this, [this, which = row->slider](int value) {
            Raise(&MainForm::SetSliderValue, which, value);
        });

    for (int i = 0; i < static_cast<int>(opt_.size()); ++i) {
        SwatchButton* swatch = opt_[static_cast<std::size_t>(i)];
        connect(swatch, &QAbstractButton::clicked, this,
                [this, i] { Raise(&MainForm::Opt_Click, i); });
        connect(swatch, &SwatchButton::shiftClicked, this,
                [this, i] { Raise(&MainForm::Opt_ShiftClick, i); });
        // The menu acts on the selected swatch, so the right click selects the one under the
        // pointer first.
        swatch->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(swatch, &QWidget::customContextMenuRequested, this, [this, swatch, i](QPoint at) {
            Raise(&MainForm::Opt_RightClick, i);
            editMenu_->popup(swatch->mapToGlobal(at));
        });
    }
    setAcceptDrops(true);

    connect(picture1_, &ColourSample::doubleClicked, this,
            [this] { Raise(&MainForm::Picture1_DblClick); });
}

void MainWindow::SetTabOrder() {
    std::vector<QWidget*> order;
    for (const std::string_view name : kTabOrder) {
        if (name == "Opt")
            order.insert(order.end(), opt_.begin(), opt_.end());
        else
            order.push_back(Child<QWidget>(name.data()));
    }
    for (std::size_t k = 0; k + 1 < order.size(); ++k)
        setTabOrder(order[k], order[k + 1]);
}

void MainWindow::Render() {
    const bool wasRendering = std::exchange(rendering_, true);
    const FormModel& m = form_.model();

    if (const QString caption = Q(m.caption); windowTitle() != caption)
        setWindowTitle(caption);
    for (const auto& [row, button] : buttons_)
        RenderCaption(button, m.*row->control);
    RenderPath(m.txtArquivo, m.txtArquivoRevision);
    for (const auto& [row, label] : labels_)
        RenderCaption(label, m.*row->control);
    for (const PlacedList& list : lists_)
        if (!RenderList(list.view, list.rows, m.*list.row->list, !listSelecting_))
            QTimer::singleShot(0, this, [this] { Render(); });
    for (std::size_t i = 0; i < opt_.size(); ++i) {
        const int index = static_cast<int>(i);
        opt_[i]->SetColour(ToQColor(ScreenColour(m.Opt[i].backColor, m.gbaScreen)));
        opt_[i]->setChecked(m.Opt[i].selected);
        opt_[i]->setVisible(m.Opt[i].visible);
        opt_[i]->SetMarked(index == m.rampFrom || index == m.rampTo);
        opt_[i]->SetDraggable(form_.SwatchDraggable(index));
        if (const QString tip = Q(form_.SwatchToolTip(index)); opt_[i]->toolTip() != tip)
            opt_[i]->setToolTip(tip);
    }
    for (const auto& [row, slider] : sliders_)
        if (const int value = m.*row->value; slider->value() != value)
            slider->setValue(value);
    picture1_->SetColour(ToQColor(ScreenColour(m.Picture1, m.gbaScreen)));
    picture1_->SetGbaScreen(m.gbaScreen);
    RenderEditMenu();
    RenderGraphics();

    rendering_ = wasRendering;
}

void MainWindow::RenderPath(const Control& path, std::uint64_t revision) {
    // What the user types stays until the program sets a path of its own, the same path too.
    if (revision != shownPathRevision_ || path.caption != shownPath_) {
        shownPathRevision_ = revision;
        shownPath_ = path.caption;
        txtArquivo_->setText(Q(shownPath_));
        txtArquivo_->setCursorPosition(0);
    }
    RenderState(txtArquivo_, path);
}

void MainWindow::RenderEditMenu() {
    // A command that does not apply is greyed in the menu and its shortcut does nothing.
    const EditMenu state = form_.EditMenuState();
    for (const auto& [row, action] : editCommands_) {
        action->setEnabled(row->enabled == nullptr || state.*row->enabled);
        if (row->checked != nullptr)
            action->setChecked(state.*row->checked);
    }
}

void MainWindow::RenderGraphics() {
    if (!form_.model().graphicsShown) {
        if (graphics_ != nullptr && graphics_->isVisible())
            graphics_->hide();
        return;
    }
    if (graphics_ == nullptr) {
        graphics_ = new GraphicsWindow(form_, this);
        connect(graphics_, &GraphicsWindow::picked, this,
                [this](int x, int y) { Raise(&MainForm::Graphics_Click, x, y); });
        connect(graphics_, &QDialog::finished, this, [this] { Raise(&MainForm::GraphicsClosed); });
    }
    graphics_->Render();
    if (!graphics_->isVisible()) {
        graphics_->show();
        graphics_->raise();
        graphics_->activateWindow();
    }
}

template <class... Parameters, class... Arguments>
void MainWindow::Raise(void (MainForm::*handler)(Parameters...), Arguments&&... arguments) {
    if (rendering_ || form_.model().closed)
        return;
    (form_.*handler)(std::forward<Arguments>(arguments)...);
    form_.SyncGraphics();
    Render();
    if (form_.model().closed)
        close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!form_.model().closed) {
        // The close box and a session's end ask like the exit button.
        const bool agreed = form_.AgreeToClose();
        Render();
        if (!agreed) {
            event->ignore();
            return;
        }
    }
    if (form_.model().graphicsShown) {
        form_.GraphicsClosed(); // the viewer's places are written
        RenderGraphics();
    }
    event->accept();
}

int MainWindow::SwatchAt(QPoint position) const {
    for (std::size_t i = 0; i < opt_.size(); ++i)
        if (opt_[i]->isVisible() && opt_[i]->geometry().contains(position))
            return static_cast<int>(i);
    return -1;
}

MainWindow::Drop MainWindow::DropAt(const QMimeData* data, QPoint position) const {
    const int target = SwatchAt(position);
    if (const int source = SwatchButton::DraggedIndex(data); source >= 0)
        return target >= 0 && target != source ? Drop{Drop::Swatch, target, source, {}} : Drop{};
    const QList<QUrl> urls = data->urls();
    const std::optional<DroppedFile> file =
        urls.isEmpty() ? std::nullopt : DroppedFileOf(urls.first());
    // A file dropped on the swatches is a palette to import, where Importar is offered.
    if (!file || (target >= 0 && !form_.model().cmdImp.enabled))
        return {};
    if (!file->path)
        return Drop{Drop::UnusablePath, -1, -1, file->shown};
    return Drop{target >= 0 ? Drop::PaletteFile : Drop::OpenFile, target, -1, *file->path};
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Accepted here so that the moves follow; each move says whether a drop there is taken.
    if (SwatchButton::DraggedIndex(event->mimeData()) >= 0 || event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    const Drop drop = DropAt(event->mimeData(), event->position().toPoint());
    if (drop.kind == Drop::None) {
        event->ignore();
        return;
    }
    event->setDropAction(DropAction(drop.kind == Drop::Swatch, HoldsCtrl(event->modifiers())));
    event->accept();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const Drop drop = DropAt(event->mimeData(), event->position().toPoint());
    if (drop.kind == Drop::None) {
        event->ignore();
        return;
    }
    const bool copy = HoldsCtrl(event->modifiers());
    event->setDropAction(DropAction(drop.kind == Drop::Swatch, copy));
    event->accept();
    // Run once the drop is over: a box the command shows must not hold the dragging program.
    QMetaObject::invokeMethod(
        this,
        [this, drop, copy] {
            switch (drop.kind) {
            case Drop::Swatch:
                Raise(&MainForm::Opt_DragDrop, drop.target, drop.source, copy);
                break;
            case Drop::PaletteFile:
                Raise(&MainForm::Opt_OLEDragDrop, drop.path);
                break;
            case Drop::OpenFile:
                Raise(&MainForm::OpenFile, drop.path);
                break;
            case Drop::UnusablePath:
                Raise(&MainForm::RefuseUnusablePath, drop.path);
                break;
            case Drop::None:
                break;
            }
        },
        Qt::QueuedConnection);
}

bool MainWindow::SeesKeyFirst(QObject* watched) const {
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != this && !isAncestorOf(widget))
        return false; // another window, such as a box over this one
    // A key the focused control ignored travels up to its parents; it was seen already.
    const QWidget* focused = focusWidget();
    return !(focused != nullptr && widget != focused && widget->isAncestorOf(focused));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || rendering_ || !SeesKeyFirst(watched))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        // SA&IR is the cancel button: Esc presses it.
        if (const auto* exit = Child<QWidget>("Command4");
            exit->isEnabled() && exit->isVisibleTo(this))
            Raise(&MainForm::Command4_Click);
        return true;
    }
    const int code = VirtualKeyCode(key->key(), key->modifiers());
    const int shift = ShiftState(key->modifiers());
    Raise(&MainForm::Form_KeyDown, code, shift);
    return false; // the focused control gets the key too
}

} // namespace zandrel
