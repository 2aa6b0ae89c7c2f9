#include "devicelink.h"

#include "phrase.h"

#include "deviceframe.h"
#include "portholders.h"
#include "protocolconstants.h"
#include "replyintake.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QSocketNotifier>
#include <QUdpSocket>
#include <QVariant>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace {

#ifdef Q_OS_LINUX
// Up to max datagrams waiting on a socket, read 64 to a system call: a
// crowd of converters answers faster than one call per datagram can read,
// and the system's buffer (capped at about 416 KB on a stock kernel) then
// overflows. Longer datagrams than any frame are cut, and refused by size.
int receiveBatch(int fd, QList<Arrival> &queue, int max)
{
    constexpr int BATCH = 64;
    constexpr int ROOM = 2048;
    static char buffers[BATCH][ROOM];
    static char controls[BATCH][CMSG_SPACE(sizeof(in_pktinfo))];
    sockaddr_in senders[BATCH];
    iovec vectors[BATCH];
    mmsghdr messages[BATCH];
    const int wanted = qMin(BATCH, max);
    for (int i = 0; i < wanted; ++i) {
        vectors[i] = {buffers[i], ROOM};
        messages[i] = {};
        messages[i].msg_hdr.msg_name = &senders[i];
        messages[i].msg_hdr.msg_namelen = sizeof senders[i];
        messages[i].msg_hdr.msg_iov = &vectors[i];
        messages[i].msg_hdr.msg_iovlen = 1;
        messages[i].msg_hdr.msg_control = controls[i];
        messages[i].msg_hdr.msg_controllen = sizeof controls[i];
    }
    const int got = ::recvmmsg(fd, messages, unsigned(wanted), MSG_DONTWAIT, nullptr);
    for (int i = 0; i < got; ++i) {
        Arrival arrival;
        arrival.datagram = QByteArray(buffers[i], int(messages[i].msg_len));
        arrival.sender = QHostAddress(ntohl(senders[i].sin_addr.s_addr));
        arrival.port = ntohs(senders[i].sin_port);
        for (cmsghdr *c = CMSG_FIRSTHDR(&messages[i].msg_hdr); c;
             c = CMSG_NXTHDR(&messages[i].msg_hdr, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO)
                arrival.interfaceIndex =
                    reinterpret_cast<const in_pktinfo *>(CMSG_DATA(c))->ipi_ifindex;
        }
        queue.append(arrival);
    }
    return qMax(got, 0);
}
#endif

// Room for a crowd of replies arriving at once; the system caps it.
constexpr int RECEIVE_BUFFER = 4 << 20;

// How long one turn hands over datagrams. Under a crowd or a flood the
// program returns to its event loop this often, and reads on in the next turn.
constexpr int INTAKE_BUDGET_MS = 50;

// At most this many datagrams wait in memory at once, so that a sender faster
// than the program cannot keep one notification reading for ever.
// A crowd of a thousand converters answering through two adapters is 4,000
// datagrams: taken into memory at once (about 100 bytes each), the system's
// buffer is free for the rest.
constexpr int QUEUE_LIMIT = 8192;

const auto SHARED = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

#ifdef Q_OS_WIN
constexpr bool SOCKET_PER_ADAPTER = true;
#else
constexpr bool SOCKET_PER_ADAPTER = false;
#endif

} // namespace

DeviceLink::DeviceLink(Delivery delivery, QObject *parent) : QObject(parent), delivery(delivery) {}

bool DeviceLink::open(const QVector<LinkInterface> &chosen, QString *error, bool allRequired)
{
    interfaces = chosen;
    if (!PortHolders::check(error))
        return false;
    if (bindPorts(error))
        return true;
    // Adapters nobody named: those that bound serve, the others are told.
    const bool someBound = std::any_of(ports.cbegin(), ports.cend(),
                                       [](const Port &port) { return port.socket != nullptr; });
    return !allRequired && someBound;
}

bool DeviceLink::openEveryAdapter(QString *error)
{
    following = true;
    // Linux binds one socket for every adapter, and each probe reads the
    // adapters afresh: reading them now would only slow the window's start.
    if (SOCKET_PER_ADAPTER)
        interfaces = Adapters::broadcastCapable();
    return bindPorts(error);
}

// Null when port 1500 cannot be bound: a socket that sent anyway would be
// bound by the system to some other port, and no converter answers there.
QUdpSocket *DeviceLink::openSocket(const QHostAddress &address, QString *error)
{
    auto *socket = new QUdpSocket(this);
    if (!socket->bind(address, DEVICE_PORT, SHARED)) {
        *error = Phrase::translate("link", "cannot use UDP port %1: %2")
                     .arg(DEVICE_PORT)
                     .arg(socket->errorString());
        delete socket;
        return nullptr;
    }
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption,
                            QVariant(RECEIVE_BUFFER));
