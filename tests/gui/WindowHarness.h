// The real main window over the scripted services, with a program folder of its own.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <QLabel>
#include <QListView>
#include <QTest>

#include "Controls.h"
#include "FakeServices.h"
#include "MainWindow.h"
#include "TempDir.h"
#include "app/AppState.h"
#include "app/MainForm.h"
#include "colour/Codec.h"

namespace zandrel::testing {

struct WindowHarness {
    explicit WindowHarness(const std::vector<std::string>& arguments = {}) {
        std::filesystem::copy_file(std::filesystem::path(ZANDREL_DATA_DIR) / "MEMORYDUMP.ZNDL",
                                   folder.path() / "MEMORYDUMP.ZNDL");
        form = std::make_unique<MainForm>(state, services);
        window = std::make_unique<MainWindow>(*form);
        form->Form_Load(StartIn(folder.path().string(), arguments));
        window->Render();
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) // keys and focus need it
            qFatal("the main window did not become active");
    }

    template <class Widget> Widget* Find(const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr)
            qFatal("no control named %s", name);
        return widget;
    }
    FormModel& model() { return form->model(); }

    TempDir folder;
    FakeServices services;
    AppState state;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<MainWindow> window;
};

// Sends a key to the control that has the focus, as the keyboard does.
inline void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, key,
                    modifiers);
}

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

inline SwatchButton* SwatchAt(WindowHarness& h, int i) {
    return h.Find<SwatchButton>(QStringLiteral("Opt%1").arg(i).toLatin1().constData());
}

// Opens a 1 KiB pattern dump through the ABRIR ROM button; returns its path.
inline std::string OpenPatternDump(WindowHarness& h) {
    const std::string dump = h.folder.Write("palettes.dmp", PatternBytes(1024));
    h.services.openAnswers.push_back(dump);
    Click(h.Find<QWidget>("Command1"));
    return dump;
}

inline void ClickRow(WindowHarness& h, int row) {
    auto* list = h.Find<QListView>("List1");
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

inline QColor WordColour(ColorWord word) {
    const Rgb rgb = SplitColor(WordToColor(word));
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Word i of the pattern dump's palette at `offset`, as a swatch shows it.
inline QColor PatternColour(std::size_t offset, int i) {
    return WordColour(
        StoredWord(PatternBytes(offset + 32), offset + 2 * static_cast<std::size_t>(i)));
}

} // namespace zandrel::testing
