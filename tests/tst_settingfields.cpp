// The settings vocabulary at its edges: what parses, what is refused as
// malformed, and what only a converter may hold.
#include "settingfields.h"

#include "framelayout.h"

#include <QtTest>

using namespace SettingFields;

Q_DECLARE_METATYPE(SettingFields::Field)
Q_DECLARE_METATYPE(SettingFields::Verdict)

class TestSettingFields : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("canonical");
        const auto row = [](const char *name, Field f, const char *v, Verdict d, const char *c) {
            QTest::newRow(name) << f << QString::fromUtf8(v) << d << QString::fromUtf8(c);
        };
        row("address", Field::Ip, "10.0.0.1", Verdict::Ok, "10.0.0.1");
        row("address, leading zeros", Field::Ip, "010.000.0.01", Verdict::Ok, "10.0.0.1");
        row("address, three parts", Field::Ip, "10.0.1", Verdict::Malformed, "");
        row("address, octet 256", Field::Gateway, "10.0.0.256", Verdict::Malformed, "");
        row("address, sign", Field::Subnet, "+255.255.255.0", Verdict::Malformed, "");
        row("address, blank inside", Field::RemoteIp, "10.0. 0.1", Verdict::Malformed, "");
        row("local port 0 is random", Field::LocalPort, "0", Verdict::Ok, "0");
        row("remote port 0", Field::RemotePort, "0", Verdict::OutOfRange, "0");
        row("port past 16 bits", Field::LocalPort, "65536", Verdict::Malformed, "");
        row("baud 50", Field::Baud, "50", Verdict::OutOfRange, "50");
        row("baud past what an operator types", Field::Baud, "2000001", Verdict::OutOfRange,
            "2000001");
        row("baud past 24 bits", Field::Baud, "16777216", Verdict::Malformed, "");
        row("baud with a letter O", Field::Baud, "96OO", Verdict::Malformed, "");
        row("parity", Field::Parity, "even", Verdict::Ok, "even");
        row("parity mark only as held", Field::Parity, "mark", Verdict::OutOfRange, "mark");
        row("parity unknown", Field::Parity, "marks", Verdict::Malformed, "");
        row("data bits 5 only as held", Field::DataBits, "5", Verdict::OutOfRange, "5");
        row("ten bytes of name", Field::Name, "设备名A", Verdict::Ok, "");
        // Refused as a new name; a converter's own longer name is no change.
        row("eleven bytes of name", Field::Name, "ElevenBytes", Verdict::OutOfRange, "");
    }

    void parse()
    {
        QFETCH(Field, field);
        QFETCH(QString, value);
        QFETCH(Verdict, verdict);
        QFETCH(QString, canonical);
        Change change;
        QString message;
        QCOMPARE(SettingFields::parse(field, value, &change, &message), verdict);
        if (verdict != Verdict::Malformed && field != Field::Name)
            QCOMPARE(change.text, canonical);
        if (verdict != Verdict::Ok)
            QVERIFY2(message.contains(name(field)), qPrintable(message));
    }

    void macForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("digits");
        QTest::newRow("bare") << "001a2b3c4d5e"
                              << "001A2B3C4D5E";
        QTest::newRow("colons") << "00:1A:2B:3C:4D:5E"
                                << "001A2B3C4D5E";
        QTest::newRow("dashes") << "00-1a-2b-3c-4d-5e"
                                << "001A2B3C4D5E";
        QTest::newRow("mixed separators") << "00:1A-2B:3C:4D:5E"
                                          << "";
        QTest::newRow("eleven digits") << "001A2B3C4D5"
                                       << "";
        QTest::newRow("not hex") << "001A2B3C4D5G"
                                 << "";
    }

    void macForms()
    {
        QFETCH(QString, text);
        QFETCH(QString, digits);
        QCOMPARE(normaliseMac(text), digits);
    }

    // A field's bits move, and nothing else: the parity bits of the serial
    // byte leave data and stop bits alone.
    void copyFieldMovesOnlyItsBits()
    {
        QByteArray from(64, '\0'), to(64, '\0');
        from[FrameLayout::SERIAL_OFFSET] = char(0x18 | 0x03); // even, 8 bits
        to[FrameLayout::SERIAL_OFFSET] = char(0x04 | 0x02);   // none, 7 bits, 2 stop bits
        copyField(to, from, Field::Parity);
        QCOMPARE(quint8(to.at(FrameLayout::SERIAL_OFFSET)), quint8(0x18 | 0x04 | 0x02));
        QCOMPARE(text(to, Field::Parity), QStringLiteral("even"));
        QCOMPARE(differences(from, to), (QVector<Field>{Field::DataBits, Field::StopBits}));
    }
};

QTEST_GUILESS_MAIN(TestSettingFields)
#include "tst_settingfields.moc"
