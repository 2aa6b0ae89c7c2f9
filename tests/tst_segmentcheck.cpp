// The segment check on settings written straight into frames: which
// addressing is a problem, and which problems a write brings.
#include "segmentcheck.h"

#include "framelayout.h"

#include <QHostAddress>
#include <QtTest>

using namespace SegmentCheck;

Q_DECLARE_METATYPE(SegmentCheck::Converter)
Q_DECLARE_METATYPE(SegmentCheck::HostAddress)

namespace {

// A converter's plaintext with these settings; "dhcp" as ip-type.
Converter converter(const QString &mac, const char *ip, const char *subnet = "255.255.255.0",
                    const char *gateway = "0.0.0.0", bool dhcp = false)
{
    QByteArray settings(64, '\0');
    const auto put = [&](int offset, const char *address) {
        quint32 value = QHostAddress(QString::fromLatin1(address)).toIPv4Address();
        for (int i = 0; i < 4; ++i, value >>= 8) // low byte first, as converters keep it
            settings[offset + i] = char(value & 0xFF);
    };
    put(FrameLayout::LIP_OFFSET, ip);
    put(FrameLayout::SUBNET_OFFSET, subnet);
    put(FrameLayout::GATEWAY_OFFSET, gateway);
    settings[FrameLayout::IPTYPE_OFFSET] = char(dhcp ? 0xF1 : 0xF0); // other bits are not ours
    return {mac, settings};
}

QStringList described(const QVector<Problem> &problems)
{
    QStringList list;
    for (const Problem &p : problems)
        list
            << QStringLiteral("%1 %2 %3 %4").arg(p.mac, p.codeName(), p.field(), p.other).trimmed();
    return list;
}

const QVector<HostAddress> HOST = {{0x0A4D0801, QStringLiteral("eth0")}}; // 10.77.8.1

} // namespace

class TestSegmentCheck : public QObject
{
    Q_OBJECT

private slots:
    void problemsOfOne_data()
    {
        QTest::addColumn<Converter>("one");
        QTest::addColumn<QStringList>("expected");
        const auto A = QStringLiteral("A");
        QTest::newRow("sound") << converter(A, "10.77.16.5", "255.255.0.0", "10.77.0.1")
                               << QStringList();
        QTest::newRow("this computer")
            << converter(A, "10.77.8.1", "255.255.0.0") << QStringList{"A host-address ip eth0"};
        QTest::newRow("network address")
            << converter(A, "192.168.1.0") << QStringList{"A network-address ip"};
        QTest::newRow("broadcast address")
            << converter(A, "192.168.1.255") << QStringList{"A broadcast-address ip"};
        QTest::newRow("/31 has neither")
            << converter(A, "10.0.0.0", "255.255.255.254") << QStringList();
        QTest::newRow("holes in the mask") << converter(A, "10.0.0.7", "255.0.255.0", "10.0.0.1")
                                           << QStringList{"A bad-subnet subnet"};
        QTest::newRow("mask of zeros is no network")
            << converter(A, "10.0.0.7", "0.0.0.0") << QStringList{"A bad-subnet subnet"};
        QTest::newRow("/32 is a mask")
            << converter(A, "10.0.0.7", "255.255.255.255") << QStringList();
        // Reserved ranges say more than network or broadcast.
        QTest::newRow("this network")
            << converter(A, "0.0.0.0") << QStringList{"A reserved-address ip"};
        QTest::newRow("loopback") << converter(A, "127.0.0.5", "255.0.0.0")
                                  << QStringList{"A reserved-address ip"};
        QTest::newRow("multicast")
            << converter(A, "224.0.0.1") << QStringList{"A reserved-address ip"};
        QTest::newRow("limited broadcast")
            << converter(A, "255.255.255.255") << QStringList{"A reserved-address ip"};
        QTest::newRow("reserved /4 with a gateway")
            << converter(A, "240.1.2.3", "255.255.255.0", "240.1.2.1")
            << QStringList{"A reserved-address ip", "A gateway-not-a-host gateway"};
        QTest::newRow("last unicast block is a host")
            << converter(A, "223.255.255.254", "255.255.255.0", "223.255.255.1") << QStringList();
        QTest::newRow("gateway is the network address")
            << converter(A, "192.168.1.7", "255.255.255.0", "192.168.1.0")
            << QStringList{"A gateway-not-a-host gateway"};
        QTest::newRow("gateway is the broadcast address")
            << converter(A, "192.168.1.7", "255.255.255.0", "192.168.1.255")
            << QStringList{"A gateway-not-a-host gateway"};
        QTest::newRow("gateway is loopback")
            << converter(A, "192.168.1.7", "255.255.255.0", "127.0.0.1")
            << QStringList{"A gateway-not-a-host gateway"};
        QTest::newRow("gateway .0 of another /24 is only outside")
            << converter(A, "192.168.1.7", "255.255.255.0", "192.168.2.0")
            << QStringList{"A gateway-outside-subnet gateway"};
        QTest::newRow("gateway .0 inside a /23 is a host")
            << converter(A, "192.168.0.7", "255.255.254.0", "192.168.1.0") << QStringList();
        QTest::newRow("/31 gateway is a host")
            << converter(A, "10.0.0.0", "255.255.255.254", "10.0.0.1") << QStringList();
        QTest::newRow("gateway elsewhere")
            << converter(A, "10.77.0.1", "255.255.255.0", "10.99.0.1")
            << QStringList{"A gateway-outside-subnet gateway"};
        QTest::newRow("gateway is itself") << converter(A, "10.0.0.7", "255.255.255.0", "10.0.0.7")
                                           << QStringList{"A gateway-is-own-ip gateway"};
        QTest::newRow("dhcp is left out")
            << converter(A, "10.77.8.1", "255.0.255.0", "1.2.3.4", true) << QStringList();
    }

