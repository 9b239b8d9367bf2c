// Zandrel: a palette editor for Game Boy Advance ROM images.
#include <QApplication>
#include <QStyleHints>
#include <QTimer>

#include "ApplicationStart.h"
#include "DesktopIdentity.h"
#include "EnvironmentHooks.h"
#include "MainWindow.h"
#include "app/AppState.h"
#include "app/MainForm.h"
#include "app/StartArguments.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    zandrel::PrepareApplication(application);
    zandrel::ApplyDesktopIdentity(QCoreApplication::applicationDirPath());
    // Context menus show each command's shortcut, whatever the desktop's habit is.
    QGuiApplication::styleHints()->setShowShortcutsInContextMenus(true);
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
    // QApplication has taken its own options out of argv: what is left is the program's.
    const zandrel::StartValues start{programFolder, zandrel::FoldersFromEnvironment(programFolder),
                                     zandrel::ParseStartArguments({argv + 1, argv + argc})};

    zandrel::HookedServices services;
    zandrel::AppState state;
    zandrel::MainForm form(state, services);
    zandrel::MainWindow window(form);
    services.SetOwner(&window);
    services.SetBeforeModal([&window] { window.Render(); });

    form.Form_Load(start);
    window.Render();
    window.show();
    if (const std::string& path = start.arguments.fileToOpen; !path.empty()) {
        QTimer::singleShot(0, &window, [&] {
            form.OpenFile(path);
            window.Render();
        });
    }
    services.ScheduleHooks(form, window);
    return application.exec();
}
