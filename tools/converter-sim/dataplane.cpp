#include "dataplane.h"

#include "serialline.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <cmath>

namespace {

constexpr int TICK_MS = 5;
constexpr int RETRY_MS = 300;
// The reset fault cuts a connection after this many bytes.
constexpr int RESET_AFTER = 1024;
// The dropped fault loses one byte in this many.
constexpr int DROP_EVERY = 97;

enum Mode { Udp = 0, TcpClient = 1, UdpServer = 2, TcpServer = 3 };

} // namespace

DataPlane::DataPlane(QObject *parent) : QObject(parent)
{
    retry = new QTimer(this);
    retry->setSingleShot(true);
    retry->setInterval(RETRY_MS);
    connect(retry, &QTimer::timeout, this, &DataPlane::connectOut);
    ticker = new QTimer(this);
    ticker->setInterval(TICK_MS);
    ticker->setTimerType(Qt::PreciseTimer);
    connect(ticker, &QTimer::timeout, this, &DataPlane::pace);
}

void DataPlane::follow(const SimulatedConverter &converter)
{
    const DeviceRecord &s = converter.settings;
    const QString next = QStringList{QString::number(s.mode),
                                     s.lip,
                                     s.lport,
                                     s.sip,
                                     s.sport,
                                     QString::number(converter.serialByte),
                                     s.baud,
                                     QString::number(converter.loopback),
                                     QString::number(converter.faults.contains(Fault::DataClosed))}
                             .join(QLatin1Char('/'));
    c = converter;
    rate = SerialLine::charactersPerSecond(c.plaintext());
    if (running && next == key)
        return;
    key = next;
    stop();
    open();
}

void DataPlane::stop()
{
    running = false;
    retry->stop();
    ticker->stop();
    pending.clear();
    if (connection)
        connection->abort();
    delete connection;
    delete server;
    server = nullptr;
    delete udp;
    udp = nullptr;
    peer.clear();
}

void DataPlane::say(const QString &message)
{
    QTextStream(stderr) << "converter-sim: " << c.settings.mac << ": " << message << '\n';
}

void DataPlane::open()
{
    running = true;
    throughLine = 0;
    // A closed data port: the converter answers searches, its data port refuses.
    if (c.faults.contains(Fault::DataClosed))
        return;
    const DeviceRecord &s = c.settings;
    const QHostAddress own(s.lip);
    const quint16 port = quint16(s.lport.toUInt());
    if (s.mode == TcpServer) {
        server = new QTcpServer(this);
        if (!server->listen(own, port)) {
            say(QStringLiteral("cannot listen on %1:%2: %3")
                    .arg(s.lip, s.lport, server->errorString()));
            return;
        }
        connect(server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server->nextPendingConnection())
                adoptConnection(socket);
        });
    } else if (s.mode == TcpClient) {
        connectOut();
    } else {
        udp = new QUdpSocket(this);
        if (!udp->bind(own, port)) {
            say(QStringLiteral("cannot bind %1:%2: %3").arg(s.lip, s.lport, udp->errorString()));
            return;
        }
        connect(udp, &QUdpSocket::readyRead, this, [this] {
            while (udp->hasPendingDatagrams()) {
                QHostAddress from;
                quint16 fromPort = 0;
                QByteArray datagram(int(udp->pendingDatagramSize()), '\0');
                udp->readDatagram(datagram.data(), datagram.size(), &from, &fromPort);
                peer = from;
                peerPort = fromPort;
                fromNetwork(datagram);
            }
        });
    }
}

// The newest connection wins, as on a converter that serves one client.
void DataPlane::adoptConnection(QTcpSocket *socket)
{
    if (connection)
        connection->abort();
    delete connection;
    connection = socket;
    fromConnection = 0;
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket == connection)
            fromNetwork(socket->readAll());
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        socket->deleteLater();
        if (c.settings.mode == TcpClient && running)
            retry->start();
    });
}

void DataPlane::connectOut()
{
    if (!running || c.settings.mode != TcpClient)
        return;
    auto *socket = new QTcpSocket(this);
    if (!socket->bind(QHostAddress(c.settings.lip))) {
        say(QStringLiteral("cannot connect from %1: %2")
                .arg(c.settings.lip, socket->errorString()));
        delete socket;
        return;
    }
    connect(socket, &QTcpSocket::connected, this, [this, socket] { adoptConnection(socket); });
    connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] {
        if (socket != connection) {
            socket->deleteLater();
            retry->start();
        }
    });
    socket->connectToHost(QHostAddress(c.settings.sip), quint16(c.settings.sport.toUInt()));
}

void DataPlane::fromNetwork(const QByteArray &bytes)
{
    if (pending.isEmpty()) {
        lineStart.start();
        lineSent = 0;
        ticker->start();
    }
    pending += bytes;
}

// The line sends at its own pace, however fast the bytes came in: the
// bytes due by now, counted from when the line became busy.
void DataPlane::pace()
{
    const qint64 due = rate > 0 ? qint64(std::floor(lineStart.nsecsElapsed() * 1e-9 * rate)) : 0;
    const int count = int(qMin<qint64>(due - lineSent, pending.size()));
    if (count <= 0)
        return;
    const QByteArray out = pending.left(count);
    pending.remove(0, count);
    lineSent += count;
    if (pending.isEmpty())
        ticker->stop();
    if (c.loopback)
        toNetwork(out);
}

void DataPlane::toNetwork(QByteArray bytes)
{
    QByteArray echo;
    for (const char byte : qAsConst(bytes)) {
        ++throughLine;
        if (c.faults.contains(Fault::Dropped) && throughLine % DROP_EVERY == 0)
            continue;
        // At another baud the receiver samples the wrong bits.
        echo += c.faults.contains(Fault::Garbled) ? char((quint8(byte) >> 1) | 0x80) : byte;
    }
    const DeviceRecord &s = c.settings;
    if (connection && connection->state() == QAbstractSocket::ConnectedState) {
        connection->write(echo);
        fromConnection += echo.size();
        if (c.faults.contains(Fault::Reset) && fromConnection >= RESET_AFTER) {
            connection->flush();
            connection->abort(); // a reset, mid-stream
            pending.clear();
        }
    } else if (udp && s.mode == UdpServer && !peer.isNull())
        udp->writeDatagram(echo, peer, peerPort);
    else if (udp && s.mode == Udp)
        udp->writeDatagram(echo, QHostAddress(s.sip), quint16(s.sport.toUInt()));
}
