// The yardstick for the program's start and memory: a Qt Widgets program that shows one empty
// window of the main window's size and quits as soon as it is shown. With the argument "text"
// the window holds one line of text, which makes Qt load its font database as any window
// with text must. It prepares its application as the program does (PrepareApplication), so
// what the program loads for every window is loaded here too.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "ApplicationStart.h"
#include "MainWindowTables.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    zandrel::PrepareApplication(application);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zandrel"));
    window.setFixedSize(zandrel::Px(zandrel::layout::kClientWidth),
                        zandrel::Px(zandrel::layout::kClientHeight));
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("text"))
        (new QLabel(QStringLiteral("Zandrel"), &window))->move(16, 16);
    window.show();
    QTimer::singleShot(0, &window, [] { QCoreApplication::exit(0); });
    return application.exec();
}
