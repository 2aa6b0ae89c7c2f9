#include "mainwindow.h"

#include <QApplication>

// On Windows, Qt's WinMain splits the command line and calls this main.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
