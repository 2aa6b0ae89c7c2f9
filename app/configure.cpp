// Writing the form's settings to the chosen converter.
#include "mainwindow.h"

#include "configureframe.h"
#include "devicelink.h"
#include "mainwindowform.h"

#include <QGroupBox>
#include <QLineEdit>

void MainWindow::on_pushButton_SaveConfigure_clicked()
{
    formToRecord(currentDevice);
    sendConfigure(currentDevice);
}

void MainWindow::sendConfigure(DeviceRecord record)
{
    if (!ConfigureFrame::hasTarget(record))
        return;

    // Half-typed text that the validators let stand would write a wrong
    // address, port or baud rate into the converter and could cut it off the
    // network: send nothing and show the operator where the problem is. A
    // field that the form rules have disabled is not used by the converter in
    // that mode and the operator cannot reach it, so it goes as it stands.
    for (const ConfigureFrame::Field field : ConfigureFrame::unsendableFields(record)) {
        QLineEdit *edit = fieldWidget(field);
        if (edit->isEnabledTo(form->groupBox_Config)) {
            edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    // Out of the adapter the converter answered on; a converter listed
    // without one (or never listed) is written through every adapter.
    udpSocket->sendFrame(ConfigureFrame::build(record, ConfigureFrame::clockSeed()),
                         deviceAdapters.value(record.mac, 0));
}

QLineEdit *MainWindow::fieldWidget(ConfigureFrame::Field field) const
{
    switch (field) {
    case ConfigureFrame::Field::Lip:
        return form->lineEdit_Lip;
    case ConfigureFrame::Field::Subnet:
        return form->lineEdit_Subnet;
    case ConfigureFrame::Field::Gaw:
        return form->lineEdit_Gaw;
    case ConfigureFrame::Field::Lport:
        return form->lineEdit_Lport;
    case ConfigureFrame::Field::Sip:
        return form->lineEdit_Sip;
    case ConfigureFrame::Field::Sport:
        return form->lineEdit_Sport;
    case ConfigureFrame::Field::Baud:
        return form->lineEdit_Baud;
    case ConfigureFrame::Field::None:
        break;
    }
    return nullptr;
}
