#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractSocket;
class QTcpSocket;
class QTimer;
class QUdpSocket;

// How this computer reaches a converter's serial line, by the converter's
// mode: tcp-server listens on its local port; tcp-client connects to its
// remote end; udp-server answers the last sender; udp sends to its remote
// end and takes datagrams at its local port.
struct DataRoute
{
    enum class Kind {
        Connect,   // a TCP connection to the converter
        Accept,    // the converter connects to this computer
        Datagrams, // UDP both ways
        Untested,  // this computer cannot be the other end
    };
    Kind kind = Kind::Untested;
    bool tcp = true;
    QHostAddress converter;    // the converter's own address
    quint16 converterPort = 0; // its local port; 0 when we never send to it
    QHostAddress local;        // Accept, udp: this computer's address it talks to
    quint16 localPort = 0;     // Accept, udp: the port it talks to; 0: any
    QString reason;            // Untested: why, naming the host it talks to

    // The port to open in a firewall: "10.0.0.5:4001/tcp" (the converter's
    // for Connect and udp-server, this computer's for Accept and udp).
    QString where() const;
};

// The route from the 64 plaintext bytes a converter reported; ours are
// this computer's addresses.
DataRoute routeTo(const QByteArray &frame, const QList<QHostAddress> &ours);

// The converter's data path, open: bytes in and out, whatever the mode.
class DataPath : public QObject
{
    Q_OBJECT

public:
    enum class Failure { Refused, Unreachable, Lost };

    explicit DataPath(const DataRoute &route, QObject *parent = nullptr);
    ~DataPath() override;

    const DataRoute &route() const { return path; }
    // Opens within timeoutMs: opened(), or failed(). For UDP there is no
    // connection: opened() once the socket is bound and a short wait has
    // brought no refusal.
    void open(int timeoutMs);
    bool isOpen() const { return up; }
    void send(const QByteArray &bytes);

signals:
    void opened();
    void received(const QByteArray &bytes);
    void failed(DataPath::Failure failure, const QString &message);

private:
    void fail(Failure failure, const QString &message);
    void adopt(QTcpSocket *socket);
    void watchErrors(QAbstractSocket *socket);
    friend class Rendezvous;

    DataRoute path;
    QPointer<QTcpSocket> tcp;
    QPointer<QUdpSocket> udp;
    bool sharedUdp = false; // udp mode: the socket at our address is shared
    QTimer *deadline = nullptr;
    int timeoutMs = 0;
    bool up = false;
    bool done = false; // failed; nothing more is told
};
