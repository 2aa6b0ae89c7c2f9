#include "simulator.h"

#include "protocolconstants.h"
#include "statefile.h"

#include <QNetworkDatagram>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

namespace {

constexpr quint16 FOREIGN_PORT = DEVICE_PORT + 1;
const auto SHARED = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

} // namespace

Simulator::Simulator(const QList<SimulatedConverter> &converters, const QString &statePath,
                     int delayMs, int jitterMs, QObject *parent)
    : QObject(parent), list(converters), statePath(statePath), delayMs(delayMs), jitterMs(jitterMs),
      random(QRandomGenerator::securelySeeded())
{
}

bool Simulator::start(QString *error)
{
    listener = new QUdpSocket(this);
    if (!listener->bind(QHostAddress::AnyIPv4, DEVICE_PORT, SHARED)) {
        *error = QStringLiteral("cannot listen on port %1: %2")
                     .arg(DEVICE_PORT)
                     .arg(listener->errorString());
        return false;
    }
    // Receive buffer for a crowd of configure frames and probes.
    listener->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 1 << 20);
    connect(listener, &QUdpSocket::readyRead, this, &Simulator::readDatagrams);

    for (const SimulatedConverter &c : qAsConst(list)) {
        const quint16 port = c.faults.contains(Fault::ForeignPort) ? FOREIGN_PORT : DEVICE_PORT;
        if (!senderFor(c.replyFrom, port, error))
            return false;
    }
    return true;
}

QUdpSocket *Simulator::senderFor(const QHostAddress &address, quint16 port, QString *error)
{
    const QString key = QStringLiteral("%1:%2").arg(address.toString()).arg(port);
    QUdpSocket *socket = senders.value(key);
    if (socket)
        return socket;
    socket = new QUdpSocket(this);
    if (!socket->bind(address, port, SHARED)) {
        *error = QStringLiteral("cannot send from %1: %2").arg(key, socket->errorString());
        delete socket;
        return nullptr;
    }
    senders.insert(key, socket);
    return socket;
}

void Simulator::readDatagrams()
{
    while (listener->hasPendingDatagrams()) {
        const QByteArray datagram = listener->receiveDatagram().data();
        if (datagram == QByteArray::fromRawData(SEARCH_PROBE, SEARCH_PROBE_SIZE)) {
            answerProbe();
            continue;
        }
        const QByteArray plain = configurePlaintext(datagram);
        if (plain.isEmpty())
            continue;
        for (int i = 0; i < list.size(); ++i) {
            if (!list[i].applyConfigure(plain))
                continue;
            QString error;
            if (!StateFile::save(statePath, list, &error))
                QTextStream(stderr) << "converter-sim: " << error << '\n';
            emit configured(i);
        }
    }
}

void Simulator::answerProbe()
{
    outstanding += list.size();
    for (int i = 0; i < list.size(); ++i) {
        const int wait = delayMs + (jitterMs > 0 ? int(random.bounded(jitterMs + 1)) : 0);
        QTimer::singleShot(wait, this, [this, i] { sendReply(i); });
    }
}

void Simulator::sendReply(int index)
{
    const SimulatedConverter &c = list.at(index);
    const quint16 port = c.faults.contains(Fault::ForeignPort) ? FOREIGN_PORT : DEVICE_PORT;
    QString error;
    QUdpSocket *socket = senderFor(c.replyFrom, port, &error);
    if (socket) {
        const QByteArray datagram = c.replyDatagram();
        const int copies = c.faults.contains(Fault::AnswerTwice) ? 2 : 1;
        for (int i = 0; i < copies; ++i) {
            if (socket->writeDatagram(datagram, QHostAddress::Broadcast, DEVICE_PORT) >= 0)
                ++sentForProbe;
        }
    }
    if (--outstanding == 0) {
        emit answered(sentForProbe);
        sentForProbe = 0;
    }
}
