// Searching for converters and taking in their replies.
#include "mainwindow.h"

#include "deviceframe.h"
#include "devicelink.h"
#include "mainwindowform.h"
#include "replyintake.h"

#include <QDebug>
#include <QGroupBox>
#include <QPushButton>

void MainWindow::on_pushButton_SearchDevice_clicked()
{
    clearDeviceRows();
    devices.clear();
    deviceAdapters.clear();
    reportedSettings.clear();
    currentDevice.mac = QString();
    form->groupBox_Config->setEnabled(false);
    form->pushButton_SaveConfigure->setEnabled(false);
    form->pushButton_FactoryReset->setEnabled(false);
    form->pushButton_DeviceRestart->setEnabled(false);

    // Once out of every adapter: converters often sit on a wired adapter
    // while the default route goes out of Wi-Fi.
    udpSocket->sendProbe();
}

// Every waiting datagram on one notification, in arrival order and in bounded
// batches (the device link's intake): one pass of the event loop (and one
// repaint) per datagram would make a crowd of replies overflow the socket's
// buffer.
void MainWindow::SocketRecvData()
{
    bool listed = false;
    udpSocket->takeDatagrams([&](const Arrival &arrival) { listed |= handleDatagram(arrival); });
    // The form shows the newest listed converter. Nothing is drawn and no
    // input is handled inside this loop, and the form rules leave the same
    // values and enabled states whichever records passed through before, so
    // loading the last one shows what loading each in turn would. Only the
    // keyboard focus can differ: an earlier record that disabled the focused
    // field would have moved the focus on; here it stays unless the newest
    // record disables that field.
    if (listed)
        recordToForm(devices.constLast());
}

// Logs and examines one datagram; true when it listed a new converter.
bool MainWindow::handleDatagram(const Arrival &arrival)
{
    const QString sender = DeviceLink::senderText(arrival.sender);
    qDebug() << ReplyIntake::datagramLogLine(sender, arrival.port, arrival.datagram);

    const ReplyIntake::Result result = ReplyIntake::examine(arrival.datagram, arrival.port);
    if (ReplyIntake::decrypted(result.verdict))
        qDebug() << result.plaintext.toHex().toUpper();
    if (result.verdict != ReplyIntake::Verdict::Accepted)
        return false;
    qDebug() << result.plaintext.toHex().toUpper();

    const DeviceRecord record =
        DeviceFrame::decodeReply(result.plaintext, ReplyIntake::deviceIpFromSender(sender));
    if (!listDevice(record, arrival.interfaceIndex))
        return false;
    reportedSettings.insert(record.mac, result.plaintext);
    return true;
}

void MainWindow::addDeviceFromFrame(QByteArray frame, QString deviceIp)
{
    const DeviceRecord record = DeviceFrame::decodeReply(frame, deviceIp);
    if (listDevice(record)) {
        reportedSettings.insert(record.mac, frame);
        recordToForm(record);
    }
}

// A new row and record unless the MAC is listed already; true when added.
// The adapter of a converter's first answer is the one it is written through.
bool MainWindow::listDevice(const DeviceRecord &record, int interfaceIndex)
{
    // The same answer as looking through devices, without the walk.
    if (deviceAdapters.contains(record.mac))
        return false;
    addDeviceRow(record.deviceIp, record.deviceName, record.mac, record.version);
    devices.append(record);
    deviceAdapters.insert(record.mac, interfaceIndex);
    return true;
}
