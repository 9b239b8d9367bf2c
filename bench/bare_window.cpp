// The yardstick for the program's start and memory: a Qt Widgets program that shows one empty
// window of the main window's size and quits as soon as it is shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "Twips.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zandrel"));
    window.setFixedSize(zandrel::Px(zandrel::layout::kClientWidth),
                        zandrel::Px(zandrel::layout::kClientHeight));
    window.show();
    QTimer::singleShot(0, &window, [] { QCoreApplication::exit(0); });
    return application.exec();
}