    void problemsOfOne()
    {
        QFETCH(Converter, one);
        QFETCH(QStringList, expected);
        QCOMPARE(described(find({one}, HOST)), expected);
    }

    void duplicatesCountEveryConverterButDhcp()
    {
        const QVector<Converter> box = {
            converter("A", "192.168.1.8"), converter("B", "192.168.1.8"),
            converter("C", "192.168.1.8", "255.255.255.0", "0.0.0.0", true)};
        QCOMPARE(described(find(box, {})),
                 (QStringList{"A duplicate-ip ip B", "B duplicate-ip ip A"}));
        QCOMPARE(find(box, {}).first().message(),
                 QStringLiteral("A: ip 192.168.1.8 is also the ip of B"));
    }

    void writesAreJudgedByWhatTheyAdd_data()
    {
        QTest::addColumn<QVector<Converter>>("before");
        QTest::addColumn<QVector<Converter>>("written");
        QTest::addColumn<QStringList>("expected");
        const QVector<Converter> box = {converter("A", "192.168.1.8"),
                                        converter("B", "192.168.1.8"),
                                        converter("C", "192.168.1.8")};
        QTest::newRow("one of a box moved away")
            << box << QVector<Converter>{converter("A", "192.168.1.50")} << QStringList();
        // Still at the factory address: the same problem, values aside.
        QTest::newRow("renamed inside a box")
            << box << QVector<Converter>{box.at(0)} << QStringList();
        QTest::newRow("onto a converter not written")
            << QVector<Converter>{converter("A", "10.0.0.1"), converter("B", "10.0.0.2")}
            << QVector<Converter>{converter("B", "10.0.0.1")} << QStringList{"B duplicate-ip ip A"};
        QTest::newRow("two rows, one address")
            << QVector<Converter>{converter("A", "10.0.0.1"), converter("B", "10.0.0.2")}
            << QVector<Converter>{converter("A", "10.0.0.9"), converter("B", "10.0.0.9")}
            << QStringList{"A duplicate-ip ip B", "B duplicate-ip ip A"};
        QTest::newRow("joining a box is a new clash")
            << box << QVector<Converter>{converter("D", "192.168.1.8")}
            << QStringList{"D duplicate-ip ip A", "D duplicate-ip ip B", "D duplicate-ip ip C"};
        QTest::newRow("to dhcp clears it")
            << QVector<Converter>{converter("A", "10.0.0.1"), converter("B", "10.0.0.1")}
            << QVector<Converter>{converter("B", "10.0.0.1", "255.255.255.0", "0.0.0.0", true)}
            << QStringList();
        // The fill-down slip: the same pair clashing at a new address.
        QTest::newRow("two of a box onto one new address")
            << box
            << QVector<Converter>{converter("A", "192.168.1.60"), converter("B", "192.168.1.60")}
            << QStringList{"A duplicate-ip ip B", "B duplicate-ip ip A"};
        QTest::newRow("one of a box onto another's new address")
            << QVector<Converter>{converter("A", "192.168.1.60"), converter("B", "192.168.1.8"),
                                  converter("C", "192.168.1.8")}
            << QVector<Converter>{converter("B", "192.168.1.60")}
            << QStringList{"B duplicate-ip ip A"};
        QTest::newRow("gateway already off, new address")
            << QVector<Converter>{converter("A", "10.0.0.8", "255.255.255.0", "192.168.1.1")}
            << QVector<Converter>{converter("A", "10.0.0.9", "255.255.255.0", "192.168.1.1")}
            << QStringList();
        QTest::newRow("gateway off, moved elsewhere")
            << QVector<Converter>{converter("A", "10.0.0.8", "255.255.255.0", "192.168.1.1")}
            << QVector<Converter>{converter("A", "10.0.0.8", "255.255.255.0", "192.168.7.1")}
            << QStringList{"A gateway-outside-subnet gateway"};
        QTest::newRow("broken mask, another broken mask")
            << QVector<Converter>{converter("A", "10.0.0.8", "255.0.255.0")}
            << QVector<Converter>{converter("A", "10.0.0.8", "255.255.0.255")}
            << QStringList{"A bad-subnet subnet"};
        QTest::newRow("this computer's address, then another of it")
            << QVector<Converter>{converter("A", "10.77.8.1", "255.255.0.0")}
            << QVector<Converter>{converter("A", "10.77.8.1", "255.255.255.0")} << QStringList();
        QTest::newRow("gateway left behind by a new address")
            << QVector<Converter>{converter("A", "192.168.1.8", "255.255.255.0", "192.168.1.1")}
            << QVector<Converter>{converter("A", "10.0.0.8", "255.255.255.0", "192.168.1.1")}
            << QStringList{"A gateway-outside-subnet gateway"};
    }

