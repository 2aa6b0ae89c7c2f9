#include "deviceframe.h"
#include "framechecksum.h"

#include <QtTest>

namespace {

// A plausible reply: every field set, ASCII name padded with zeros.
QByteArray sampleReply()
{
    QByteArray f(64, '\0');
    const QByteArray fields = QByteArray::fromHex("001A2B3C4D5E"         // MAC
                                                  "12000000"             // version, unused
                                                  "434F4E56455254455231" // name, ten bytes
                                                  "0001"                 // ip type, mode
                                                  "00FFFFFF"             // subnet
                                                  "0101A8C0"             // gateway
                                                  "0801A8C0"             // own address
                                                  "D204"                 // local port
                                                  "FE01A8C0"             // remote address
                                                  "D204"                 // remote port
                                                  "00C201"               // baud
                                                  "0F");                 // serial settings
    f.replace(0, fields.size(), fields);
    FrameChecksum::store(reinterpret_cast<std::uint8_t *>(f.data()));
    return f;
}

QByteArray withBytes(QByteArray frame, int offset, const char *hexBytes)
{
    const QByteArray b = QByteArray::fromHex(hexBytes);
    frame.replace(offset, b.size(), b);
    return frame;
}

QByteArray encoded(const DeviceRecord &record)
{
    QByteArray frame(64, '\xEE');
    DeviceFrame::encodeRequest(record, frame);
    return frame;
}

} // namespace

class TestDeviceFrame : public QObject
{
    Q_OBJECT

private slots:
    void decodeFields();
    void decodeSerialSettings_data();
    void decodeSerialSettings();
    void decodeNumbers_data();
    void decodeNumbers();
    void decodeName_data();
    void decodeName();
    void encodeAddress_data();
    void encodeAddress();
    void encodeNumbers_data();
    void encodeNumbers();
    void encodeSerialSettings_data();
    void encodeSerialSettings();
    void encodeFixedParts();
    void roundTrip();
    void reportedNameBytesAreSentBack_data();
    void reportedNameBytesAreSentBack();
    void unreportedNameIsCutOnCharacterBoundary_data();
    void unreportedNameIsCutOnCharacterBoundary();
    void shortInputIsSafe();
};

void TestDeviceFrame::decodeFields()
{
    const DeviceRecord r = DeviceFrame::decodeReply(sampleReply(), QStringLiteral("192.168.1.7"));
    QCOMPARE(r.deviceIp, QStringLiteral("192.168.1.7"));
    QCOMPARE(r.mac, QStringLiteral("001A2B3C4D5E"));
    QCOMPARE(r.version, QStringLiteral("1.2"));
    QCOMPARE(r.deviceName, QStringLiteral("CONVERTER1"));
    QCOMPARE(r.ipType, 0);
    QCOMPARE(r.mode, 1);
    QCOMPARE(r.subnet, QStringLiteral("255.255.255.0"));
    QCOMPARE(r.gaw, QStringLiteral("192.168.1.1"));
    QCOMPARE(r.lip, QStringLiteral("192.168.1.8"));
    QCOMPARE(r.lport, QStringLiteral("1234"));
    QCOMPARE(r.random, false);
    QCOMPARE(r.sip, QStringLiteral("192.168.1.254"));
    QCOMPARE(r.sport, QStringLiteral("1234"));
    QCOMPARE(r.baud, QStringLiteral("115200"));
    QCOMPARE(r.dataBit, 1);
    QCOMPARE(r.stopBit, 1);
    QCOMPARE(r.parity, 1);

    const DeviceRecord masked =
        DeviceFrame::decodeReply(withBytes(sampleReply(), 20, "0306"), QString());
    QCOMPARE(masked.ipType, 1);
    QCOMPARE(masked.mode, 2);
    QCOMPARE(DeviceFrame::decodeReply(withBytes(sampleReply(), 6, "1A"), QString()).version,
             QStringLiteral("1.10"));
}

