#include "mainwindow.h"

#include "qtcompat.h"

#include <QApplication>

// On Windows, Qt's WinMain splits the command line and calls this main.
int main(int argc, char *argv[])
{
    // At 125, 150 or 200 % display scaling the fixed-pixel form is drawn
    // scaled as a whole instead of cut; at 100 % the factor is 1 and nothing
    // changes. Windows gives the operator's chosen scaling, which is used
    // exactly; elsewhere the factor comes from the screen's physical density
    // (say 1.04 for an ordinary monitor), so it is rounded as Qt does.
    QtCompat::enableHighDpiScaling();
#ifdef Q_OS_WIN
    QApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
