// The main window (frmMain): draws the form model and hands every event to its handler.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <QPoint>
#include <QWidget>

#include "MainWindowTables.h"
#include "app/MainForm.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMimeData;
class QPushButton;
class QSlider;

namespace zandrel {

class ColourSample;
class GraphicsWindow;
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
    // A control made from a row of the tables.
    template <class Row, class Widget> struct Placed {
        const Row* row;
        Widget* widget;
    };
    struct PlacedList {
        const ListRow* row;
        QListView* view;
        PaletteListModel* rows;
    };

    // What dropping `data` at `position` does: a swatch dropped on another, a file dropped on
    // the swatches, a file dropped elsewhere, a file whose path cannot be used (`path` then
    // holds it as shown), or nothing.
    struct Drop {
        enum Kind { None, Swatch, PaletteFile, OpenFile, UnusablePath } kind = None;
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
    void ConnectEvents();
    void SetTabOrder();
    void RenderPath(const Control& path, std::uint64_t revision);
    void RenderEditMenu();
    // The window "Gráficos", made the first time it opens, shown while the model has it open.
    void RenderGraphics();
    // Runs one handler of the form, then shows its outcome; closes the window when it agreed
    // to close.
    template <class... Parameters, class... Arguments>
    void Raise(void (MainForm::*handler)(Parameters...), Arguments&&... arguments);
    // True for the first delivery of a key to this window's widgets.
    bool SeesKeyFirst(QObject* watched) const;
    template <class Widget> Widget* Child(const char* name) const {
        return findChild<Widget*>(QString::fromLatin1(name));
    }

    MainForm& form_;
    bool rendering_ = false;
    // The list's own selection change is running: it may select its row once more before it
    // is done (a key does), so the model's row is put back only afterwards, and asked once.
    bool listSelecting_ = false;
    std::string shownPath_;
    std::uint64_t shownPathRevision_ = 0;

    std::vector<Placed<ButtonRow, QPushButton>> buttons_;
    std::vector<Placed<LabelRow, QLabel>> labels_;
    std::vector<Placed<SliderRow, QSlider>> sliders_;
    std::vector<PlacedList> lists_;
    std::vector<Placed<MenuRow, QAction>> editCommands_;
    QLineEdit* txtArquivo_ = nullptr;
    std::array<SwatchButton*, kPaletteColours> opt_{};
    ColourSample* picture1_ = nullptr;
    QMenu* editMenu_ = nullptr;
    GraphicsWindow* graphics_ = nullptr;
};

} // namespace zandrel
