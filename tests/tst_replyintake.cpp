#include "configureframe.h"
#include "deviceframe.h"
#include "framechecksum.h"
#include "framecipher.h"
#include "protocolconstants.h"
#include "replyintake.h"

#include <QtTest>

using ReplyIntake::Verdict;
Q_DECLARE_METATYPE(ReplyIntake::Verdict)
Q_DECLARE_METATYPE(ConfigureFrame::Field)

namespace {

QByteArray encrypt(QByteArray frame)
{
    FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(frame.data()), frame.size());
    return frame;
}

QByteArray withChecksum(QByteArray frame)
{
    FrameChecksum::store(reinterpret_cast<std::uint8_t *>(frame.data()));
    return frame;
}

// A reply plaintext: MAC, version 1.2, name "ABC", 8N1 at 9600.
QByteArray replyPlain()
{
    QByteArray f(64, '\0');
    f.replace(0, 6, QByteArray::fromHex("001A2B3C4D5E"));
    f[6] = 0x12;
    f.replace(10, 3, "ABC");
    f.replace(42, 4, QByteArray::fromHex("80250003"));
    return withChecksum(f);
}

// The form of the configure example: TCP client, static 192.168.1.8/24 via
// 192.168.1.1, local port 1234, remote 192.168.1.254:1234, 9600 8N1.
DeviceRecord exampleRecord()
{
    DeviceRecord r = DeviceFrame::decodeReply(replyPlain(), QStringLiteral("192.168.1.8"));
    r.mode = 1;
    r.ipType = 0;
    r.lip = QStringLiteral("192.168.1.8");
    r.subnet = QStringLiteral("255.255.255.0");
    r.gaw = QStringLiteral("192.168.1.1");
    r.lport = QStringLiteral("1234");
    r.sip = QStringLiteral("192.168.1.254");
    r.sport = QStringLiteral("1234");
    r.baud = QStringLiteral("9600");
    r.parity = 0;
    r.dataBit = 1;
    r.stopBit = 0;
    return r;
}

} // namespace

class TestReplyIntake : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void verdicts_data();
    void verdicts();
    void acceptedPlaintextIsTheDecryptedFrame();
    void logLine_data();
    void logLine();
    void deviceIp_data();
    void deviceIp();

    void configureExampleBytes();
    void configureFrameCarriesIdentityAndTail();
    void sameSettingsShareFirstThreeBlocks();
    void ownConfigureFrameIsDroppedAsEcho();
    void unsendableFields_data();
    void unsendableFields();
    void reportedValuesAlwaysSend_data();
    void reportedValuesAlwaysSend();
    void target_data();
    void target();
};

void TestReplyIntake::initTestCase()
{
    FrameCipher::setKey(FRAME_KEY);
}

void TestReplyIntake::verdicts_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("port");
    QTest::addColumn<Verdict>("verdict");

    const QByteArray reply = encrypt(replyPlain());
    QByteArray configure = replyPlain();
    configure.replace(6, 4, "1111");
    QByteArray lookalike = replyPlain(); // version byte 0x31, then "111"
    lookalike.replace(6, 4, "1111");
    QByteArray otherKey = replyPlain();
    const std::uint8_t otherKeyBytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    FrameCipher::setKey(otherKeyBytes);
    FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(otherKey.data()), 64);
    FrameCipher::setKey(FRAME_KEY);
    QByteArray damaged = reply;
    damaged[20] = char(damaged.at(20) ^ 0x01);

    QTest::newRow("probe") << QByteArray("FFFF") << 1500 << Verdict::Probe;
    QTest::newRow("probe with more bytes") << QByteArray("FFFFxyz") << 1500 << Verdict::Probe;
    QTest::newRow("probe from another port") << QByteArray("FFFF") << 1501 << Verdict::Probe;
    QTest::newRow("empty") << QByteArray() << 1500 << Verdict::WrongSize;
    QTest::newRow("three bytes FFF") << QByteArray("FFF") << 1500 << Verdict::WrongSize;
    QTest::newRow("reply from port 1501") << reply << 1501 << Verdict::ForeignPort;
    QTest::newRow("reply from port 0") << reply << 0 << Verdict::ForeignPort;
    QTest::newRow("63 bytes") << reply.left(63) << 1500 << Verdict::WrongSize;
    QTest::newRow("65 bytes") << reply + 'x' << 1500 << Verdict::WrongSize;
    QTest::newRow("plaintext reply") << replyPlain() << 1500 << Verdict::BadChecksum;
    QTest::newRow("another key") << otherKey << 1500 << Verdict::BadChecksum;
    QTest::newRow("damaged") << damaged << 1500 << Verdict::BadChecksum;
    QTest::newRow("configure tag")
        << encrypt(withChecksum(configure)) << 1500 << Verdict::ConfigureEcho;
    QTest::newRow("version 0x31 and 111")
        << encrypt(withChecksum(lookalike)) << 1500 << Verdict::ConfigureEcho;
    QTest::newRow("genuine reply") << reply << 1500 << Verdict::Accepted;
}