    void writesAreJudgedByWhatTheyAdd()
    {
        QFETCH(QVector<Converter>, before);
        QFETCH(QVector<Converter>, written);
        QFETCH(QStringList, expected);
        QHash<QString, QByteArray> writes;
        for (const Converter &c : written)
            writes.insert(c.mac, c.settings);
        // A converter written but not in the search ("D") counts only once found.
        QVector<Converter> found = before;
        for (const Converter &c : written) {
            if (std::none_of(found.begin(), found.end(),
                             [&](const Converter &f) { return f.mac == c.mac; }))
                found.append(converter(c.mac, "10.200.0.1"));
        }
        QCOMPARE(described(introduced(found, writes, HOST)), expected);
    }

    // Cases of the randomized judge (segmentcheck_judge.py prints rows for
    // this table when it and the check disagree), with their own host.
    void judgedWrites_data()
    {
        QTest::addColumn<QVector<Converter>>("before");
        QTest::addColumn<QVector<Converter>>("written");
        QTest::addColumn<QVector<HostAddress>>("host");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("onto a second adapter's address")
            << QVector<Converter>{converter("A", "192.168.1.8", "255.255.255.0", "192.168.1.1")}
            << QVector<Converter>{converter("A", "192.168.1.60", "255.255.255.0", "192.168.1.1")}
            << QVector<HostAddress>{{0x0a4d0801, QStringLiteral("eth0")},
                                    {0xc0a8013c, QStringLiteral("wlan0")}}
            << QStringList{"A host-address ip wlan0"};
        QTest::newRow("a dhcp unit turned static into a box")
            << QVector<Converter>{converter("A", "192.168.1.8"),
                                  converter("B", "192.168.1.8", "255.255.255.0", "0.0.0.0", true)}
            << QVector<Converter>{converter("B", "192.168.1.8")}
            << QVector<HostAddress>{{0x0a4d0801, QStringLiteral("eth0")}}
            << QStringList{"B duplicate-ip ip A"};
    }

    void judgedWrites()
    {
        QFETCH(QVector<Converter>, before);
        QFETCH(QVector<Converter>, written);
        QFETCH(QVector<HostAddress>, host);
        QFETCH(QStringList, expected);
        QHash<QString, QByteArray> writes;
        for (const Converter &c : written)
            writes.insert(c.mac, c.settings);
        QStringList got = described(introduced(before, writes, host));
        got.sort();
        expected.sort();
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestSegmentCheck)
#include "tst_segmentcheck.moc"
