// The rules that keep the parameter form consistent, and its defaults.
#include "mainwindow.h"

#include "factorydefaults.h"
#include "mainwindowform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

enum IpType { StaticIp = 0, Dhcp = 1 };
enum Mode { Udp = 0, TcpClient = 1, UdpServer = 2, TcpServer = 3 };

} // namespace

void MainWindow::on_comboBox_IpType_currentIndexChanged(int index)
{
    if (index != StaticIp && index != Dhcp)
        return; // -1 while the combo box is being refilled
    const bool editable = index == StaticIp;
    form->lineEdit_Gaw->setEnabled(editable);
    form->lineEdit_Lip->setEnabled(editable);
    form->lineEdit_Subnet->setEnabled(editable);
}

void MainWindow::on_comboBox_Mode_currentIndexChanged(int index)
{
    switch (index) {
    case TcpClient:
        form->lineEdit_Sip->setEnabled(true);
        form->lineEdit_Sport->setEnabled(true);
        form->checkBox_Random->setEnabled(true);
        break;
    case Udp:
    case UdpServer:
    case TcpServer: {
        // Only a TCP client can pick a random local port; servers have no
        // remote side to name.
        const bool remote = index == Udp;
        form->lineEdit_Sip->setEnabled(remote);
        form->lineEdit_Sport->setEnabled(remote);
        form->checkBox_Random->setEnabled(false);
        form->checkBox_Random->setChecked(false);
        break;
    }
    default:
        break;
    }
}

void MainWindow::on_checkBox_Random_clicked()
{
    if (form->checkBox_Random->isChecked())
        form->lineEdit_Lport->setText(QStringLiteral("0"));
}

// A positive local port and the random option exclude each other.
void MainWindow::on_lineEdit_Lport_textChanged(const QString &arg1)
{
    if (arg1.toInt(nullptr, 10) > 0)
        form->checkBox_Random->setChecked(false);
}

// Fills the form only; nothing reaches the converter until "Configure".
void MainWindow::on_pushButton_FactoryReset_clicked()
{
    const DeviceRecord defaults = FactoryDefaults::applied(DeviceRecord());
    form->comboBox_Mode->setCurrentIndex(defaults.mode);
    form->comboBox_IpType->setCurrentIndex(defaults.ipType);
    form->lineEdit_Gaw->setText(defaults.gaw);
    form->lineEdit_Subnet->setText(defaults.subnet);
    form->lineEdit_Lip->setText(defaults.lip);
    form->lineEdit_Lport->setText(defaults.lport);
    form->checkBox_Random->setChecked(defaults.random);
    form->lineEdit_Sip->setText(defaults.sip);
    form->lineEdit_Sport->setText(defaults.sport);
    form->lineEdit_Baud->setText(defaults.baud);
    form->comboBox_DataBit->setCurrentIndex(defaults.dataBit);
    form->comboBox_Parity->setCurrentIndex(defaults.parity);
    form->comboBox_StopBit->setCurrentIndex(defaults.stopBit);
    form->lineEdit_Gaw->setEnabled(true);
    form->lineEdit_Lip->setEnabled(true);
    form->lineEdit_Subnet->setEnabled(true);
    form->lineEdit_Sip->setEnabled(true);
    form->lineEdit_Sport->setEnabled(true);
}

// Takes the texts as they stand, enabled or not; the identity fields (MAC,
// name, version, address) are left as the converter reported them.
void MainWindow::formToRecord(DeviceRecord &record)
{
    record.baud = form->lineEdit_Baud->text();
    record.dataBit = form->comboBox_DataBit->currentIndex();
    record.gaw = form->lineEdit_Gaw->text();
    record.lip = form->lineEdit_Lip->text();
    record.lport = form->lineEdit_Lport->text();
    record.mode = form->comboBox_Mode->currentIndex();
    record.parity = form->comboBox_Parity->currentIndex();
    record.random = form->checkBox_Random->isChecked();
    record.sip = form->lineEdit_Sip->text();
    record.sport = form->lineEdit_Sport->text();
    record.stopBit = form->comboBox_StopBit->currentIndex();
    record.subnet = form->lineEdit_Subnet->text();
    record.ipType = form->comboBox_IpType->currentIndex();
}
