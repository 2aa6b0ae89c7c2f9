// Which way this computer reaches a converter's serial line, by its mode and
// the settings it reports; no socket is opened.
#include "datapath.h"

#include "settingfields.h"

#include <QTest>

class TestDataPath : public QObject
{
    Q_OBJECT

private slots:
    void route_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("remoteIp");
        QTest::addColumn<QString>("localPort");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("where"); // or, for untested, words of the reason
        const int connect = int(DataRoute::Kind::Connect), accept = int(DataRoute::Kind::Accept),
                  datagrams = int(DataRoute::Kind::Datagrams),
                  untested = int(DataRoute::Kind::Untested);
        // The converter is 10.0.0.5; this computer is 10.0.0.1.
        QTest::newRow("tcp-server") << "tcp-server"
                                    << "10.0.0.9"
                                    << "4001" << connect << "10.0.0.5:4001/tcp";
        QTest::newRow("tcp-server random port") << "tcp-server"
                                                << "10.0.0.1"
                                                << "0" << untested << "random local port";
        QTest::newRow("udp-server") << "udp-server"
                                    << "10.0.0.9"
                                    << "4001" << datagrams << "10.0.0.5:4001/udp";
        QTest::newRow("tcp-client to us") << "tcp-client"
                                          << "10.0.0.1"
                                          << "4001" << accept << "10.0.0.1:5001/tcp";
        QTest::newRow("tcp-client elsewhere") << "tcp-client"
                                              << "10.0.0.9"
                                              << "4001" << untested << "talks to 10.0.0.9:5001/tcp";
        QTest::newRow("udp to us") << "udp"
                                   << "10.0.0.1"
                                   << "4001" << datagrams << "10.0.0.1:5001/udp";
        QTest::newRow("udp elsewhere") << "udp"
                                       << "10.0.0.9"
                                       << "4001" << untested << "talks to 10.0.0.9:5001/udp";
        QTest::newRow("udp to us, random port") << "udp"
                                                << "10.0.0.1"
                                                << "0" << untested << "random local port";
    }

    void route()
    {
        QFETCH(QString, mode);
        QFETCH(QString, remoteIp);
        QFETCH(QString, localPort);
        QFETCH(int, kind);
        QFETCH(QString, where);
        QByteArray frame(64, '\0');
        using SettingFields::Field;
        const QVector<QPair<Field, QString>> settings{{Field::Mode, mode},
                                                      {Field::Ip, "10.0.0.5"},
                                                      {Field::LocalPort, localPort},
                                                      {Field::RemoteIp, remoteIp},
                                                      {Field::RemotePort, "5001"}};
        for (const auto &setting : settings) {
            SettingFields::Change change;
            QString message;
            SettingFields::parse(setting.first, setting.second, &change, &message);
            SettingFields::put(frame, change);
        }
        const DataRoute route = routeTo(frame, {QHostAddress("10.0.0.1")});
        QCOMPARE(int(route.kind), kind);
        if (route.kind == DataRoute::Kind::Untested)
            QVERIFY2(route.reason.contains(where), qPrintable(route.reason));
        else
            QCOMPARE(route.where(), where);
    }
};

QTEST_MAIN(TestDataPath)
#include "tst_datapath.moc"
