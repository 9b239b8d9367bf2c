// Zandrel: a palette editor for Game Boy Advance ROM images.
#include <QApplication>

#include "MainWindow.h"
#include "QtServices.h"
#include "app/AppState.h"
#include "app/MainForm.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    zandrel::QtServices services;
    zandrel::AppState state;
    zandrel::MainForm form(state, services);
    zandrel::MainWindow window(form);
    services.SetOwner(&window);
    services.SetBeforeModal([&window] { window.Render(); });

    form.Form_Load();
    window.Render();
    window.show();
    return application.exec();
}
