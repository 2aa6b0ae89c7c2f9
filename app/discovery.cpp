// Searching for converters and taking in their replies.
#include "mainwindow.h"

#include "deviceframe.h"
#include "mainwindowform.h"
#include "protocolconstants.h"
#include "replyintake.h"

#include <QDebug>
#include <QGroupBox>
#include <QHostAddress>
#include <QPushButton>
#include <QUdpSocket>

void MainWindow::on_pushButton_SearchDevice_clicked()
{
    clearDeviceRows();
    devices.clear();
    currentDevice.mac = QString();
    form->groupBox_Config->setEnabled(false);
    form->pushButton_SaveConfigure->setEnabled(false);
    form->pushButton_FactoryReset->setEnabled(false);
    form->pushButton_DeviceRestart->setEnabled(false);

    udpSocket->writeDatagram(QByteArray(SEARCH_PROBE, SEARCH_PROBE_SIZE),
                             QHostAddress(QString::fromLatin1(BROADCAST_ADDRESS)), DEVICE_PORT);
}

// One datagram per notification; the socket notifies again for the next.
void MainWindow::SocketRecvData()
{
    const qint64 size = udpSocket->pendingDatagramSize();
    if (size < 0)
        return;
    QByteArray datagram(int(size), '\0');
    QHostAddress sender;
    quint16 senderPort = 0;
    const qint64 read = udpSocket->readDatagram(datagram.data(), size, &sender, &senderPort);
    if (read < 0)
        return;
    datagram.resize(int(read));

    const QString senderText = sender.toString();
    qDebug() << ReplyIntake::datagramLogLine(senderText, senderPort, datagram);

    const ReplyIntake::Result result = ReplyIntake::examine(datagram, senderPort);
    if (ReplyIntake::decrypted(result.verdict))
        qDebug() << result.plaintext.toHex().toUpper();
    if (result.verdict != ReplyIntake::Verdict::Accepted)
        return;
    qDebug() << result.plaintext.toHex().toUpper();

    addDeviceFromFrame(result.plaintext, ReplyIntake::deviceIpFromSender(senderText));
}

void MainWindow::addDeviceFromFrame(QByteArray frame, QString deviceIp)
{
    const DeviceRecord record = DeviceFrame::decodeReply(frame, deviceIp);
    for (const DeviceRecord &known : qAsConst(devices)) {
        if (known.mac == record.mac)
            return;
    }
    addDeviceRow(record.deviceIp, record.deviceName, record.mac, record.version);
    devices.append(record);
    recordToForm(record);
}
