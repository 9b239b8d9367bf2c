#include "MainWindow.h"

#include <algorithm>

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
#include <QSlider>
#include <QStyleHints>
#include <QUrl>

#include "Controls.h"
#include "KeyCodes.h"
#include "PaletteListModel.h"
#include "QtColour.h"
#include "Twips.h"
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

void RenderButton(QPushButton* button, const Control& control) {
    if (const QString caption = Q(control.caption); button->text() != caption)
        button->setText(caption);
    RenderState(button, control);
}

void RenderLabel(QLabel* label, const Control& control) {
    if (const QString caption = Q(control.caption); label->text() != caption)
        label->setText(caption);
    RenderState(label, control);
}

void RenderList(QListView* view, PaletteListModel* rows, const ListBox& list) {
    rows->Refresh();
    // The chosen row is the selected one; the list's cursor may rest elsewhere without it.
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    const int shown = selected.isEmpty() ? -1 : selected.first().row();
    const int wanted = list.selected >= 0 && list.selected < rows->rowCount() ? list.selected : -1;
    if (shown != wanted) {
        if (wanted < 0)
            view->selectionModel()->clearSelection();
        else
            view->setCurrentIndex(rows->index(wanted));
    }
    view->setVisible(list.visible);
}

void RenderSlider(QSlider* slider, int value) {
    if (slider->value() != value)
        slider->setValue(value);
}

// Labels keep to their top-left corner and show their text as it is.
QLabel* MakeLabel(QWidget* parent, const char* name, const TwipBox& box) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(PxRect(box));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const TwipBox& box) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(PxRect(box));
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

