#include "batchwriter.h"

#include "configureframe.h"
#include "framecipher.h"
#include "framelayout.h"
#include "protocolconstants.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace {

constexpr qint64 NS_PER_MS = 1000000;

// A converter took a frame when it reports every settings byte as sent,
// bits outside the tool's vocabulary included.
bool sameSettings(const QByteArray &sent, const QByteArray &reported)
{
    constexpr int length = FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM;
    return sent.mid(FrameLayout::SETTINGS_FROM, length) ==
           reported.mid(FrameLayout::SETTINGS_FROM, length);
}

} // namespace

BatchWriter::BatchWriter(DeviceLink &link, const Options &options, QObject *parent)
    : QObject(parent), link(link), options(options)
{
    sendTimer = new QTimer(this);
    sendTimer->setSingleShot(true);
    sendTimer->setTimerType(Qt::PreciseTimer);
    connect(sendTimer, &QTimer::timeout, this, &BatchWriter::sendDue);
    probeTimer = new QTimer(this);
    probeTimer->setInterval(options.probeIntervalMs);
    connect(probeTimer, &QTimer::timeout, this, [this] {
        checkDeadlines();
        probe();
    });
}

QVector<BatchWriter::Result> BatchWriter::run(const QVector<Target> &targets)
{
    states.clear();
    byMac.clear();
    queue.clear();
    retries = 0;
    unsettled = targets.size();
    clock.start();
    nextSlotNs = 0;
    lastProbeNs = -1;
    for (const Target &target : targets) {
        State state;
        const QByteArray plain =
            ConfigureFrame::plaintextFrom(target.settings, ConfigureFrame::clockSeed());
        state.result.sent = plain;
        state.frame = plain;
        FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(state.frame.data()), FRAME_SIZE);
        state.interfaceIndex = target.device.interfaceIndex;
        byMac.insert(target.device.record.mac, states.size());
        states.append(state);
    }
    for (int i = 0; i < states.size(); ++i)
        enqueue(i);

    QVector<Result> results;
    if (unsettled > 0) {
        QEventLoop events;
        loop = &events;
        const auto connection = connect(&link, &DeviceLink::replied, this, &BatchWriter::onReply);
        if (options.verify)
            probeTimer->start();
        events.exec();
        probeTimer->stop();
        sendTimer->stop();
        disconnect(connection);
        loop = nullptr;
    }
    for (const State &state : qAsConst(states))
        results.append(state.result);
    return results;
}

void BatchWriter::enqueue(int index)
{
    State &state = states[index];
    if (state.queued || state.settled)
        return;
    state.queued = true;
    if (queue.empty())
        nextSlotNs = std::max(nextSlotNs, clock.nsecsElapsed());
    queue.push_back(index);
    if (!sendTimer->isActive())
        sendTimer->start(0);
}

void BatchWriter::sendDue()
{
    const qint64 interval = 1000 * NS_PER_MS / std::max(1, options.rate);
    const qint64 now = clock.nsecsElapsed();
    while (!queue.empty() && nextSlotNs <= now) {
        State &state = states[queue.front()];
        queue.pop_front();
        state.queued = false;
        const bool left = link.sendFrame(state.frame, state.interfaceIndex);
        state.lastSentNs = now;
        ++state.result.frames;
        nextSlotNs += interval;
        if (!options.verify)
            settle(state, left ? Outcome::Sent : Outcome::NotSent);
    }
    if (!queue.empty()) {
        sendTimer->start(int((nextSlotNs - now + NS_PER_MS - 1) / NS_PER_MS));
    } else if (options.verify && unsettled > 0) {
        probe(); // everything is written: ask at once
    }
}

void BatchWriter::probe()
{
    link.sendProbe();
    lastProbeNs = clock.nsecsElapsed();
}

void BatchWriter::onReply(const FoundDevice &device)
{
    const int index = byMac.value(device.record.mac, -1);
    if (index < 0)
        return;
    State &state = states[index];
    // Only an answer to a probe sent after the frame tells what it did.
    if (state.settled || state.queued || state.lastSentNs < 0 || lastProbeNs <= state.lastSentNs)
        return;
    if (sameSettings(state.result.sent, device.plaintext)) {
        state.result.reported = device.plaintext;
        settle(state, Outcome::Verified);
        return;
    }
    // A converter gets one probe interval to take a frame before its old
    // values count against it; an answer inside that interval says nothing,
    // so a converter that then falls silent has not answered.
    if (lastProbeNs - state.lastSentNs >= qint64(options.probeIntervalMs) * NS_PER_MS) {
        state.result.reported = device.plaintext;
        state.lastReplyNs = clock.nsecsElapsed();
        resendOrSettle(index, Outcome::Differs);
    }
}

void BatchWriter::checkDeadlines()
{
    const qint64 now = clock.nsecsElapsed();
    const qint64 timeout = qint64(options.verifyTimeoutMs) * NS_PER_MS;
    for (int i = 0; i < states.size(); ++i) {
        const State &state = states.at(i);
        if (state.settled || state.queued || state.lastSentNs < 0 ||
            now - state.lastSentNs < timeout)
            continue;
        resendOrSettle(i,
                       state.lastReplyNs > state.lastSentNs ? Outcome::Differs : Outcome::NoAnswer);
    }
}

void BatchWriter::resendOrSettle(int index, Outcome finalOutcome)
{
    State &state = states[index];
    if (state.result.frames <= options.retries) {
        ++retries;
        enqueue(index);
    } else {
        settle(state, finalOutcome);
    }
}

void BatchWriter::stopWaiting()
{
    for (State &state : states)
        settle(state, state.lastSentNs >= 0 ? Outcome::Sent : Outcome::NotSent);
    queue.clear();
}

void BatchWriter::settle(State &state, Outcome outcome)
{
    if (state.settled)
        return;
    state.settled = true;
    state.result.outcome = outcome;
    if (--unsettled == 0 && loop)
        loop->quit();
}
