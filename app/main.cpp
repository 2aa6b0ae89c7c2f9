#include "mainwindow.h"

#include <QApplication>

// On Windows, Qt's WinMain splits the command line and calls this main.
int main(int argc, char *argv[])
{
    // At 125, 150 or 200 % display scaling the fixed-pixel form is drawn
    // scaled as a whole, by the exact factor, instead of cut; at 100 % the
    // factor is 1 and nothing changes.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