template <class View>
View* MakeList(QWidget* parent, const char* name, const TwipBox& box, PaletteListModel* rows) {
    auto* view = new View(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(PxRect(box));
    view->setUniformItemSizes(true); // instant with 32767 rows
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setModel(rows);
    return view;
}

QSlider* MakeSlider(QWidget* parent, const char* name, const TwipBox& box) {
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setGeometry(PxRect(box));
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
    command1_->setFocus();
    qApp->installEventFilter(this);
    Render();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
    const FormModel& m = form_.model();
    command1_ = MakeButton(this, "Command1", layout::Command1);
    command2_ = MakeButton(this, "Command2", layout::Command2);
    command3_ = MakeButton(this, "Command3", layout::Command3);
    command4_ = MakeButton(this, "Command4", layout::Command4);
    cmdSpecial_ = MakeButton(this, "cmdSpecial", layout::cmdSpecial);

    txtArquivo_ = new QLineEdit(this);
    txtArquivo_->setObjectName(QStringLiteral("txtArquivo"));
    txtArquivo_->setGeometry(PxRect(layout::txtArquivo));
    SetColours(txtArquivo_, QPalette::Base, Qt::black, QPalette::Text, kPathText);
    // The special button reaches down over the path field; it stays on top, so it can be used.
    cmdSpecial_->raise();

    lblGame_ = MakeLabel(this, "lblGame", layout::lblGame);
    label2_ = MakeLabel(this, "Label2", layout::Label2);
    label2_->setTextFormat(Qt::AutoText); // its "&" marks the access key of the list
    ShrinkToFit(label2_, QString::fromStdString(m.Label2.caption).remove(u'&'));
    cmdRecarrega_ = MakeButton(this, "cmdRecarrega", layout::cmdRecarrega);

    lblLoc_ = new ClickableLabel(this);
    lblLoc_->setObjectName(QStringLiteral("lblLoc"));
    lblLoc_->setGeometry(PxRect(layout::lblLoc));
    lblLoc_->setTextFormat(Qt::PlainText);
    lblLoc_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblLocOpt_ = MakeLabel(this, "lblLocOpt", layout::lblLocOpt);

    list1Rows_ = new PaletteListModel(m.List1, this);
    list1_ = MakeList<ClickableListView>(this, "List1", layout::List1, list1Rows_);
    label2_->setBuddy(list1_);

    for (int i = 0; i < static_cast<int>(opt_.size()); ++i) {
        auto* swatch = new SwatchButton(i, this);
        swatch->setObjectName(QStringLiteral("Opt%1").arg(i));
        swatch->setGeometry(PxRect(layout::Opt(i)));
        opt_[static_cast<std::size_t>(i)] = swatch;
    }

    cmdImp_ = MakeButton(this, "cmdImp", layout::cmdImp);
    cmdExp_ = MakeButton(this, "cmdExp", layout::cmdExp);
    cmdAmostra_ = MakeButton(this, "cmdAmostra", layout::cmdAmostra);
    cmdExibir_ = MakeButton(this, "cmdExibir", layout::cmdExibir);

    blueScroll_ = MakeSlider(this, "BlueScroll", layout::BlueScroll);
    greenScroll_ = MakeSlider(this, "GreenScroll", layout::GreenScroll);
    redScroll_ = MakeSlider(this, "RedScroll", layout::RedScroll);

    picture1_ = new ColourSample(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(PxRect(layout::Picture1));

    lblColor_ = new ClickableLabel(this);
    lblColor_->setObjectName(QStringLiteral("lblColor"));
    lblColor_->setGeometry(PxRect(layout::lblColor));
    lblColor_->setTextFormat(Qt::PlainText);
    lblColor_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont big = lblColor_->font();
    big.setPointSize(kColourWordPoints);
    big.setBold(true);
    lblColor_->setFont(big);

    lblBlue_ = MakeLabel(this, "lblBlue", layout::lblBlue);
    lblGreen_ = MakeLabel(this, "lblGreen", layout::lblGreen);
    lblRed_ = MakeLabel(this, "lblRed", layout::lblRed);
    const std::array<std::pair<QLabel*, QColor>, 3> values{
        {{lblBlue_, Qt::blue}, {lblGreen_, Qt::green}, {lblRed_, Qt::red}}};
    for (const auto& [label, colour] : values) {
        label->setAutoFillBackground(true);
        SetColours(label, QPalette::Window, Qt::white, QPalette::WindowText, colour);
    }

    lblLocaliza_ = MakeLabel(this, "lblLocaliza", layout::lblLocaliza);

    lstColorRows_ = new PaletteListModel(m.lstColor, this);
    lstColor_ = MakeList<QListView>(this, "lstColor", layout::lstColor, lstColorRows_);
    lstColor_->setFocusPolicy(Qt::NoFocus);
    lstCountRows_ = new PaletteListModel(m.lstCount, this);
    lstCount_ = MakeList<QListView>(this, "lstCount", layout::lstCount, lstCountRows_);
    lstCount_->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::CreateEditMenu() {
    // The menu shows each command's shortcut, whatever the desktop's habit is.
    QGuiApplication::styleHints()->setShowShortcutsInContextMenus(true);
    editMenu_ = new QMenu(this);
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    mnuUndo_ = AddEditCommand(text::kMenuUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                              &MainForm::mnuUndo_Click);
    mnuRedo_ = AddEditCommand(
        text::kMenuRedo,
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        &MainForm::mnuRedo_Click);
    editMenu_->addSeparator();
    mnuCopyColour_ = AddEditCommand(text::kMenuCopyColour, {QKeySequence(Qt::CTRL | Qt::Key_C)},
                                    &MainForm::mnuCopyColour_Click);
    mnuCopyPalette_ =
        AddEditCommand(text::kMenuCopyPalette, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
                       &MainForm::mnuCopyPalette_Click);
    mnuPaste_ = AddEditCommand(text::kMenuPaste, {QKeySequence(Qt::CTRL | Qt::Key_V)},
                               &MainForm::mnuPaste_Click);
    mnuTypeColour_ = AddEditCommand(text::kMenuTypeColour, {QKeySequence(Qt::CTRL | Qt::Key_D)},
                                    &MainForm::mnuTypeColour_Click);
    editMenu_->addSeparator();
    mnuRamp_ = AddEditCommand(text::kMenuRamp, {QKeySequence(Qt::CTRL | Qt::Key_G)},
                              &MainForm::mnuRamp_Click);
    mnuGbaScreen_ = AddEditCommand(text::kMenuGbaScreen, {QKeySequence(Qt::CTRL | Qt::Key_L)},
                                   &MainForm::mnuGbaScreen_Click);
    mnuGbaScreen_->setCheckable(true);
}

QAction* MainWindow::AddEditCommand(const char* text, const QList<QKeySequence>& keys,
                                    void (MainForm::*handler)()) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    // Ctrl shortcuts leave the specified keys (keypad keys, Esc, the Alt accelerators) to the
    // window's key handler. A text field keeps its own Ctrl+C, Ctrl+V and Ctrl+Z.
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    editMenu_->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, handler] { Raise([this, handler] { (form_.*handler)(); }); });
    return action;
}