void TestReplyIntake::verdicts()
{
    QFETCH(QByteArray, datagram);
    QFETCH(int, port);
    QFETCH(Verdict, verdict);
    const ReplyIntake::Result result = ReplyIntake::examine(datagram, quint16(port));
    QCOMPARE(result.verdict, verdict);
    QCOMPARE(ReplyIntake::decrypted(result.verdict), !result.plaintext.isEmpty());
}

void TestReplyIntake::acceptedPlaintextIsTheDecryptedFrame()
{
    const ReplyIntake::Result result = ReplyIntake::examine(encrypt(replyPlain()), 1500);
    QCOMPARE(result.plaintext, replyPlain());
}

void TestReplyIntake::logLine_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QString>("line");
    QTest::newRow("probe") << "::ffff:127.0.0.1" << 1500 << QByteArray("FFFF")
                           << "::ffff:127.0.0.1:1500[4]:46464646";
    QTest::newRow("empty") << "::ffff:10.0.0.2" << 40000 << QByteArray()
                           << "::ffff:10.0.0.2:40000[0]:";
    QTest::newRow("IPv6 scope") << "fe80::1%1" << 1500 << QByteArray("\x01", 1)
                                << "fe80::1%1:1500[1]:01";
    QTest::newRow("upper case") << "192.168.1.7" << 1500 << QByteArray::fromHex("00abff0a")
                                << "192.168.1.7:1500[4]:00ABFF0A";
}

void TestReplyIntake::logLine()
{
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(QByteArray, datagram);
    QFETCH(QString, line);
    QCOMPARE(ReplyIntake::datagramLogLine(address, quint16(port), datagram), line);
}

void TestReplyIntake::deviceIp_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("deviceIp");
    QTest::newRow("mapped") << "::ffff:192.168.1.7"
                            << "192.168.1.7";
    QTest::newRow("plain IPv4") << "192.168.1.7"
                                << "192.168.1.7";
    QTest::newRow("IPv6") << "fe80::1"
                          << "fe80::1";
    QTest::newRow("empty") << ""
                           << "";
}

void TestReplyIntake::deviceIp()
{
    QFETCH(QString, sender);
    QFETCH(QString, deviceIp);
    QCOMPARE(ReplyIntake::deviceIpFromSender(sender), deviceIp);
}

void TestReplyIntake::configureExampleBytes()
{
    const QByteArray plain = ConfigureFrame::plaintext(exampleRecord(), 1234);
    QCOMPARE(plain.mid(20, 26).toHex(' ').toUpper(),
             QByteArray("00 01 00 FF FF FF 01 01 A8 C0 08 01 A8 C0 D2 04 FE 01 A8 C0 D2 04 80 25 "
                        "00 03"));
}

void TestReplyIntake::configureFrameCarriesIdentityAndTail()
{
    for (uint seed : {0u, 1u, 30000u, 59999u}) {
        const QByteArray wire = ConfigureFrame::build(exampleRecord(), seed);
        QCOMPARE(wire.size(), 64);
        QByteArray plain = wire;
        FrameCipher::decrypt(reinterpret_cast<std::uint8_t *>(plain.data()), 64);
        QCOMPARE(plain, ConfigureFrame::plaintext(exampleRecord(), seed));
        QCOMPARE(plain.left(6).toHex().toUpper(), QByteArray("001A2B3C4D5E"));
        QCOMPARE(plain.mid(6, 4), QByteArray("1111"));
        QCOMPARE(plain.mid(10, 10), QByteArray("ABC\0\0\0\0\0\0\0", 10));
        QCOMPARE(plain.mid(46, 4), QByteArray(4, '\0'));
        QVERIFY(FrameChecksum::isValid(reinterpret_cast<const std::uint8_t *>(plain.constData())));
        QVERIFY2(!plain.mid(52).contains('\xFF'), plain.mid(52).toHex().constData());
    }
    // Over many seeds the tail takes values up to 254 and never 255.
    QSet<int> seen;
    for (uint seed = 0; seed < 60000; seed += 7) {
        const QByteArray tail = ConfigureFrame::plaintext(exampleRecord(), seed).mid(52);
        for (char c : tail)
            seen.insert(quint8(c));
    }
    QVERIFY(!seen.contains(255));
    QVERIFY(seen.contains(254));
    QVERIFY(seen.contains(0));
}

void TestReplyIntake::sameSettingsShareFirstThreeBlocks()
{
    const QByteArray first = ConfigureFrame::build(exampleRecord(), 100);
    const QByteArray second = ConfigureFrame::build(exampleRecord(), 101);
    QCOMPARE(first.left(48), second.left(48));
    QVERIFY(first.mid(48) != second.mid(48));
    QCOMPARE(ConfigureFrame::build(exampleRecord(), 100), first);
}

void TestReplyIntake::ownConfigureFrameIsDroppedAsEcho()
{
    const QByteArray wire = ConfigureFrame::build(exampleRecord(), 42);
    QCOMPARE(ReplyIntake::examine(wire, 1500).verdict, Verdict::ConfigureEcho);
}

