#include "framechecksum.h"

#include <QtTest>

class TestFrameChecksum : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void frameCarriesLowByteFirst();
    void validityFollowsEveryCoveredByte();
};

void TestFrameChecksum::values_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("expected");
    // The CRC catalogue's check value, and two values of the frame's own sizes.
    QTest::newRow("check value") << QByteArray("123456789") << 0x4B37;
    QTest::newRow("fifty zero bytes") << QByteArray(50, '\0') << 0x107F;
    QTest::newRow("no bytes") << QByteArray() << 0xFFFF;
    QTest::newRow("single 0x01") << QByteArray(1, '\x01') << 0x807E;
}

void TestFrameChecksum::values()
{
    QFETCH(QByteArray, data);
    QFETCH(int, expected);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.constData());
    QCOMPARE(int(FrameChecksum::compute(bytes, std::uint16_t(data.size()))), expected);
}

void TestFrameChecksum::frameCarriesLowByteFirst()
{
    std::uint8_t frame[64] = {};
    FrameChecksum::store(frame);
    QCOMPARE(int(frame[50]), 0x7F);
    QCOMPARE(int(frame[51]), 0x10);
    QVERIFY(FrameChecksum::isValid(frame));

    // The same value in the other byte order is not a valid frame.
    frame[50] = 0x10;
    frame[51] = 0x7F;
    QVERIFY(!FrameChecksum::isValid(frame));
}

void TestFrameChecksum::validityFollowsEveryCoveredByte()
{
    std::uint8_t frame[64];
    for (int i = 0; i < 64; ++i)
        frame[i] = std::uint8_t(i * 7 + 3);
    FrameChecksum::store(frame);
    QVERIFY(FrameChecksum::isValid(frame));
    for (int i = 0; i < 50; ++i) {
        frame[i] ^= 0x01;
        QVERIFY2(!FrameChecksum::isValid(frame), qPrintable(QString::number(i)));
        frame[i] ^= 0x01;
    }
    // The tail is not covered.
    for (int i = 52; i < 64; ++i)
        frame[i] ^= 0xFF;
    QVERIFY(FrameChecksum::isValid(frame));
}

QTEST_APPLESS_MAIN(TestFrameChecksum)
#include "tst_framechecksum.moc"
