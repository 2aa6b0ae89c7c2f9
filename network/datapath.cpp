#include "datapath.h"

#include "phrase.h"

#include "settingfields.h"

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

namespace {

// A UDP socket open this long without a refusal counts as open.
constexpr int UDP_SETTLE_MS = 300;

QString endpoint(const QHostAddress &address, quint16 port, bool tcp)
{
    return QStringLiteral("%1:%2/%3")
        .arg(address.toString())
        .arg(port)
        .arg(tcp ? QLatin1String("tcp") : QLatin1String("udp"));
}

} // namespace

QString DataRoute::where() const
{
    if (kind == Kind::Accept || (kind == Kind::Datagrams && !local.isNull()))
        return endpoint(local, localPort, tcp);
    return endpoint(converter, converterPort, tcp);
}

DataRoute routeTo(const QByteArray &frame, const QList<QHostAddress> &ours)
{
    using SettingFields::Field;
    DataRoute r;
    const QString mode = SettingFields::text(frame, Field::Mode);
    r.converter = QHostAddress(SettingFields::text(frame, Field::Ip));
    r.converterPort = quint16(SettingFields::text(frame, Field::LocalPort).toUInt());
    const QHostAddress remote(SettingFields::text(frame, Field::RemoteIp));
    const quint16 remotePort = quint16(SettingFields::text(frame, Field::RemotePort).toUInt());
    r.tcp = mode.startsWith(QLatin1String("tcp"));
    const bool remoteIsOurs = ours.contains(remote);
    if (mode == QLatin1String("tcp-server") || mode == QLatin1String("udp-server")) {
        r.kind = DataRoute::Kind::Connect;
        if (!r.tcp)
            r.kind = DataRoute::Kind::Datagrams;
        if (r.converterPort == 0) {
            r.kind = DataRoute::Kind::Untested;
            r.reason = Phrase::translate("datapath", "it listens on a random local port (0), "
                                                     "which it does not report");
        }
        return r;
    }
    // tcp-client and udp talk to their remote end, which must be us.
    r.local = remote;
    r.localPort = remotePort;
    if (!remoteIsOurs) {
        r.reason = Phrase::translate("datapath", "it talks to %1, not to this computer")
                       .arg(endpoint(remote, remotePort, r.tcp));
        return r;
    }
    if (r.tcp) {
        r.kind = DataRoute::Kind::Accept;
    } else {
        r.kind = DataRoute::Kind::Datagrams;
        if (r.converterPort == 0) {
            r.kind = DataRoute::Kind::Untested;
            r.reason = Phrase::translate("datapath", "it takes datagrams on a random local port "
                                                     "(0), which it does not report");
        }
    }
    return r;
}

// The sockets at this computer's end that several converters may share (a
// port that many tcp-client or udp converters talk to): one per address and
// port, each connection or datagram handed to the path of the converter it
// comes from.
class Rendezvous : public QObject
{
public:
    // Lives as long as the program, so that it outlives every path.
    static Rendezvous &instance()
    {
        static Rendezvous *one = new Rendezvous;
        return *one;
    }

    bool await(DataPath *path, QString *error)
    {
        const DataRoute &r = path->route();
        const QString key = endpoint(r.local, r.localPort, r.tcp);
        waiting.insert(r.converter.toString() + QLatin1Char('>') + key, path);
        if (r.tcp) {
            QTcpServer *server = servers.value(key);
            if (!server) {
                server = new QTcpServer(this);
                if (!server->listen(r.local, r.localPort)) {
                    *error = Phrase::translate("datapath", "cannot listen on %1: %2")
                                 .arg(key, server->errorString());
                    delete server;
                    return false;
                }
                servers.insert(key, server);
                connect(server, &QTcpServer::newConnection, this, [this, server, key] {
                    while (QTcpSocket *socket = server->nextPendingConnection()) {
                        const QString from =
                            QHostAddress(socket->peerAddress().toIPv4Address()).toString();
                        DataPath *to = waiting.value(from + QLatin1Char('>') + key);
                        if (to && !to->tcp)
                            to->adopt(socket);
                        else
                            socket->abort(), socket->deleteLater();
                    }
                });
            }
            return true;
        }
        QUdpSocket *socket = sockets.value(key);
        if (!socket) {
            socket = new QUdpSocket(this);
            if (!socket->bind(r.local, r.localPort)) {
                *error = Phrase::translate("datapath", "cannot bind %1: %2")
                             .arg(key, socket->errorString());
                delete socket;
                return false;
            }
            sockets.insert(key, socket);
            connect(socket, &QUdpSocket::readyRead, this, [this, socket, key] {
                while (socket->hasPendingDatagrams()) {
                    QHostAddress from;
                    QByteArray datagram(int(socket->pendingDatagramSize()), '\0');
                    socket->readDatagram(datagram.data(), datagram.size(), &from);
                    const QString sender = QHostAddress(from.toIPv4Address()).toString();
                    if (DataPath *to = waiting.value(sender + QLatin1Char('>') + key))
                        emit to->received(datagram);
                }
            });
        }
        path->udp = socket;
        path->sharedUdp = true;
        return true;
    }