void TestDeviceFrame::decodeSerialSettings_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<int>("dataBit");
    QTest::addColumn<int>("stopBit");
    QTest::addColumn<int>("parity");
    QTest::newRow("8N1") << QByteArray("03") << 1 << 0 << 0;
    QTest::newRow("7E1") << QByteArray("1A") << 0 << 0 << 2;
    QTest::newRow("8O2") << QByteArray("0F") << 1 << 1 << 1;
    QTest::newRow("word bits 0") << QByteArray("00") << 1 << 0 << 0;
    QTest::newRow("word bits 1") << QByteArray("01") << 1 << 0 << 0;
    QTest::newRow("parity 0x28") << QByteArray("2B") << 1 << 0 << 0;
    QTest::newRow("parity 0x38") << QByteArray("3B") << 1 << 0 << 0;
    QTest::newRow("high bits ignored") << QByteArray("DE") << 0 << 1 << 2;
}

void TestDeviceFrame::decodeSerialSettings()
{
    QFETCH(QByteArray, byte);
    QFETCH(int, dataBit);
    QFETCH(int, stopBit);
    QFETCH(int, parity);
    const DeviceRecord r =
        DeviceFrame::decodeReply(withBytes(sampleReply(), 45, byte.constData()), QString());
    QCOMPARE(r.dataBit, dataBit);
    QCOMPARE(r.stopBit, stopBit);
    QCOMPARE(r.parity, parity);
}

void TestDeviceFrame::decodeNumbers_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("lport");
    QTest::addColumn<bool>("random");
    QTest::addColumn<QString>("baud");
    QTest::newRow("random port") << 34 << QByteArray("0000") << "0" << true << "115200";
    QTest::newRow("port 1234") << 34 << QByteArray("D204") << "1234" << false << "115200";
    QTest::newRow("port 65535") << 34 << QByteArray("FFFF") << "65535" << false << "115200";
    QTest::newRow("baud 115200") << 42 << QByteArray("00C201") << "1234" << false << "115200";
    QTest::newRow("baud max") << 42 << QByteArray("FFFFFF") << "1234" << false << "16777215";
    QTest::newRow("baud 9600") << 42 << QByteArray("802500") << "1234" << false << "9600";
}

void TestDeviceFrame::decodeNumbers()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, lport);
    QFETCH(bool, random);
    QFETCH(QString, baud);
    const DeviceRecord r =
        DeviceFrame::decodeReply(withBytes(sampleReply(), offset, bytes.constData()), QString());
    QCOMPARE(r.lport, lport);
    QCOMPARE(r.random, random);
    QCOMPARE(r.baud, baud);
}

void TestDeviceFrame::decodeName_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("padded") << QByteArray("ABC\0\0\0\0\0\0\0", 10) << "ABC";
    QTest::newRow("ten bytes") << QByteArray("ABCDEFGHIJ") << "ABCDEFGHIJ";
    QTest::newRow("empty") << QByteArray(10, '\0') << "";
    QTest::newRow("stops at first zero") << QByteArray("AB\0CD\0\0\0\0\0", 10) << "AB";
    QTest::newRow("utf-8") << QByteArray("\xE8\xAE\xBE\xE5\xA4\x87\0\0\0\0", 10)
                           << QString::fromUtf8("\xE8\xAE\xBE\xE5\xA4\x87");
}

void TestDeviceFrame::decodeName()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, name);
    QByteArray frame = sampleReply();
    frame.replace(10, 10, field);
    QCOMPARE(DeviceFrame::decodeReply(frame, QString()).deviceName, name);
}

void TestDeviceFrame::encodeAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("plain") << "192.168.1.7" << QByteArray("0701a8c0") << "192.168.1.7";
    QTest::newRow("leading zeros") << "010.001.001.001" << QByteArray("0101010a") << "10.1.1.1";
    QTest::newRow("octet over 255 keeps low bits")
        << "1.2.3.300" << QByteArray("2c030201") << "1.2.3.44";
    // An unfinished address: missing parts count as 0, extras are ignored.
    QTest::newRow("two parts") << "192.168" << QByteArray("0000a8c0") << "192.168.0.0";
    QTest::newRow("one part") << "7" << QByteArray("00000007") << "7.0.0.0";
    QTest::newRow("empty") << "" << QByteArray("00000000") << "0.0.0.0";
    QTest::newRow("five parts") << "1.2.3.4.5" << QByteArray("04030201") << "1.2.3.4";
    QTest::newRow("not numbers") << "a.b..d" << QByteArray("00000000") << "0.0.0.0";
}

