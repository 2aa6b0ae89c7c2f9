// converter-cli's verified writes against a converter played in this
// process: what it does after a frame decides the outcome.
#include "batchwriter.h"
#include "devicelink.h"
#include "framecipher.h"
#include "privatenetwork.h"
#include "protocolconstants.h"
#include "windowharness.h"

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
    enum class After { Takes, StaleOnceThenSilent, KeepsOld, Silent };

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
            if (isConfigureFrame(datagram))
                framed = true;
            else if (isProbe(datagram))
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
        }
    }

    After after;
    DeviceRecord old, written;
    QUdpSocket listener;
    DeviceSocket reply;
    bool framed = false;
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
};

void TestBatchWriter::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
    FrameCipher::setKey(FRAME_KEY);
}

void TestBatchWriter::outcomes_data()
{
    QTest::addColumn<int>("after");
    QTest::addColumn<BatchWriter::Outcome>("outcome");
    using After = PlayedConverter::After;
    QTest::newRow("takes the frame") << int(After::Takes) << BatchWriter::Outcome::Verified;
    QTest::newRow("keeps its old values") << int(After::KeepsOld) << BatchWriter::Outcome::Differs;
    QTest::newRow("silent") << int(After::Silent) << BatchWriter::Outcome::NoAnswer;
    // Its one answer came too soon after the frame to say anything; then it
    // fell silent: it did not answer, it did not report old values.
    QTest::newRow("stale once, then silent")
        << int(After::StaleOnceThenSilent) << BatchWriter::Outcome::NoAnswer;
}

void TestBatchWriter::outcomes()
{
    QFETCH(int, after);
    QFETCH(BatchWriter::Outcome, outcome);
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
    options.retries = 0;
    options.probeIntervalMs = 300;
    BatchWriter writer(link, options);
    const QVector<BatchWriter::Result> results = writer.run({{device, replyPlaintext(written)}});
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.first().outcome, outcome);
    QCOMPARE(results.first().frames, 1);
}

QTEST_MAIN(TestBatchWriter)
#include "tst_batchwriter.moc"
