#pragma once

#include "simulatedconverter.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QRandomGenerator>

class QUdpSocket;

// Puts converters on the network: hears broadcasts on the device port,
// answers probes after a delay and applies configure frames.
class Simulator : public QObject
{
    Q_OBJECT

public:
    Simulator(const QList<SimulatedConverter> &converters, const QString &statePath, int delayMs,
              int jitterMs, QObject *parent = nullptr);

    // Binds the sockets; false with a message when one cannot be bound.
    bool start(QString *error);

    const QList<SimulatedConverter> &converters() const { return list; }

signals:
    void configured(int index);
    // Every converter has answered the last probe; sent counts the datagrams.
    void answered(int sent);

private slots:
    void readDatagrams();

private:
    void answerProbe();
    void sendReply(int index);
    QUdpSocket *senderFor(const QHostAddress &address, quint16 port, QString *error);

    QList<SimulatedConverter> list;
    QString statePath;
    int delayMs;
    int jitterMs;
    QRandomGenerator random;
    int outstanding = 0;
    int sentForProbe = 0;
    QUdpSocket *listener = nullptr;
    // One socket per reply address and source port.
    QHash<QString, QUdpSocket *> senders;
};
