// Searching for converters and taking in their replies.
#include "mainwindow.h"

#include "deviceframe.h"
#include "mainwindowform.h"
#include "protocolconstants.h"
#include "replyintake.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHostAddress>
#include <QPushButton>
#include <QUdpSocket>

void MainWindow::on_pushButton_SearchDevice_clicked()
{
    clearDeviceRows();
    devices.clear();
    listedMacs.clear();
    currentDevice.mac = QString();
    form->groupBox_Config->setEnabled(false);
    form->pushButton_SaveConfigure->setEnabled(false);
    form->pushButton_FactoryReset->setEnabled(false);
    form->pushButton_DeviceRestart->setEnabled(false);

    udpSocket->writeDatagram(QByteArray(SEARCH_PROBE, SEARCH_PROBE_SIZE),
                             QHostAddress(QString::fromLatin1(BROADCAST_ADDRESS)), DEVICE_PORT);
}

namespace {

// How long one notification keeps taking in new datagrams. A crowd answering
// at once is read as it arrives, so the kernel's buffer does not overflow;
// under a flood the window still returns to its event loop this often.
constexpr int INTAKE_BUDGET_MS = 50;

// At most this many datagrams wait in memory at once, so that a sender faster
// than the window cannot keep one notification reading for ever.
constexpr int QUEUE_LIMIT = 256;

struct Arrival
{
    QByteArray datagram;
    QString sender;
    quint16 port = 0;
};

// Moves waiting datagrams from the socket into the queue, up to its limit.
// The pending size is -1 when none is waiting, which saves asking twice per
// datagram.
void drain(QUdpSocket *socket, QList<Arrival> &queue)
{
    while (queue.size() < QUEUE_LIMIT) {
        const qint64 size = socket->pendingDatagramSize();
        if (size < 0)
            return;
        Arrival arrival;
        arrival.datagram.resize(int(size));
        QHostAddress sender;
        const qint64 read =
            socket->readDatagram(arrival.datagram.data(), size, &sender, &arrival.port);
        if (read < 0)
            return;
        arrival.datagram.resize(int(read));
        arrival.sender = sender.toString();
        queue.append(arrival);
    }
}

} // namespace

// Every waiting datagram on one notification, in arrival order: one pass of
// the event loop (and one repaint) per datagram would make a crowd of replies
// overflow the socket's buffer.
void MainWindow::SocketRecvData()
{
    QList<Arrival> queue;
    drain(udpSocket, queue);
    QElapsedTimer budget;
    budget.start();
    bool listed = false;
    while (!queue.isEmpty()) {
        const Arrival arrival = queue.takeFirst();
        listed |= handleDatagram(arrival.datagram, arrival.sender, arrival.port);
        if (budget.elapsed() < INTAKE_BUDGET_MS)
            drain(udpSocket, queue);
    }
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
bool MainWindow::handleDatagram(const QByteArray &datagram, const QString &sender, quint16 port)
{
    qDebug() << ReplyIntake::datagramLogLine(sender, port, datagram);

    const ReplyIntake::Result result = ReplyIntake::examine(datagram, port);
    if (ReplyIntake::decrypted(result.verdict))
        qDebug() << result.plaintext.toHex().toUpper();
    if (result.verdict != ReplyIntake::Verdict::Accepted)
        return false;
    qDebug() << result.plaintext.toHex().toUpper();

    return listDevice(
        DeviceFrame::decodeReply(result.plaintext, ReplyIntake::deviceIpFromSender(sender)));
}

void MainWindow::addDeviceFromFrame(QByteArray frame, QString deviceIp)
{
    const DeviceRecord record = DeviceFrame::decodeReply(frame, deviceIp);
    if (listDevice(record))
        recordToForm(record);
}

// A new row and record unless the MAC is listed already; true when added.
bool MainWindow::listDevice(const DeviceRecord &record)
{
    // The same answer as looking through devices, without the walk.
    if (listedMacs.contains(record.mac))
        return false;
    addDeviceRow(record.deviceIp, record.deviceName, record.mac, record.version);
    devices.append(record);
    listedMacs.insert(record.mac);
    return true;
}