void MainWindow::ConnectEvents() {
    const std::array<std::pair<QPushButton*, void (MainForm::*)()>, 10> buttons{{
        {command1_, &MainForm::Command1_Click},
        {command2_, &MainForm::Command2_Click},
        {command3_, &MainForm::Command3_Click},
        {command4_, &MainForm::Command4_Click},
        {cmdSpecial_, &MainForm::cmdSpecial_Click},
        {cmdRecarrega_, &MainForm::cmdRecarrega_Click},
        {cmdImp_, &MainForm::cmdImp_Click},
        {cmdExp_, &MainForm::cmdExp_Click},
        {cmdAmostra_, &MainForm::cmdAmostra_Click},
        {cmdExibir_, &MainForm::cmdExibir_Click},
    }};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { Raise([this, handler] { (form_.*handler)(); }); });

    // A row is chosen when it becomes selected, by mouse or keyboard, and chosen again when
    // the row already chosen is clicked or gets Space. The focus alone moves the list's
    // cursor without selecting, and chooses nothing.
    const auto choose = [this](int row) { Raise([this, row] { form_.ChooseRow(row); }); };
    connect(list1_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, choose] {
        const QModelIndexList chosen = list1_->selectionModel()->selectedRows();
        if (!rendering_ && !chosen.isEmpty())
            choose(chosen.first().row());
    });
    connect(list1_, &ClickableListView::chosenRowClicked, this, choose);

    for (int i = 0; i < static_cast<int>(opt_.size()); ++i) {
        SwatchButton* swatch = opt_[static_cast<std::size_t>(i)];
        connect(swatch, &QAbstractButton::clicked, this,
                [this, i] { Raise([this, i] { form_.Opt_Click(i); }); });
        connect(swatch, &SwatchButton::shiftClicked, this,
                [this, i] { Raise([this, i] { form_.Opt_ShiftClick(i); }); });
        // The menu acts on the selected swatch and the marked ones: a right click selects
        // nothing.
        swatch->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(swatch, &QWidget::customContextMenuRequested, this,
                [this, swatch](QPoint at) { editMenu_->popup(swatch->mapToGlobal(at)); });
    }
    setAcceptDrops(true);

    const std::array<std::pair<QSlider*, SliderId>, 3> sliders{{
        {blueScroll_, SliderId::Blue},
        {greenScroll_, SliderId::Green},
        {redScroll_, SliderId::Red},
    }};
    for (const auto& [slider, which] : sliders)
        connect(slider, &QSlider::valueChanged, this, [this, which = which](int value) {
            Raise([this, which, value] { form_.SetSliderValue(which, value); });
        });

    connect(picture1_, &ColourSample::doubleClicked, this,
            [this] { Raise([this] { form_.Picture1_DblClick(); }); });
    connect(lblLoc_, &ClickableLabel::clicked, this,
            [this] { Raise([this] { form_.lblLoc_Click(); }); });
    connect(lblColor_, &ClickableLabel::doubleClicked, this,
            [this] { Raise([this] { form_.lblColor_DblClick(); }); });
}

void MainWindow::SetTabOrder() {
    std::vector<QWidget*> order{command1_, command2_, command3_, command4_, txtArquivo_, list1_};
    order.insert(order.end(), opt_.begin(), opt_.end());
    order.insert(order.end(), {picture1_, blueScroll_, greenScroll_, redScroll_, cmdImp_, cmdExp_,
                               cmdSpecial_, cmdRecarrega_, cmdAmostra_, cmdExibir_});
    for (std::size_t k = 0; k + 1 < order.size(); ++k)
        setTabOrder(order[k], order[k + 1]);
}

