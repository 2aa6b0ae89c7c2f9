#pragma once

#include "devicelink.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QVector>

#include <deque>

class QTimer;

// Writes configure frames to many converters at a steady rate and, unless
// told not to, checks each by probing until it reports what was written.
class BatchWriter : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        int rate = 200; // frames per second
        bool verify = true;
        int verifyTimeoutMs = 10000; // after each frame, how long to wait for the new values
        int retries = 2;             // frames sent again to a converter that does not take one
        int probeIntervalMs = 500;
    };

    struct Target
    {
        FoundDevice device;  // as the search found it
        QByteArray settings; // its reported plaintext with the changes put in
    };

    // NotSent: without verifying, a frame that left through no adapter.
    enum class Outcome { Sent, Verified, Differs, NoAnswer, NotSent };

    struct Result
    {
        Outcome outcome = Outcome::Sent;
        QByteArray sent;     // the frame's plaintext
        QByteArray reported; // the last answer's plaintext after the last frame (Differs)
        int frames = 0;
    };

    BatchWriter(DeviceLink &link, const Options &options, QObject *parent = nullptr);

    // Runs until every target is settled; results in the order of targets.
    QVector<Result> run(const QVector<Target> &targets);

    int retriesSent() const { return retries; }

    // Settles every target at once, as it stands: a frame that left is
    // Sent (unverified), one still waiting NotSent; run() then returns. For
    // a program that is about to be ended.
    void stopWaiting();

private:
    struct State
    {
        QByteArray frame; // encrypted, sent as it is each time
        int interfaceIndex = 0;
        qint64 lastSentNs = -1;
        qint64 lastReplyNs = -1;
        bool queued = false;
        bool settled = false;
        Result result;
    };

    void enqueue(int index);
    void sendDue();
    void probe();
    void onReply(const FoundDevice &device);
    void checkDeadlines();
    void settle(State &state, Outcome outcome);
    void resendOrSettle(int index, Outcome finalOutcome);

    DeviceLink &link;
    Options options;
    QVector<State> states;
    QHash<QString, int> byMac;
    std::deque<int> queue;
    qint64 nextSlotNs = 0;
    qint64 lastProbeNs = -1;
    QElapsedTimer clock;
    QTimer *sendTimer = nullptr;
    QTimer *probeTimer = nullptr;
    int unsettled = 0;
    int retries = 0;
    class QEventLoop *loop = nullptr;
};
