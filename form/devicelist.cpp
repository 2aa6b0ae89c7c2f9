// The table of found converters and the choice of one.
#include "mainwindow.h"

#include "mainwindowform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

void MainWindow::addDeviceRow(const QString &deviceIp, const QString &deviceName,
                              const QString &mac, const QString &version)
{
    QTableWidget *table = form->tableWidget_DeviceList;
    // A plain int: a 16-bit count would wrap past 65,535 rows and pair rows
    // with the wrong records.
    const int row = table->rowCount();
    table->insertRow(row);
    const QString texts[4] = {deviceIp, deviceName, mac, version};
    // Aligned before they go in: one change per cell instead of two.
    for (int column = 0; column < 4; ++column) {
        auto *item = new QTableWidgetItem(texts[column]);
        item->setTextAlignment(Qt::AlignCenter);
        table->setItem(row, column, item);
    }
}

// Every device row goes; the title row stays.
void MainWindow::clearDeviceRows()
{
    QTableWidget *table = form->tableWidget_DeviceList;
    if (table->rowCount() > 1)
        table->setRowCount(1);
}

void MainWindow::on_tableWidget_DeviceList_clicked(const QModelIndex &index)
{
    const int row = index.row();
    if (row < 1 || row > devices.size())
        return;
    currentDevice = devices.at(row - 1);
    recordToForm(currentDevice);
    form->groupBox_Config->setEnabled(true);
    form->pushButton_SaveConfigure->setEnabled(true);
    form->pushButton_FactoryReset->setEnabled(true);
    form->pushButton_DeviceRestart->setEnabled(true);
}

// The order matters: the form rules fire as the values are set, and the
// record's own random flag is set after the local port and the work mode.
void MainWindow::recordToForm(const DeviceRecord &record)
{
    form->lineEdit_Baud->setText(record.baud);
    form->comboBox_DataBit->setCurrentIndex(record.dataBit);
    form->lineEdit_Gaw->setText(record.gaw);
    form->lineEdit_Lip->setText(record.lip);
    form->lineEdit_Lport->setText(record.lport);
    form->comboBox_Mode->setCurrentIndex(record.mode);
    form->comboBox_Parity->setCurrentIndex(record.parity);
    form->checkBox_Random->setChecked(record.random);
    form->lineEdit_Sip->setText(record.sip);
    form->lineEdit_Sport->setText(record.sport);
    form->comboBox_StopBit->setCurrentIndex(record.stopBit);
    form->lineEdit_Subnet->setText(record.subnet);
    form->comboBox_IpType->setCurrentIndex(record.ipType);
}