void MainWindow::Render() {
    const bool wasRendering = rendering_;
    rendering_ = true;
    const FormModel& m = form_.model();

    if (const QString caption = Q(m.caption); windowTitle() != caption)
        setWindowTitle(caption);
    RenderButton(command1_, m.Command1);
    RenderButton(command2_, m.Command2);
    RenderButton(command3_, m.Command3);
    RenderButton(command4_, m.Command4);
    RenderButton(cmdSpecial_, m.cmdSpecial);
    // What the user types stays until the program sets a path of its own, the same path too.
    if (m.txtArquivoRevision != shownPathRevision_ || m.txtArquivo.caption != shownPath_) {
        shownPathRevision_ = m.txtArquivoRevision;
        shownPath_ = m.txtArquivo.caption;
        txtArquivo_->setText(Q(shownPath_));
        txtArquivo_->setCursorPosition(0);
    }
    RenderState(txtArquivo_, m.txtArquivo);
    RenderLabel(lblGame_, m.lblGame);
    RenderLabel(label2_, m.Label2);
    RenderButton(cmdRecarrega_, m.cmdRecarrega);
    RenderLabel(lblLoc_, m.lblLoc);
    RenderLabel(lblLocOpt_, m.lblLocOpt);
    RenderList(list1_, list1Rows_, m.List1);
    for (std::size_t i = 0; i < opt_.size(); ++i) {
        const int index = static_cast<int>(i);
        opt_[i]->SetColour(ToQColor(ScreenColour(m.Opt[i].backColor, m.gbaScreen)));
        opt_[i]->setChecked(m.Opt[i].selected);
        opt_[i]->setVisible(m.Opt[i].visible);
        opt_[i]->SetMarked(index == m.rampFrom || index == m.rampTo);
        if (const QString tip = Q(form_.SwatchToolTip(index)); opt_[i]->toolTip() != tip)
            opt_[i]->setToolTip(tip);
    }
    RenderButton(cmdImp_, m.cmdImp);
    RenderButton(cmdExp_, m.cmdExp);
    RenderButton(cmdAmostra_, m.cmdAmostra);
    RenderButton(cmdExibir_, m.cmdExibir);
    RenderSlider(blueScroll_, m.BlueScroll);
    RenderSlider(greenScroll_, m.GreenScroll);
    RenderSlider(redScroll_, m.RedScroll);
    picture1_->SetColour(ToQColor(ScreenColour(m.Picture1, m.gbaScreen)));
    picture1_->SetGbaScreen(m.gbaScreen);
    RenderLabel(lblColor_, m.lblColor);
    RenderLabel(lblBlue_, m.lblBlue);
    RenderLabel(lblGreen_, m.lblGreen);
    RenderLabel(lblRed_, m.lblRed);
    RenderLabel(lblLocaliza_, m.lblLocaliza);
    RenderList(lstColor_, lstColorRows_, m.lstColor);
    RenderList(lstCount_, lstCountRows_, m.lstCount);
    RenderEditMenu();

    rendering_ = wasRendering;
}

void MainWindow::RenderEditMenu() {
    // A command that does not apply is greyed in the menu and its shortcut does nothing.
    const EditMenu state = form_.EditMenuState();
    mnuUndo_->setEnabled(state.undo);
    mnuRedo_->setEnabled(state.redo);
    mnuCopyColour_->setEnabled(state.copyColour);
    mnuCopyPalette_->setEnabled(state.copyPalette);
    mnuPaste_->setEnabled(state.paste);
    mnuTypeColour_->setEnabled(state.typeColour);
    mnuRamp_->setEnabled(state.ramp);
    mnuGbaScreen_->setChecked(form_.model().gbaScreen);
}

void MainWindow::Raise(const std::function<void()>& handler) {
    if (rendering_ || form_.model().closed)
        return;
    handler();
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
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    const std::string path = urls.first().toLocalFile().toStdString();
    // A file dropped on the swatches is a palette to import, where Importar is offered.
    if (target >= 0)
        return form_.model().cmdImp.enabled ? Drop{Drop::PaletteFile, target, -1, path} : Drop{};
    return Drop{Drop::OpenFile, -1, -1, path};
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
            Raise([this, &drop, copy] {
                switch (drop.kind) {
                case Drop::Swatch:
                    form_.Opt_DragDrop(drop.target, drop.source, copy);
                    break;
                case Drop::PaletteFile:
                    form_.Opt_OLEDragDrop(drop.path);
                    break;
                case Drop::OpenFile:
                    form_.OpenFile(drop.path);
                    break;
                case Drop::None:
                    break;
                }
            });
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
        if (command4_->isEnabled() && command4_->isVisibleTo(this))
            Raise([this] { form_.Command4_Click(); });
        return true;
    }
    const int code = VirtualKeyCode(key->key(), key->modifiers());
    const int shift = ShiftState(key->modifiers());
    Raise([this, code, shift] { form_.Form_KeyDown(code, shift); });
    return false; // the focused control gets the key too
}

} // namespace zandrel
