#include "devicelink.h"

#include "deviceframe.h"
#include "protocolconstants.h"
#include "replyintake.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace {

// Room for a crowd of replies arriving at once.
constexpr int RECEIVE_BUFFER = 4 << 20;

bool canBroadcastIpv4(const QNetworkInterface &adapter)
{
    const auto flags = adapter.flags();
    if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::CanBroadcast) ||
        (flags & QNetworkInterface::IsLoopBack))
        return false;
    for (const QNetworkAddressEntry &entry : adapter.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return true;
    }
    return false;
}

} // namespace

DeviceLink::DeviceLink(QObject *parent) : QObject(parent) {}

bool DeviceLink::chooseInterfaces(const QStringList &names, QVector<LinkInterface> *chosen,
                                  QString *error)
{
    chosen->clear();
    const QList<QNetworkInterface> adapters = QNetworkInterface::allInterfaces();
    if (names.isEmpty()) {
        for (const QNetworkInterface &adapter : adapters) {
            if (canBroadcastIpv4(adapter))
                chosen->append({adapter.index(), adapter.name()});
        }
        if (chosen->isEmpty())
            chosen->append({0, QString()});
        return true;
    }
    for (const QString &name : names) {
        const QNetworkInterface adapter = QNetworkInterface::interfaceFromName(name);
        if (!adapter.isValid()) {
            *error = QStringLiteral("no network interface named '%1'").arg(name);
            return false;
        }
        if (!canBroadcastIpv4(adapter)) {
            *error =
                QStringLiteral("interface '%1' is not up with an IPv4 broadcast address").arg(name);
            return false;
        }
        const LinkInterface link{adapter.index(), adapter.name()};
        bool listed = false;
        for (const LinkInterface &i : qAsConst(*chosen))
            listed |= i.index == link.index;
        if (!listed)
            chosen->append(link);
    }
    return true;
}

bool DeviceLink::open(const QVector<LinkInterface> &chosen, QString *error)
{
    interfaces = chosen;
    socket = new QUdpSocket(this);
    if (!socket->bind(QHostAddress::AnyIPv4, DEVICE_PORT,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        *error = QStringLiteral("cannot use UDP port %1: %2")
                     .arg(DEVICE_PORT)
                     .arg(socket->errorString());
        return false;
    }
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, RECEIVE_BUFFER);
    connect(socket, &QUdpSocket::readyRead, this, &DeviceLink::readDatagrams);
    return true;
}

void DeviceLink::send(const QByteArray &datagram, int interfaceIndex)
{
    for (const LinkInterface &link : qAsConst(interfaces)) {
        if (interfaceIndex != 0 && link.index != 0 && link.index != interfaceIndex)
            continue;
        QNetworkDatagram out(datagram, QHostAddress(QString::fromLatin1(BROADCAST_ADDRESS)),
                             DEVICE_PORT);
        if (link.index != 0)
            out.setInterfaceIndex(uint(link.index));
        socket->writeDatagram(out);
    }
}

void DeviceLink::sendProbe()
{
    send(QByteArray(SEARCH_PROBE, SEARCH_PROBE_SIZE), 0);
    ++probes;
}

void DeviceLink::sendFrame(const QByteArray &frame, int interfaceIndex)
{
    send(frame, interfaceIndex);
    ++frames;
}

bool DeviceLink::listens(int index) const
{
    for (const LinkInterface &link : interfaces) {
        if (link.index == 0 || link.index == index)
            return true;
    }
    return false;
}

QString DeviceLink::interfaceName(int index)
{
    // Asking the system costs a round trip per reply; a crowd answers at once.
    auto known = names.constFind(index);
    if (known == names.constEnd())
        known = names.insert(index, QNetworkInterface::interfaceNameFromIndex(index));
    return known.value();
}

void DeviceLink::readDatagrams()
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        if (!datagram.isValid())
            return;
        const auto port = quint16(datagram.senderPort());
        const ReplyIntake::Result result = ReplyIntake::examine(datagram.data(), port);
        if (result.verdict != ReplyIntake::Verdict::Accepted)
            continue;
        const int arrivedOn = int(datagram.interfaceIndex());
        if (!listens(arrivedOn))
            continue; // an answer to someone else's probe, on an adapter we were told to leave
        FoundDevice found;
        found.plaintext = result.plaintext;
        found.record = DeviceFrame::decodeReply(
            result.plaintext, ReplyIntake::deviceIpFromSender(datagram.senderAddress().toString()));
        found.interfaceIndex = arrivedOn;
        found.interfaceName = interfaceName(found.interfaceIndex);
        emit replied(found);
    }
}