#ifdef Q_OS_LINUX
    // Read in batches past Qt, so watched by a notifier of our own: Qt's
    // stays off once its readyRead goes unread.
    const int fd = int(socket->socketDescriptor());
    const int one = 1; // the adapter of each datagram
    ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &one, sizeof one);
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, socket);
    connect(notifier, &QSocketNotifier::activated, this, &DeviceLink::onReadyRead);
#else
    connect(socket, &QUdpSocket::readyRead, this, &DeviceLink::onReadyRead);
#endif
    return socket;
}

// One socket on the IPv4 any-address, or on Windows one per adapter address.
// Bound sockets whose adapter and address are unchanged stay, with what waits
// in them; the others go, and a port that could not be bound is tried again.
bool DeviceLink::bindPorts(QString *error)
{
    QVector<Port> wanted;
    if (SOCKET_PER_ADAPTER) {
        for (const LinkInterface &link : qAsConst(interfaces))
            wanted.append({nullptr, link.index,
                           link.index != 0 ? link.address : QHostAddress(QHostAddress::AnyIPv4)});
    } else {
        wanted.append({nullptr, 0, QHostAddress(QHostAddress::AnyIPv4)});
    }
    QStringList failures;
    for (Port &port : wanted) {
        for (Port &old : ports) {
            if (old.socket && old.interfaceIndex == port.interfaceIndex &&
                old.bound == port.bound && old.socket->localPort() == DEVICE_PORT)
                std::swap(port.socket, old.socket);
        }
        if (!port.socket) {
            QString failure;
            port.socket = openSocket(port.bound, &failure);
            if (!port.socket && port.interfaceIndex != 0) {
                // Name the adapter: a tentative or duplicate address fails
                // on one adapter only.
                for (const LinkInterface &link : qAsConst(interfaces)) {
                    if (link.index == port.interfaceIndex)
                        failure += Phrase::translate("link", " on adapter %1 (%2)")
                                       .arg(link.name, link.address.toString());
                }
            }
            if (!port.socket)
                failures << failure;
        }
    }
    if (!failures.isEmpty())
        *error = failures.join(QStringLiteral("; "));
    for (const Port &old : qAsConst(ports)) {
        if (old.socket)
            old.socket->deleteLater();
    }
    ports = wanted;
    return failures.isEmpty();
}

// The adapter's socket: the any-address socket names the adapter on the
// datagram, a per-adapter socket leaves from the adapter's address.
bool DeviceLink::sendThrough(const QByteArray &datagram, const LinkInterface &link)
{
    const QString name =
        link.index != 0 ? link.name : Phrase::translate("link", "(the default route)");
    for (const Port &port : qAsConst(ports)) {
        if (port.interfaceIndex != 0 && port.interfaceIndex != link.index)
            continue;
        if (!port.socket) {
            emit sendFailed(name,
                            Phrase::translate("link", "UDP port %1 is not bound").arg(DEVICE_PORT));
            return false;
        }
        QNetworkDatagram out(datagram, QHostAddress(QString::fromLatin1(BROADCAST_ADDRESS)),
                             DEVICE_PORT);
        if (port.interfaceIndex == 0 && link.index != 0)
            out.setInterfaceIndex(uint(link.index));
        if (port.socket->writeDatagram(out) != datagram.size()) {
            // Qt says only "Unable to send a message"; the system says why.
            const QString why = qt_error_string(-1);
            emit sendFailed(name, QStringLiteral("%1 (%2)").arg(port.socket->errorString(), why));
            return false;
        }
        return true;
    }
    emit sendFailed(name, Phrase::translate("link", "no socket for it"));
    return false;
}

// How many adapters the datagram left through. When the converter's own
// adapter fails (unplugged after the search), the others are tried: a
// laptop's dock and Wi-Fi often reach the same network.
int DeviceLink::send(const QByteArray &datagram, int interfaceIndex)
{
    QVector<LinkInterface> out, others;
    for (const LinkInterface &link : qAsConst(interfaces)) {
        if (interfaceIndex == 0 || link.index == 0 || link.index == interfaceIndex)
            out.append(link);
        else
            others.append(link);
    }
    if (out.isEmpty())
        std::swap(out, others); // the adapter is gone: every one rather than none
    int sent = 0;
    for (const LinkInterface &link : qAsConst(out))
        sent += sendThrough(datagram, link);
    if (sent == 0) {
        for (const LinkInterface &link : qAsConst(others))
            sent += sendThrough(datagram, link);
    }
    return sent;
}