void TestDeviceFrame::encodeAddress()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    const int offsets[] = {22, 26, 30, 36};
    for (int offset : offsets) {
        DeviceRecord r = DeviceFrame::decodeReply(sampleReply(), QString());
        QString *field = offset == 22   ? &r.subnet
                         : offset == 26 ? &r.gaw
                         : offset == 30 ? &r.lip
                                        : &r.sip;
        *field = text;
        const QByteArray frame = encoded(r);
        QCOMPARE(frame.mid(offset, 4).toHex(), bytes);
        quint8 field4[4];
        for (int i = 0; i < 4; ++i)
            field4[i] = quint8(frame.at(offset + i));
        QCOMPARE(DeviceFrame::getAddress(field4), decoded);
    }
}

void TestDeviceFrame::encodeNumbers_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QByteArray>("portBytes");
    QTest::addColumn<QByteArray>("baudBytes");
    QTest::newRow("typical") << "1234"
                             << "9600" << QByteArray("d204") << QByteArray("802500");
    QTest::newRow("fast") << "65535"
                          << "115200" << QByteArray("ffff") << QByteArray("00c201");
    QTest::newRow("port 70000 keeps low 16 bits")
        << "70000"
        << "16777215" << QByteArray("7011") << QByteArray("ffffff");
    QTest::newRow("not numbers") << "abc"
                                 << "" << QByteArray("0000") << QByteArray("000000");
}

void TestDeviceFrame::encodeNumbers()
{
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(QByteArray, portBytes);
    QFETCH(QByteArray, baudBytes);
    DeviceRecord r = DeviceFrame::decodeReply(sampleReply(), QString());
    r.lport = port;
    r.sport = port;
    r.baud = baud;
    const QByteArray frame = encoded(r);
    QCOMPARE(frame.mid(34, 2).toHex(), portBytes);
    QCOMPARE(frame.mid(40, 2).toHex(), portBytes);
    QCOMPARE(frame.mid(42, 3).toHex(), baudBytes);
}

void TestDeviceFrame::encodeSerialSettings_data()
{
    QTest::addColumn<int>("dataBit");
    QTest::addColumn<int>("stopBit");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("byte");
    QTest::newRow("8N1") << 1 << 0 << 0 << 0x03;
    QTest::newRow("7E1") << 0 << 0 << 2 << 0x1A;
    QTest::newRow("8O2") << 1 << 1 << 1 << 0x0F;
    QTest::newRow("7N2") << 0 << 1 << 0 << 0x06;
}

void TestDeviceFrame::encodeSerialSettings()
{
    QFETCH(int, dataBit);
    QFETCH(int, stopBit);
    QFETCH(int, parity);
    QFETCH(int, byte);
    DeviceRecord r = DeviceFrame::decodeReply(sampleReply(), QString());
    r.dataBit = dataBit;
    r.stopBit = stopBit;
    r.parity = parity;
    QCOMPARE(int(quint8(encoded(r).at(45))), byte);
}

void TestDeviceFrame::encodeFixedParts()
{
    const DeviceRecord r = DeviceFrame::decodeReply(sampleReply(), QString());
    const QByteArray frame = encoded(r);
    QCOMPARE(frame.size(), 64);
    QCOMPARE(frame.left(6).toHex(), QByteArray("001a2b3c4d5e"));
    QCOMPARE(frame.mid(6, 4), QByteArray("1111"));
    QCOMPARE(frame.mid(46, 4), QByteArray(4, '\0'));
    QVERIFY(FrameChecksum::isValid(reinterpret_cast<const std::uint8_t *>(frame.constData())));
    // The tail belongs to the caller.
    QCOMPARE(frame.mid(52), QByteArray(12, '\xEE'));

    QByteArray grown;
    DeviceFrame::encodeRequest(r, grown);
    QCOMPARE(grown.size(), 64);
    QCOMPARE(grown.left(52), frame.left(52));
}

