// The reference for start-up figures: a bare Qt window of the same size.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(720, 380);
    window.show();
    return application.exec();
}
