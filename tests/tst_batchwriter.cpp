// converter-cli's verified writes against a converter played in this
// process: what it does after a frame decides the outcome.
#include "batchwriter.h"
#include "devicelink.h"
#include "framecipher.h"
#include "privatenetwork.h"
#include "protocolconstants.h"
#include "windowharness.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

Q_DECLARE_METATYPE(BatchWriter::Outcome)

namespace {

// Answers probes from 127.0.0.9: before a frame with its old settings; after
// one as its behaviour says.
class PlayedConverter : public QObject
{
public:
    enum class After { Takes, StaleOnceThenSilent, KeepsOld, Silent, TakesSecond };

    PlayedConverter(After after, const DeviceRecord &old, const DeviceRecord &written)
        : after(after), old(old), written(written), reply(QStringLiteral("127.0.0.9"), DEVICE_PORT)
    {
        listener.bind(QHostAddress::AnyIPv4, DEVICE_PORT,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
        connect(&listener, &QUdpSocket::readyRead, this, &PlayedConverter::read);
    }

private:
    void read()
    {
        while (listener.hasPendingDatagrams()) {
            const QByteArray datagram = listener.receiveDatagram().data();
            if (isConfigureFrame(datagram)) {
                framed = true;
                ++frames;
            } else if (isProbe(datagram))
                answer();
        }
    }

    void answer()
    {
        if (!framed) {
            reply.broadcast(replyDatagram(old));
            return;
        }
        ++probesAfterFrame;
        switch (after) {
        case After::Takes:
            reply.broadcast(replyDatagram(written));
            break;
        case After::StaleOnceThenSilent:
            if (probesAfterFrame == 1)
                reply.broadcast(replyDatagram(old));
            break;
        case After::KeepsOld:
            reply.broadcast(replyDatagram(old));
            break;
        case After::Silent:
            break;
        case After::TakesSecond: // ignores the first frame, takes the one sent again
            reply.broadcast(replyDatagram(frames >= 2 ? written : old));
            break;
        }
    }

    After after;
    DeviceRecord old, written;
    QUdpSocket listener;
    DeviceSocket reply;
    bool framed = false;
    int frames = 0;
    int probesAfterFrame = 0;
};

} // namespace

class TestBatchWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void outcomes_data();
    void outcomes();
    void stopWaitingSettlesAtOnce();
};

void TestBatchWriter::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
    FrameCipher::setKey(FRAME_KEY);
}

void TestBatchWriter::outcomes_data()
{
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("retries");
    QTest::addColumn<BatchWriter::Outcome>("outcome");
    QTest::addColumn<int>("frames");
    using After = PlayedConverter::After;
    using Outcome = BatchWriter::Outcome;
    QTest::newRow("takes the frame") << int(After::Takes) << 0 << Outcome::Verified << 1;
    QTest::newRow("keeps its old values") << int(After::KeepsOld) << 0 << Outcome::Differs << 1;
    QTest::newRow("silent") << int(After::Silent) << 0 << Outcome::NoAnswer << 1;
    // Its one answer came too soon after the frame to say anything; then it
    // fell silent: it did not answer, it did not report old values.
    QTest::newRow("stale once, then silent")
        << int(After::StaleOnceThenSilent) << 0 << Outcome::NoAnswer << 1;
    // Retries: a frame again for each old answer or silent timeout, no more.
    QTest::newRow("takes the second frame")
        << int(After::TakesSecond) << 2 << Outcome::Verified << 2;
    QTest::newRow("keeps old values, twice again")
        << int(After::KeepsOld) << 2 << Outcome::Differs << 3;
    QTest::newRow("silent, once again") << int(After::Silent) << 1 << Outcome::NoAnswer << 2;
}

void TestBatchWriter::outcomes()
{
    QFETCH(int, after);
    QFETCH(int, retries);
    QFETCH(BatchWriter::Outcome, outcome);
    QFETCH(int, frames);
    const DeviceRecord old = sampleDevice(QStringLiteral("02AB0000F00D"));
    DeviceRecord written = old;
    written.baud = QStringLiteral("4800");
    PlayedConverter converter(PlayedConverter::After(after), old, written);

    DeviceLink link;
    QString error;
    QVERIFY2(link.open({LinkInterface()}, &error), qPrintable(error));
    FoundDevice device;
    device.record = old;
    device.plaintext = replyPlaintext(old);
    BatchWriter::Options options;
    options.verifyTimeoutMs = 1200;
    options.retries = retries;
    options.probeIntervalMs = 300;
    BatchWriter writer(link, options);
    QElapsedTimer clock;
    clock.start();
    const QVector<BatchWriter::Result> results = writer.run({{device, replyPlaintext(written)}});
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.first().outcome, outcome);
    QCOMPARE(results.first().frames, frames);
    QCOMPARE(writer.retriesSent(), frames - 1);
    // A silent converter is given the whole verify time after each frame.
    if (outcome == BatchWriter::Outcome::NoAnswer && after == int(PlayedConverter::After::Silent))
        QVERIFY(clock.elapsed() >= frames * options.verifyTimeoutMs);
}

// What a closing console asks: a frame that left is Sent, one still queued
// NotSent, and the run returns without waiting out the verify time.
void TestBatchWriter::stopWaitingSettlesAtOnce()
{
    const DeviceRecord old = sampleDevice(QStringLiteral("02AB0000F00D"));
    DeviceRecord written = old;
    written.baud = QStringLiteral("4800");
    PlayedConverter converter(PlayedConverter::After::Silent, old, written);
    DeviceLink link;
    QString error;
    QVERIFY2(link.open({LinkInterface()}, &error), qPrintable(error));
    FoundDevice first, second;
    first.record = old;
    first.plaintext = replyPlaintext(old);
    second = first;
    second.record.mac = QStringLiteral("02AB0000F00E");
    BatchWriter::Options options;
    options.rate = 1; // the second frame would leave a second after the first
    options.verifyTimeoutMs = 3600000;
    BatchWriter writer(link, options);
    QTimer::singleShot(300, &writer, &BatchWriter::stopWaiting);
    const QVector<BatchWriter::Result> results =
        writer.run({{first, replyPlaintext(written)}, {second, replyPlaintext(written)}});
    QCOMPARE(results.size(), 2);
    QCOMPARE(results.at(0).outcome, BatchWriter::Outcome::Sent);
    QCOMPARE(results.at(0).frames, 1);
    QCOMPARE(results.at(1).outcome, BatchWriter::Outcome::NotSent);
    QCOMPARE(results.at(1).frames, 0);
}

QTEST_MAIN(TestBatchWriter)
#include "tst_batchwriter.moc"