void TestReplyIntake::unsendableFields_data()
{
    using F = ConfigureFrame::Field;
    QTest::addColumn<QString>("lip");
    QTest::addColumn<QString>("lport");
    QTest::addColumn<QString>("sport");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("gaw");
    QTest::addColumn<F>("field");
    const QString ip = QStringLiteral("192.168.1.8");
    QTest::newRow("all good") << ip << "1234"
                              << "1234"
                              << "9600" << ip << F::None;
    QTest::newRow("half-typed address") << "192.168"
                                        << "1234"
                                        << "1234"
                                        << "9600" << ip << F::Lip;
    QTest::newRow("empty address") << ""
                                   << "1234"
                                   << "1234"
                                   << "9600" << ip << F::Lip;
    QTest::newRow("octet 256") << "192.168.1.256"
                               << "1234"
                               << "1234"
                               << "9600" << ip << F::Lip;
    QTest::newRow("five parts") << "1.2.3.4.5"
                                << "1234"
                                << "1234"
                                << "9600" << ip << F::Lip;
    QTest::newRow("trailing dot") << "1.2.3."
                                  << "1234"
                                  << "1234"
                                  << "9600" << ip << F::Lip;
    QTest::newRow("signed octet") << "+1.2.3.4"
                                  << "1234"
                                  << "1234"
                                  << "9600" << ip << F::Lip;
    QTest::newRow("gateway") << ip << "1234"
                             << "1234"
                             << "9600"
                             << "10.0.0" << F::Gaw;
    QTest::newRow("port 65536") << ip << "65536"
                                << "1234"
                                << "9600" << ip << F::Lport;
    QTest::newRow("empty port") << ip << ""
                                << "1234"
                                << "9600" << ip << F::Lport;
    QTest::newRow("remote port") << ip << "1234"
                                 << "99999"
                                 << "9600" << ip << F::Sport;
    QTest::newRow("empty baud") << ip << "1234"
                                << "1234"
                                << "" << ip << F::Baud;
    QTest::newRow("baud 2^24") << ip << "1234"
                               << "1234"
                               << "16777216" << ip << F::Baud;
    QTest::newRow("baud blank") << ip << "1234"
                                << "1234"
                                << " 9600" << ip << F::Baud;
    QTest::newRow("leading zeros pass") << "010.001.001.001"
                                        << "01234"
                                        << "1234"
                                        << "9600" << ip << F::None;
    QTest::newRow("first in form order") << "1.2"
                                         << ""
                                         << ""
                                         << ""
                                         << "" << F::Lip;
}

void TestReplyIntake::unsendableFields()
{
    QFETCH(QString, lip);
    QFETCH(QString, lport);
    QFETCH(QString, sport);
    QFETCH(QString, baud);
    QFETCH(QString, gaw);
    QFETCH(ConfigureFrame::Field, field);
    DeviceRecord r = exampleRecord();
    r.lip = lip;
    r.lport = lport;
    r.sport = sport;
    r.baud = baud;
    r.gaw = gaw;
    QCOMPARE(ConfigureFrame::firstUnsendable(r), field);
}

void TestReplyIntake::reportedValuesAlwaysSend_data()
{
    QTest::addColumn<QByteArray>("fields"); // bytes 20 to 45 of a reply
    QTest::newRow("all zero") << QByteArray(26, '\0');
    QTest::newRow("all ones") << QByteArray(26, '\xFF');
    QTest::newRow("server, random port") << QByteArray::fromHex("0103"
                                                                "00FFFFFF"
                                                                "0101A8C0"
                                                                "0801A8C0"
                                                                "0000"
                                                                "00000000"
                                                                "0000"
                                                                "00C201"
                                                                "03");
}

void TestReplyIntake::reportedValuesAlwaysSend()
{
    QFETCH(QByteArray, fields);
    QByteArray reply = replyPlain();
    reply.replace(20, 26, fields);
    const DeviceRecord r = DeviceFrame::decodeReply(withChecksum(reply), QString());
    QCOMPARE(ConfigureFrame::firstUnsendable(r), ConfigureFrame::Field::None);
    // And the frame gives the converter back exactly what it reported.
    QCOMPARE(ConfigureFrame::plaintext(r, 7).mid(22, 23), reply.mid(22, 23));
}

void TestReplyIntake::target_data()
{
    QTest::addColumn<QString>("mac");
    QTest::addColumn<bool>("sendable");
    QTest::newRow("twelve digits") << "001A2B3C4D5E" << true;
    QTest::newRow("null") << QString() << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("eleven") << "001A2B3C4D5" << false;
    QTest::newRow("thirteen") << "001A2B3C4D5E0" << false;
}

void TestReplyIntake::target()
{
    QFETCH(QString, mac);
    QFETCH(bool, sendable);
    DeviceRecord r = exampleRecord();
    r.mac = mac;
    QCOMPARE(ConfigureFrame::hasTarget(r), sendable);
}

QTEST_APPLESS_MAIN(TestReplyIntake)
#include "tst_replyintake.moc"
