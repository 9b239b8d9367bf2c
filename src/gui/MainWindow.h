// The main window (frmMain): draws the form model and hands every event to its handler.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include <QList>
#include <QPoint>
#include <QWidget>

#include "app/MainForm.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QKeySequence;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMimeData;
class QPushButton;
class QSlider;

namespace zandrel {

class ClickableLabel;
class ClickableListView;
class ColourSample;
class PaletteListModel;
class SwatchButton;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(MainForm& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the model as it stands; raises no events.
    void Render();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // What dropping `data` at `position` does: a swatch dropped on another, a file dropped on
    // the swatches, a file dropped elsewhere, or nothing.
    struct Drop {
        enum Kind { None, Swatch, PaletteFile, OpenFile } kind = None;
        int target = -1;
        int source = -1;
        std::string path;
    };
    Drop DropAt(const QMimeData* data, QPoint position) const;
    // The shown swatch under `position`, or -1.
    int SwatchAt(QPoint position) const;

    void CreateControls();
    // The swatches' context menu; its commands' shortcuts work anywhere in the window.
    void CreateEditMenu();
    QAction* AddEditCommand(const char* text, const QList<QKeySequence>& keys,
                            void (MainForm::*handler)());
    void RenderEditMenu();
    void ConnectEvents();
    void SetTabOrder();
    // Runs one handler, then shows its outcome; closes the window when it agreed to close.
    void Raise(const std::function<void()>& handler);
    // True for the first delivery of a key to this window's widgets.
    bool SeesKeyFirst(QObject* watched) const;

    MainForm& form_;
    bool rendering_ = false;
    std::string shownPath_;
    std::uint64_t shownPathRevision_ = 0;

    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* cmdSpecial_ = nullptr;
    QLineEdit* txtArquivo_ = nullptr;
    QLabel* lblGame_ = nullptr;
    QLabel* label2_ = nullptr;
    QPushButton* cmdRecarrega_ = nullptr;
    ClickableLabel* lblLoc_ = nullptr;
    QLabel* lblLocOpt_ = nullptr;
    ClickableListView* list1_ = nullptr;
    std::array<SwatchButton*, kPaletteColours> opt_{};
    QPushButton* cmdImp_ = nullptr;
    QPushButton* cmdExp_ = nullptr;
    QPushButton* cmdAmostra_ = nullptr;
    QPushButton* cmdExibir_ = nullptr;
    QSlider* blueScroll_ = nullptr;
    QSlider* greenScroll_ = nullptr;
    QSlider* redScroll_ = nullptr;
    ColourSample* picture1_ = nullptr;
    ClickableLabel* lblColor_ = nullptr;
    QLabel* lblBlue_ = nullptr;
    QLabel* lblGreen_ = nullptr;
    QLabel* lblRed_ = nullptr;
    QLabel* lblLocaliza_ = nullptr;
    QListView* lstColor_ = nullptr;
    QListView* lstCount_ = nullptr;
    PaletteListModel* list1Rows_ = nullptr;
    PaletteListModel* lstColorRows_ = nullptr;
    PaletteListModel* lstCountRows_ = nullptr;

    QMenu* editMenu_ = nullptr;
    QAction* mnuUndo_ = nullptr;
    QAction* mnuRedo_ = nullptr;
    QAction* mnuCopyColour_ = nullptr;
    QAction* mnuCopyPalette_ = nullptr;
    QAction* mnuPaste_ = nullptr;
    QAction* mnuTypeColour_ = nullptr;
    QAction* mnuRamp_ = nullptr;
    QAction* mnuGbaScreen_ = nullptr;
};

} // namespace zandrel
