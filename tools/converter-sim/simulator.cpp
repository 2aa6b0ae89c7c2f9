#include "simulator.h"

#include "protocolconstants.h"
#include "statefile.h"

#include <QNetworkDatagram>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

namespace {

constexpr quint16 FOREIGN_PORT = DEVICE_PORT + 1;
const auto SHARED = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

// The state file is written at most this often.
constexpr int SAVE_INTERVAL_MS = 200;

} // namespace

Simulator::Simulator(const QList<SimulatedConverter> &converters, const QString &statePath,
                     int delayMs, int jitterMs, int restartMs, QObject *parent)
    : QObject(parent), list(converters), statePath(statePath), delayMs(delayMs), jitterMs(jitterMs),
      restartMs(restartMs), random(QRandomGenerator::securelySeeded())
{
    for (int i = 0; i < list.size(); ++i)
        byMac.insert(list.at(i).settings.mac, i);
    clock.start();
    saveTimer = new QTimer(this);
    saveTimer->setSingleShot(true);
    saveTimer->setInterval(SAVE_INTERVAL_MS);
    connect(saveTimer, &QTimer::timeout, this, &Simulator::saveState);
}

Simulator::~Simulator()
{
    if (saveTimer->isActive())
        saveState();
}

void Simulator::saveState()
{
    QString error;
    if (!StateFile::save(statePath, list, &error))
        QTextStream(stderr) << "converter-sim: " << error << '\n';
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
    listener->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(1 << 20));
    connect(listener, &QUdpSocket::readyRead, this, &Simulator::readDatagrams);

    for (const SimulatedConverter &c : qAsConst(list)) {
        const quint16 port = c.faults.contains(Fault::ForeignPort) ? FOREIGN_PORT : DEVICE_PORT;
        if (!senderFor(c.replyFrom, port, error))
            return false;
    }
    if (dataPlaneOn) {
        for (int i = 0; i < list.size(); ++i) {
            planes << new DataPlane(this);
            if (powerOnAt.value(i, 0) > 0)
                QTimer::singleShot(int(powerOnAt.value(i)), this,
                                   [this, i] { planes.at(i)->follow(list.at(i)); });
            else
                planes.at(i)->follow(list.at(i));
        }
    }
    return true;
}

void Simulator::restart(int index)
{
    silentUntil.insert(index, clock.elapsed() + restartMs);
    if (planes.isEmpty())
        return;
    planes.at(index)->stop();
    const int generation = ++restarts[index];
    QTimer::singleShot(restartMs, this, [this, index, generation] {
        if (restarts.value(index) == generation) // no later restart since
            planes.at(index)->follow(list.at(index));
    });
}

void Simulator::restartAll()
{
    for (int i = 0; i < list.size(); ++i)
        restart(i);
}

void Simulator::setPowerOn(int firstMs, int stepMs)
{
    for (int i = 0; i < list.size(); ++i)
        powerOnAt.insert(i, qint64(firstMs) + qint64(i) * stepMs);
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
        const int i = byMac.value(QString::fromLatin1(plain.left(6).toHex().toUpper()), -1);
        if (i < 0 || powerOnAt.value(i, 0) > clock.elapsed() || !list[i].applyConfigure(plain))
            continue;
        if (list.at(i).faults.contains(Fault::Restart))
            restart(i);
        else if (!planes.isEmpty())
            planes.at(i)->follow(list.at(i));
        if (!saveTimer->isActive())
            saveTimer->start();
        emit configured(i);
    }
}

void Simulator::answerProbe()
{
    const qint64 now = clock.elapsed();
    for (int i = 0; i < list.size(); ++i) {
        if (silentUntil.value(i, 0) > now || powerOnAt.value(i, 0) > now)
            continue;
        ++outstanding;
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