    void leave(DataPath *path)
    {
        for (auto it = waiting.begin(); it != waiting.end();) {
            if (it.value() == path)
                it = waiting.erase(it);
            else
                ++it;
        }
    }

private:
    QHash<QString, QTcpServer *> servers;
    QHash<QString, QUdpSocket *> sockets;
    QHash<QString, DataPath *> waiting; // "converter>our end"
};

DataPath::DataPath(const DataRoute &route, QObject *parent) : QObject(parent), path(route)
{
    deadline = new QTimer(this);
    deadline->setSingleShot(true);
}

DataPath::~DataPath()
{
    Rendezvous::instance().leave(this);
    done = true; // closing it is no failure
    if (tcp) {
        tcp->disconnect(this);
        tcp->abort();
    }
    delete tcp;
    if (!sharedUdp)
        delete udp;
}

void DataPath::fail(Failure failure, const QString &message)
{
    if (done)
        return;
    done = true;
    up = false;
    deadline->stop();
    emit failed(failure, message);
}

void DataPath::watchErrors(QAbstractSocket *socket)
{
    connect(socket, &QAbstractSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError error) {
                const QString where = path.where();
                if (error == QAbstractSocket::ConnectionRefusedError)
                    fail(Failure::Refused,
                         Phrase::translate("datapath", "%1 refused: nothing takes data there, or a "
                                                       "firewall rejects it")
                             .arg(where));
                else if (up && error == QAbstractSocket::RemoteHostClosedError)
                    fail(Failure::Lost,
                         Phrase::translate("datapath", "%1 closed the connection").arg(where));
                else if (up)
                    fail(Failure::Lost, Phrase::translate("datapath", "%1: the connection was "
                                                                      "lost: %2")
                                            .arg(where, socket->errorString()));
                else
                    fail(Failure::Unreachable,
                         Phrase::translate("datapath", "%1 cannot be reached: %2")
                             .arg(where, socket->errorString()));
            });
}

void DataPath::adopt(QTcpSocket *socket)
{
    if (tcp || done) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    tcp = socket;
    socket->setParent(this);
    watchErrors(socket);
    connect(socket, &QTcpSocket::readyRead, this, [this] { emit received(tcp->readAll()); });
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        if (up)
            fail(Failure::Lost,
                 Phrase::translate("datapath", "%1 closed the connection").arg(path.where()));
    });
    up = true;
    deadline->stop();
    emit opened();
}

void DataPath::open(int timeout)
{
    timeoutMs = timeout;
    connect(deadline, &QTimer::timeout, this, [this] {
        fail(Failure::Unreachable,
             path.kind == DataRoute::Kind::Accept
                 ? Phrase::translate("datapath", "the converter did not connect to %1 within "
                                                 "%2 ms (is a firewall dropping it?)")
                       .arg(path.where())
                       .arg(timeoutMs)
                 : Phrase::translate("datapath", "no answer from %1 within %2 ms (is the "
                                                 "converter at that address, or a firewall "
                                                 "dropping it?)")
                       .arg(path.where())
                       .arg(timeoutMs));
    });
    if (path.kind == DataRoute::Kind::Untested) {
        QTimer::singleShot(0, this, [this] { fail(Failure::Unreachable, path.reason); });
        return;
    }
    if (path.kind == DataRoute::Kind::Connect) {
        auto *socket = new QTcpSocket(this);
        watchErrors(socket);
        connect(socket, &QTcpSocket::connected, this, [this, socket] {
            socket->disconnect(this);
            adopt(socket);
        });
        deadline->start(timeoutMs);
        socket->connectToHost(path.converter, path.converterPort);
        return;
    }
    QString error;
    if (path.kind == DataRoute::Kind::Accept) {
        deadline->start(timeoutMs);
        if (!Rendezvous::instance().await(this, &error))
            QTimer::singleShot(0, this, [this, error] { fail(Failure::Unreachable, error); });
        return;
    }
    if (!path.local.isNull()) { // udp: the converter sends to our address
        if (!Rendezvous::instance().await(this, &error)) {
            QTimer::singleShot(0, this, [this, error] { fail(Failure::Unreachable, error); });
            return;
        }
    } else { // udp-server: a socket of our own, connected, so refusals come back
        udp = new QUdpSocket(this);
        watchErrors(udp);
        connect(udp, &QUdpSocket::readyRead, this, [this] {
            while (udp && udp->hasPendingDatagrams()) {
                QByteArray datagram(int(udp->pendingDatagramSize()), '\0');
                udp->readDatagram(datagram.data(), datagram.size());
                emit received(datagram);
            }
        });
        udp->connectToHost(path.converter, path.converterPort);
        udp->write(QByteArray()); // an empty datagram puts nothing on the line
    }
    QTimer::singleShot(qMin(timeoutMs, UDP_SETTLE_MS), this, [this] {
        if (done)
            return;
        up = true;
        emit opened();
    });
}

void DataPath::send(const QByteArray &bytes)
{
    if (!up)
        return;
    if (tcp)
        tcp->write(bytes);
    else if (udp && sharedUdp)
        udp->writeDatagram(bytes, path.converter, path.converterPort);
    else if (udp)
        udp->write(bytes);
}
