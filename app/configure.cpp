// Writing the form's settings to the chosen converter.
#include "mainwindow.h"

#include "configureframe.h"
#include "devicelink.h"
#include "mainwindowform.h"

#include <QDebug>
#include <QGroupBox>
#include <QLineEdit>

#include <algorithm>

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
    const int adapter = deviceAdapters.value(record.mac, 0);
    const uint seed = ConfigureFrame::clockSeed();
    Journal::Write write{record.mac,
                         Adapters::displayName(adapter),
                         reportedSettings.value(record.mac),
                         ConfigureFrame::plaintext(record, seed),
                         QStringLiteral("sent"),
                         QString()};
    if (write.before.isEmpty()) { // a record that no reply brought: its listed values
        const auto listed =
            std::find_if(devices.cbegin(), devices.cend(),
                         [&](const DeviceRecord &d) { return d.mac == record.mac; });
        write.before = ConfigureFrame::plaintext(listed != devices.cend() ? *listed : record, seed);
    }
    // The window asks nothing and shows no messages: a journal that cannot
    // be written is noted in the debug log, and the operator's write goes.
    journal.newBatch();
    QString error;
    if (!journal.intents({write}, &error))
        qDebug().noquote() << error;
    if (!udpSocket->sendFrame(ConfigureFrame::build(record, seed), adapter))
        write.result = QStringLiteral("not-sent");
    if (!journal.outcomes({write}, &error))
        qDebug().noquote() << error;
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
