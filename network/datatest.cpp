#include "datatest.h"

#include "phrase.h"

#include "datapath.h"
#include "serialline.h"
#include "settingfields.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTimer>

#include <memory>

namespace {

// The echo is over once nothing more has come for this long.
constexpr int IDLE_MS = 300;
// UDP goes in datagrams of this size, at the line's pace, so that a
// converter's serial buffer is never flooded.
constexpr int DATAGRAM = 512;

class OneTest : public QObject
{
public:
    OneTest(const FoundDevice &device, const DataTestOptions &options,
            const QList<QHostAddress> &ours)
        : options(options), frame(device.plaintext)
    {
        r.mac = device.record.mac;
        r.ip = SettingFields::text(frame, SettingFields::Field::Ip);
        path = new DataPath(routeTo(frame, ours), this);
        r.where = path->route().where();
        rate = SerialLine::charactersPerSecond(frame);
        connect(path, &DataPath::opened, this, &OneTest::opened);
        connect(path, &DataPath::failed, this, &OneTest::failed);
        connect(path, &DataPath::received, this, &OneTest::received);
        ticker.setInterval(50);
        connect(&ticker, &QTimer::timeout, this, &OneTest::check);
    }

    void start(const std::function<void()> &whenDone)
    {
        done = whenDone;
        path->open(options.timeoutMs);
    }

    DataTestResult r;

private:
    void finish(const QString &result, const QString &message = QString())
    {
        if (!done)
            return;
        ticker.stop();
        r.result = result;
        r.message = message;
        const auto call = done;
        done = nullptr;
        call();
    }

    void opened()
    {
        if (!options.loopback)
            return finish(QStringLiteral("connected"));
        pattern = testPattern(options.bytes, r.mac);
        clock.start();
        ticker.start();
        if (path->route().tcp) {
            r.sent = pattern.size();
            path->send(pattern);
        } else {
            sendNextDatagram();
        }
    }

    void sendNextDatagram()
    {
        if (!done || r.sent >= pattern.size())
            return;
        const QByteArray chunk = pattern.mid(r.sent, DATAGRAM);
        path->send(chunk);
        r.sent += chunk.size();
        const int pause = rate > 0 ? int(chunk.size() * 1000 / rate) : 0;
        QTimer::singleShot(pause, this, &OneTest::sendNextDatagram);
    }

    void received(const QByteArray &bytes)
    {
        if (pattern.isEmpty() || !done)
            return;
        if (r.received == 0) {
            r.roundTripMs = clock.nsecsElapsed() / 1e6;
            firstAt = clock.nsecsElapsed();
            firstChunk = bytes.size();
        }
        for (const char byte : bytes) {
            if (r.firstWrong < 0 &&
                (r.received >= pattern.size() || byte != pattern.at(r.received)))
                r.firstWrong = r.received;
            ++r.received;
        }
        lastAt = clock.nsecsElapsed();
        if (r.received >= pattern.size() && r.sent >= pattern.size())
            judge();
    }

    void check()
    {
        const double lineMs = rate > 0 ? pattern.size() * 1000.0 / rate : 0;
        const qint64 nowMs = clock.elapsed();
        if ((r.received > 0 && (clock.nsecsElapsed() - lastAt) / 1000000 > IDLE_MS) ||
            nowMs > options.timeoutMs + 2 * lineMs)
            judge();
    }

    void judge(const QString &lost = QString())
    {
        // The line's pace: from the first byte back to the last, so that the
        // round trip (given apart) does not count against it.
        if (r.received > firstChunk && lastAt > firstAt)
            r.bytesPerSecond = (r.received - firstChunk) / ((lastAt - firstAt) / 1e9);
        else if (r.received > 0 && lastAt > 0)
            r.bytesPerSecond = r.received / (lastAt / 1e9);
        r.lineShare = rate > 0 ? r.bytesPerSecond / rate : 0;
        if (r.received == pattern.size() && r.firstWrong < 0 && lost.isEmpty())
            return finish(QStringLiteral("loopback-ok"));
        QStringList why;
        if (r.received < r.sent)
            why << Phrase::translate("datatest", "%1 bytes missing").arg(r.sent - r.received);
        else if (r.received > r.sent)
            why << Phrase::translate("datatest", "%1 bytes too many").arg(r.received - r.sent);
        if (r.firstWrong >= 0 && r.firstWrong < r.sent)
            why << Phrase::translate("datatest", "the first wrong byte at offset %1 (wrong baud, "
                                                 "parity or framing?)")
                       .arg(r.firstWrong);
        why << lost;
        why.removeAll(QString());
        finish(QStringLiteral("loopback-failed"), why.join(QStringLiteral("; ")));
    }

    void failed(DataPath::Failure failure, const QString &message)
    {
        if (failure == DataPath::Failure::Lost && !pattern.isEmpty())
            return judge(message);
        if (path->route().kind == DataRoute::Kind::Untested)
            return finish(QStringLiteral("untested"), message);
        finish(failure == DataPath::Failure::Refused ? QStringLiteral("refused")
                                                     : QStringLiteral("unreachable"),
               message);
    }

    DataTestOptions options;
    QByteArray frame;
    DataPath *path = nullptr;
    double rate = 0;
    QByteArray pattern;
    QElapsedTimer clock;
    qint64 firstAt = 0; // ns after the pattern started
    qint64 lastAt = 0;
    int firstChunk = 0; // bytes that came with the first
    QTimer ticker;
    std::function<void()> done;
};

} // namespace

QByteArray testPattern(int size, const QString &mac)
{
    QRandomGenerator random(
        quint32(mac.toULongLong(nullptr, 16) ^ (mac.toULongLong(nullptr, 16) >> 32)));
    QByteArray pattern(size, '\0');
    for (char &byte : pattern)
        byte = char(random.bounded(256));
    return pattern;
}

QVector<DataTestResult> testDataPaths(const QVector<FoundDevice> &devices,
                                      const DataTestOptions &options)
{
    const QList<QHostAddress> ours = QNetworkInterface::allAddresses();
    std::vector<std::unique_ptr<OneTest>> tests;
    for (const FoundDevice &device : devices)
        tests.push_back(std::make_unique<OneTest>(device, options, ours));
    QEventLoop loop;
    int next = 0, running = 0;
    std::function<void()> startMore = [&] {
        while (running < qMax(1, options.parallel) && next < int(tests.size())) {
            ++running;
            tests.at(size_t(next++))->start([&] {
                --running;
                QTimer::singleShot(0, &loop, startMore);
            });
        }
        if (running == 0 && next == int(tests.size()))
            loop.quit();
    };
    QTimer::singleShot(0, &loop, startMore);
    if (!tests.empty())
        loop.exec();
    QVector<DataTestResult> results;
    for (const auto &test : tests)
        results << test->r;
    return results;
}
