// The device link's intake when the program handles datagrams more slowly than
// they arrive: nothing may be lost behind a turn, and the event loop must run
// between turns.
#include "devicelink.h"
#include "privatenetwork.h"
#include "protocolconstants.h"

#include <QThread>
#include <QUdpSocket>
#include <QtTest>

#include <sys/socket.h>

class TestDeviceLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void slowHandlingLosesNothingBehindATurn();
};

void TestDeviceLink::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
}

// Forty datagrams wait; handling each takes 2 ms, longer in all than one
// turn, and each answers with another datagram to the port while a buffer
// with room for a few holds them. A turn that stopped reading the socket but
// went on handing over would lose answers there.
void TestDeviceLink::slowHandlingLosesNothingBehindATurn()
{
    DeviceLink link(DeviceLink::Delivery::Datagrams);
    QString error;
    QVERIFY2(link.open({LinkInterface()}, &error), qPrintable(error));
    auto *socket = link.findChild<QUdpSocket *>();
    QVERIFY(socket);

    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress(QHostAddress::LocalHost), 0));
    const QHostAddress port(QHostAddress::LocalHost);
    constexpr int COUNT = 40;
    for (int i = 0; i < COUNT; ++i)
        QCOMPARE(
            sender.writeDatagram(QByteArray("first-") + QByteArray::number(i), port, DEVICE_PORT),
            qint64(6 + QByteArray::number(i).size()));
    // The smallest buffer the system allows, for what comes from now on.
    const int smallest = 1;
    QCOMPARE(::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &smallest,
                          sizeof smallest),
             0);

    QByteArrayList handed;
    int handedWhenLoopRan = -1;
    connect(&link, &DeviceLink::datagramsWaiting, this, [&] {
        link.takeDatagrams([&](const Arrival &arrival) {
            if (handed.isEmpty())
                QTimer::singleShot(0, this, [&] { handedWhenLoopRan = handed.size(); });
            handed << arrival.datagram;
            if (arrival.datagram.startsWith("first-")) {
                sender.writeDatagram("answer-" + arrival.datagram.mid(6), port, DEVICE_PORT);
                QThread::msleep(2);
            }
        });
    });
    QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 2 * COUNT, 5000);
    QTest::qWait(100);
    QCOMPARE(handed.size(), 2 * COUNT);

    QByteArrayList firsts, answers;
    for (const QByteArray &datagram : qAsConst(handed))
        (datagram.startsWith("first-") ? firsts : answers) << datagram;
    for (int i = 0; i < COUNT; ++i) {
        QCOMPARE(firsts.value(i), QByteArray("first-") + QByteArray::number(i));
        QCOMPARE(answers.value(i), QByteArray("answer-") + QByteArray::number(i));
    }
    // The window drew and took input before the crowd was through.
    QVERIFY2(handedWhenLoopRan > 0 && handedWhenLoopRan < 2 * COUNT,
             qPrintable(QString::number(handedWhenLoopRan)));
}

QTEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
