#pragma once

#include "dataplane.h"
#include "simulatedconverter.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QVector>

class QTimer;
class QUdpSocket;

// Puts converters on the network: hears broadcasts on the device port,
// answers probes after a delay and applies configure frames.
class Simulator : public QObject
{
    Q_OBJECT

public:
    Simulator(const QList<SimulatedConverter> &converters, const QString &statePath, int delayMs,
              int jitterMs, int restartMs, QObject *parent = nullptr);
    // Writes a state that is still waiting to be saved.
    ~Simulator() override;

    // Binds the sockets; false with a message when one cannot be bound.
    bool start(QString *error);

    // Converters plugged in one after another: converter k (from 0) is off,
    // silent and deaf, until firstMs + k * stepMs after the start.
    void setPowerOn(int firstMs, int stepMs);

    // Each converter also carries data by its mode (see DataPlane); call
    // before start().
    void enableDataPlane() { dataPlaneOn = true; }
    // Every converter restarts: silent, its data connections dropped, for
    // the restart time.
    void restartAll();

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
    void saveState();
    // Silent and without data for the restart time from now.
    void restart(int index);

    QList<SimulatedConverter> list;
    QString statePath;
    int delayMs;
    int jitterMs;
    int restartMs;
    QHash<QString, int> byMac;
    // Converters that are restarting stay silent until this time (ms since start).
    QHash<int, qint64> silentUntil;
    // Converters not yet powered on, until this time.
    QHash<int, qint64> powerOnAt;
    QElapsedTimer clock;
    // Batches the state file's writes, however many frames arrive.
    QTimer *saveTimer = nullptr;
    QRandomGenerator random;
    int outstanding = 0;
    int sentForProbe = 0;
    QUdpSocket *listener = nullptr;
    // One socket per reply address and source port.
    QHash<QString, QUdpSocket *> senders;
    bool dataPlaneOn = false;
    QVector<DataPlane *> planes;
    QHash<int, int> restarts; // per converter, so that only the last restart ends it
};
