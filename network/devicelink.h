#pragma once

#include "adapters.h"
#include "devicerecord.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class QUdpSocket;

// A converter's answer: its record, and the adapter it arrived on.
struct FoundDevice
{
    DeviceRecord record;
    int interfaceIndex = 0; // 0 when the system did not say
    QString interfaceName;
    QByteArray plaintext; // the 64 decrypted bytes of the reply
};

// One datagram as it arrived on the device port.
struct Arrival
{
    QByteArray datagram;
    QHostAddress sender;
    quint16 port = 0;
    int interfaceIndex = 0; // the adapter it came in on; 0 when unknown
};

// The device port, shared by the window and converter-cli: probes and
// configure frames go out as broadcasts from port 1500 on each adapter, and
// every datagram that comes in is taken in order of arrival, in bounded
// batches. The port is shared, so both programs can run side by side.
//
// Linux sends out of one adapter by naming it on each datagram; Windows sends
// a broadcast out of the adapter whose address the socket is bound to, so
// there the link holds one socket per adapter.
class DeviceLink : public QObject
{
    Q_OBJECT

public:
    // Replies: accepted replies are decoded and emitted as replied(), the
    // rest dropped. Datagrams: datagramsWaiting() tells the owner, which
    // takes every datagram itself with takeDatagrams().
    enum class Delivery { Replies, Datagrams };

    explicit DeviceLink(Delivery delivery = Delivery::Replies, QObject *parent = nullptr);

    // These adapters, for the link's life; replies that arrive on others are
    // not taken. When an adapter's port cannot be bound, false unless
    // allRequired is false and another one bound; the message names each
    // adapter that failed either way.
    bool open(const QVector<LinkInterface> &interfaces, QString *error, bool allRequired = true);
    // Every adapter that can broadcast, read afresh before each probe, so
    // that an adapter plugged in later is searched too.
    bool openEveryAdapter(QString *error);

    // The plain probe, once out of every adapter; false when it left through
    // none (each failure is told by sendFailed).
    bool sendProbe();
    // One encrypted frame, out of the adapter the converter answered on, or
    // out of every adapter when that one is unknown, gone or failing; false
    // when it left through none.
    bool sendFrame(const QByteArray &frame, int interfaceIndex);

    // Hands the waiting datagrams to handle one at a time, in order of
    // arrival, going on with those that arrive meanwhile, for a bounded time
    // and holding a bounded number in memory. What a turn leaves is handed
    // over in the next, which the link starts from the event loop itself.
    void takeDatagrams(const std::function<void(const Arrival &)> &handle);

    // The sender as a dual-stack socket reports it (::ffff:192.168.1.7),
    // which is the form the debug log has always shown.
    static QString senderText(const QHostAddress &sender);

    // Only what left: a datagram the system refused is not counted.
    int probesSent() const { return probes; }
    int framesSent() const { return frames; }

signals:
    void datagramsWaiting();
    // Every accepted reply that arrived on a chosen adapter, in order of
    // arrival, repeats included.
    void replied(const FoundDevice &device);
    // A datagram that could not leave through an adapter, and why.
    void sendFailed(const QString &adapter, const QString &reason);

private slots:
    void onReadyRead();
    void nextTurn();

private:
    struct Port
    {
        QUdpSocket *socket = nullptr; // null while port 1500 cannot be bound
        int interfaceIndex = 0; // the adapter a per-adapter socket serves; 0: any
        QHostAddress bound;
    };

    bool bindPorts(QString *error);
    // The record of an accepted reply, with the name of its adapter.
    FoundDevice foundDevice(const Arrival &arrival, const QByteArray &plaintext);
    QUdpSocket *openSocket(const QHostAddress &address, QString *error);
    void drain(QList<Arrival> &queue);
    void refreshAdapters();
    int send(const QByteArray &datagram, int interfaceIndex);
    bool sendThrough(const QByteArray &datagram, const LinkInterface &link);
    QString interfaceName(int index);
    bool listens(int index) const;

    Delivery delivery;
    bool following = false;
    QVector<LinkInterface> interfaces;
    QVector<Port> ports;
    QHash<int, QString> names;
    QList<Arrival> waiting; // read from the socket, not yet handed over
    bool turnPosted = false;
    int probes = 0;
    int frames = 0;
};
