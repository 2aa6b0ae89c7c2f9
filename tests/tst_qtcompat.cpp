// What Qt 5 and Qt 6 do differently, behind one header: both builds must
// give the same bytes. The expected values come from outside Qt: the
// minimal standard generator (Park and Miller's, 48271, which Qt 5's qrand
// runs on Linux) computed apart, and iconv.
#include "qtcompat.h"

#include <QBuffer>
#include <QTest>
#include <QTextStream>

class TestQtCompat : public QObject
{
    Q_OBJECT

private slots:
    void filler_data()
    {
        QTest::addColumn<uint>("seed");
        QTest::addColumn<QByteArray>("expected");
        // 0, 2^31 - 1 and 2^32 - 1 all seed it as 1.
        QTest::newRow("0") << 0u << QByteArray::fromHex("27AB614C44386E7474F14DFC");
        QTest::newRow("modulus") << 0x7FFFFFFFu << QByteArray::fromHex("27AB614C44386E7474F14DFC");
        QTest::newRow("max") << 0xFFFFFFFFu << QByteArray::fromHex("27AB614C44386E7474F14DFC");
        QTest::newRow("12345") << 12345u << QByteArray::fromHex("9D77853917066DA0C2E6455B");
        QTest::newRow("DEADBEEF") << 0xDEADBEEFu << QByteArray::fromHex("FBF0B6FE392B3E0C5C86BDA9");
    }
    void filler()
    {
#ifdef Q_OS_WIN
        QSKIP("Qt 5 on Windows draws from the C library's rand");
#endif
        QFETCH(uint, seed);
        QFETCH(QByteArray, expected);
        QCOMPARE(QtCompat::seededFiller(seed, expected.size(), 255).toHex(), expected.toHex());
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        const QString name = QString::fromUtf8("设备名称一");
        QTest::newRow("utf-8") << QByteArray("UTF-8") << name.toUtf8() << name << true;
        QTest::newRow("utf-8 bad byte")
            << QByteArray("UTF-8") << QByteArray("A\xC3(") << QString() << false;
        QTest::newRow("utf-8 cut short")
            << QByteArray("UTF-8") << QByteArray("\xE5\x90") << QString() << false;
        QTest::newRow("utf-8 keeps a mark") << QByteArray("UTF-8") << QByteArray("\xEF\xBB\xBFx")
                                            << QString(QChar(0xFEFF)) + QLatin1Char('x') << true;
        QTest::newRow("utf-16le") << QByteArray("UTF-16LE") << QByteArray("A\0B\0", 4)
                                  << QStringLiteral("AB") << true;
        QTest::newRow("utf-16be odd")
            << QByteArray("UTF-16BE") << QByteArray("\0A\0", 3) << QString() << false;
        // iconv -t GB18030: two-byte and four-byte forms.
        QTest::newRow("gb18030") << QByteArray("GB18030")
                                 << QByteArray::fromHex("C9E8B1B8C3FBB3C6D2BB") << name << true;
        QTest::newRow("gb18030 four bytes")
            << QByteArray("GB18030") << QByteArray::fromHex("81308130") << QString(QChar(0x80))
            << true;
        QTest::newRow("no such encoding")
            << QByteArray("NO-SUCH-CODE") << QByteArray("x") << QString() << false;
    }
    void decode()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        bool decoded = !ok;
        const QString got = QtCompat::decode(encoding.constData(), bytes, &decoded);
        QCOMPARE(decoded, ok);
        if (ok) {
            QCOMPARE(got, text);
            QCOMPARE(QtCompat::encode(encoding.constData(), got), bytes); // and back
        }
    }

    void utf8Stream()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QTextStream stream(&buffer);
        QtCompat::setUtf8(stream);
        stream << QString::fromUtf8("名") << Qt::flush;
        QCOMPARE(buffer.data().toHex(), QByteArray("e5908d"));
    }
};

QTEST_MAIN(TestQtCompat)
#include "tst_qtcompat.moc"
