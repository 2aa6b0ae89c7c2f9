// Switching the interface between English and Chinese at run time.
#include "mainwindow.h"

#include "mainwindowform.h"
#include "tabletitles.h"
#include "textfit.h"

#include <QCoreApplication>
#include <QTableWidget>
#include <QTranslator>

namespace {

// True when the Chinese catalogue was the last one asked for.
bool isChinese = false;

} // namespace

void MainWindow::on_pushButton_Yuyan_clicked()
{
    isChinese = !isChinese;
    // Installed only while the texts are re-set; gone again on return.
    QTranslator translator;

    // Refilling the combo boxes resets them, so the form rides in the record.
    formToRecord(currentDevice);
    const QString catalogue =
        isChinese ? QStringLiteral(":/qm/tr_zh.qm") : QStringLiteral(":/qm/tr_en.qm");
    if (translator.load(catalogue)) {
        QCoreApplication::installTranslator(&translator);
        form->retranslateUi(this);
        const char *const *titles = isChinese ? CHINESE_TITLES : ENGLISH_TITLES;
        for (int column = 0; column < 4; ++column)
            form->tableWidget_DeviceList->item(0, column)->setText(QObject::tr(titles[column]));
        TextFit::fitWhenShown(this);
    }
    recordToForm(currentDevice);
}

void MainWindow::showEvent(QShowEvent *event)
{
    TextFit::fitIfPending(this);
    QMainWindow::showEvent(event);
}