void TestDeviceFrame::roundTrip()
{
    const QByteArray reply = sampleReply();
    const QByteArray request = encoded(DeviceFrame::decodeReply(reply, QString()));
    QCOMPARE(request.left(6), reply.left(6));
    QCOMPARE(request.mid(10, 36), reply.mid(10, 36));

    // Bits the decoder ignores do not come back.
    const QByteArray noisy = withBytes(reply, 20, "FEFD");
    const QByteArray fromNoisy = encoded(DeviceFrame::decodeReply(noisy, QString()));
    QCOMPARE(int(quint8(fromNoisy.at(20))), 0x00);
    QCOMPARE(int(quint8(fromNoisy.at(21))), 0x01);
}

void TestDeviceFrame::reportedNameBytesAreSentBack_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("ascii") << QByteArray("ABC\0\0\0\0\0\0\0", 10);
    QTest::newRow("ten bytes") << QByteArray("0123456789");
    // Not UTF-8: the bytes must survive whatever the host's code page is.
    QTest::newRow("legacy code page") << QByteArray("\xC9\xE8\xB1\xB8\xD2\xBB\xBA\xC5\0\0", 10);
    QTest::newRow("ten non-ascii") << QByteArray("\x80\x81\x82\xFE\xFF\xC0\xC1\xF5\xF8\xFD");
    QTest::newRow("cut utf-8 character") << QByteArray("ABCDEFGHI\xE8");
}

void TestDeviceFrame::reportedNameBytesAreSentBack()
{
    QFETCH(QByteArray, field);
    QByteArray reply = sampleReply();
    reply.replace(10, 10, field);
    const QByteArray request = encoded(DeviceFrame::decodeReply(reply, QString()));
    QCOMPARE(request.mid(10, 10).toHex(), field.toHex());
}

void TestDeviceFrame::unreportedNameIsCutOnCharacterBoundary_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("ascii") << "Pump 3" << QByteArray("Pump 3\0\0\0\0", 10);
    QTest::newRow("long ascii") << "ABCDEFGHIJKL" << QByteArray("ABCDEFGHIJ");
    QTest::newRow("two-byte characters")
        << QString::fromUtf8("a\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6")
        << QByteArray("a\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\0", 10);
    QTest::newRow("three-byte characters")
        << QString::fromUtf8("\xE8\xAE\xBE\xE5\xA4\x87\xE5\x90\x8D\xE7\xA7\xB0")
        << QByteArray("\xE8\xAE\xBE\xE5\xA4\x87\xE5\x90\x8D\0", 10);
}

void TestDeviceFrame::unreportedNameIsCutOnCharacterBoundary()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, field);
    DeviceRecord r = DeviceFrame::decodeReply(sampleReply(), QString());
    r.nameBytes.clear();
    r.deviceName = name;
    QCOMPARE(encoded(r).mid(10, 10).toHex(), field.toHex());
}

void TestDeviceFrame::shortInputIsSafe()
{
    const DeviceRecord r = DeviceFrame::decodeReply(QByteArray("\x01\x02", 2), QString());
    QCOMPARE(r.mac, QStringLiteral("010200000000"));
    QCOMPARE(r.lport, QStringLiteral("0"));
    QVERIFY(r.random);

    DeviceRecord odd;
    odd.mac = QStringLiteral("12");
    QByteArray frame;
    DeviceFrame::encodeRequest(odd, frame);
    QCOMPARE(frame.left(6).toHex(), QByteArray("120000000000"));
}

QTEST_APPLESS_MAIN(TestDeviceFrame)
#include "tst_deviceframe.moc"
