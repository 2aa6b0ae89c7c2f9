#pragma once

#include "devicerecord.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

class QUdpSocket;

// A converter's answer: its record, and the adapter it arrived on.
struct FoundDevice
{
    DeviceRecord record;
    int interfaceIndex = 0; // 0 when the system did not say
    QString interfaceName;
    QByteArray plaintext; // the 64 decrypted bytes of the reply
};

// An adapter that probes and frames leave from.
struct LinkInterface
{
    int index = 0; // 0: no particular adapter, the routing table decides
    QString name;
};

// The device port for programs without a window: probes and configure frames
// go out as broadcasts from port 1500 on chosen adapters, and replies come in
// through the same intake rules as the window's (own probes and configure
// frames dropped). The socket shares the port, so the window can run beside.
class DeviceLink : public QObject
{
    Q_OBJECT

public:
    explicit DeviceLink(QObject *parent = nullptr);

    // The adapters to use: every IPv4 adapter that is up and can broadcast,
    // or those named. None that can broadcast (a machine with loopback only)
    // leaves the routing table to decide. False with a message for a name
    // that no adapter has. Sends nothing.
    static bool chooseInterfaces(const QStringList &names, QVector<LinkInterface> *chosen,
                                 QString *error);

    bool open(const QVector<LinkInterface> &interfaces, QString *error);

    void sendProbe();
    // One encrypted frame, out of the adapter the converter answered on (or
    // every chosen one when that is unknown).
    void sendFrame(const QByteArray &frame, int interfaceIndex);

    int probesSent() const { return probes; }
    int framesSent() const { return frames; }

signals:
    // Every accepted reply that arrived on a chosen adapter, in order of
    // arrival, repeats included.
    void replied(const FoundDevice &device);

private slots:
    void readDatagrams();

private:
    void send(const QByteArray &datagram, int interfaceIndex);
    QString interfaceName(int index);
    // Whether replies arriving on this adapter count: only the chosen ones do.
    bool listens(int index) const;

    QUdpSocket *socket = nullptr;
    QVector<LinkInterface> interfaces;
    QHash<int, QString> names;
    int probes = 0;
    int frames = 0;
};
