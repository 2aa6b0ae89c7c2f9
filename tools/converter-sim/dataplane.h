#pragma once

#include "simulatedconverter.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;
class QTimer;
class QUdpSocket;

// One converter's data side: on the address it holds it carries bytes
// between the network and its serial port the way its mode says, and the
// serial port sends them out at the line's pace. With a loopback plug what
// goes out comes back in; with nothing attached it vanishes.
class DataPlane : public QObject
{
    Q_OBJECT

public:
    explicit DataPlane(QObject *parent = nullptr);

    // Takes the converter's settings; the endpoints are opened anew when
    // the mode, an address, a port or the line changed.
    void follow(const SimulatedConverter &converter);
    // Drops every connection and stays down (a restart, power off).
    void stop();

private:
    void open();
    void fromNetwork(const QByteArray &bytes);
    void toNetwork(QByteArray bytes);
    void pace();
    void adoptConnection(QTcpSocket *socket);
    void connectOut();
    void say(const QString &message);

    SimulatedConverter c;
    QString key;     // what the endpoints depend on
    double rate = 0; // characters per second
    QTcpServer *server = nullptr;
    QPointer<QTcpSocket> connection;
    QUdpSocket *udp = nullptr;
    QHostAddress peer;
    quint16 peerPort = 0;
    QTimer *retry = nullptr;
    QTimer *ticker = nullptr;
    // Bytes waiting to go out on the serial line, paced from lineStart.
    QByteArray pending;
    QElapsedTimer lineStart;
    qint64 lineSent = 0;
    qint64 throughLine = 0;    // bytes the line has carried since the endpoints opened
    qint64 fromConnection = 0; // bytes echoed into the current TCP connection
    bool running = false;
};