// The window follows the adapters as they come and go; so that a write
// finds the converter's adapter as it is now, they are read again first.
void DeviceLink::refreshAdapters()
{
    if (!following)
        return;
    interfaces = Adapters::broadcastCapable();
    QString ignored; // an adapter that cannot be bound is told by sendFailed
    bindPorts(&ignored);
}

bool DeviceLink::sendProbe()
{
    refreshAdapters();
    const bool left = send(QByteArray(SEARCH_PROBE, SEARCH_PROBE_SIZE), 0) > 0;
    probes += left;
    return left;
}

bool DeviceLink::sendFrame(const QByteArray &frame, int interfaceIndex)
{
    refreshAdapters();
    const bool left = send(frame, interfaceIndex) > 0;
    frames += left;
    return left;
}

bool DeviceLink::listens(int index) const
{
    if (following)
        return true;
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
        known = names.insert(index, Adapters::displayName(index));
    return known.value();
}

QString DeviceLink::senderText(const QHostAddress &sender)
{
    if (sender.protocol() == QAbstractSocket::IPv4Protocol)
        return QStringLiteral("::ffff:") + sender.toString();
    return sender.toString();
}

// A round over the sockets takes one datagram from each that has one, so
// that adapters answering together are taken in turn.
void DeviceLink::drain(QList<Arrival> &queue)
{
    bool more = true;
    while (more && queue.size() < QUEUE_LIMIT) {
        more = false;
        for (const Port &port : qAsConst(ports)) {
            if (queue.size() >= QUEUE_LIMIT)
                return;
            if (!port.socket)
                continue;
#ifdef Q_OS_LINUX
            // One socket on Linux: take what waits in batches.
            if (receiveBatch(int(port.socket->socketDescriptor()), queue,
                             QUEUE_LIMIT - queue.size()) > 0)
                more = true;
            continue;
#endif
            const QNetworkDatagram datagram = port.socket->receiveDatagram();
            if (!datagram.isValid())
                continue;
            more = true;
            Arrival arrival;
            arrival.datagram = datagram.data();
            arrival.sender = datagram.senderAddress();
            arrival.port = quint16(datagram.senderPort());
            arrival.interfaceIndex =
                port.interfaceIndex != 0 ? port.interfaceIndex : int(datagram.interfaceIndex());
            queue.append(arrival);
        }
    }
}

// The socket is read again after every datagram handed over, for as long as
// the turn lasts: a crowd answers for longer than one turn, and a turn that
// stopped reading but went on handing over would let the system's buffer
// overflow behind it. What is left when the turn ends waits in memory for the
// next one, which the event loop runs after drawing and input.
void DeviceLink::takeDatagrams(const std::function<void(const Arrival &)> &handle)
{
    drain(waiting);
    QElapsedTimer budget;
    budget.start();
    while (!waiting.isEmpty() && budget.elapsed() < INTAKE_BUDGET_MS) {
        handle(waiting.takeFirst());
        drain(waiting);
    }
    if (!waiting.isEmpty() && !turnPosted) {
        turnPosted = true;
        QMetaObject::invokeMethod(this, &DeviceLink::nextTurn, Qt::QueuedConnection);
    }
}

void DeviceLink::nextTurn()
{
    turnPosted = false;
    if (!waiting.isEmpty())
        onReadyRead();
}

FoundDevice DeviceLink::foundDevice(const Arrival &arrival, const QByteArray &plaintext)
{
    FoundDevice found;
    found.plaintext = plaintext;
    found.record = DeviceFrame::decodeReply(
        plaintext, ReplyIntake::deviceIpFromSender(senderText(arrival.sender)));
    found.interfaceIndex = arrival.interfaceIndex;
    found.interfaceName = interfaceName(arrival.interfaceIndex);
    return found;
}

void DeviceLink::onReadyRead()
{
    if (delivery == Delivery::Datagrams) {
        emit datagramsWaiting();
        return;
    }
    takeDatagrams([this](const Arrival &arrival) {
        const ReplyIntake::Result result = ReplyIntake::examine(arrival.datagram, arrival.port);
        if (result.verdict != ReplyIntake::Verdict::Accepted)
            return;
        if (!listens(arrival.interfaceIndex))
            return; // an answer to someone else's probe, on an adapter we were told to leave
        emit replied(foundDevice(arrival, result.plaintext));
    });
}
