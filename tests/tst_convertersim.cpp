#include "privatenetwork.h"
#include "statefile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The simulator as a program: its refusals, its state file, its exit.
class TestConverterSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusals_data();
    void refusals();
    void newStateIsWrittenAndSignalsEndCleanly_data();
    void newStateIsWrittenAndSignalsEndCleanly();
    void stateRoundTrip();

private:
    QTemporaryDir dir;
};

void TestConverterSim::initTestCase()
{
    QVERIFY(dir.isValid());
}

void TestConverterSim::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("stateFile"); // written first when not empty
    QTest::addColumn<QString>("message");
    const QByteArray good =
        R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11"}]})";
    QTest::newRow("no state") << QStringList() << QByteArray() << "--state is required";
    QTest::newRow("unknown option") << QStringList{"--colour"} << QByteArray() << "Unknown option";
    QTest::newRow("count 0") << QStringList{"--count", "0"} << QByteArray() << "--count";
    QTest::newRow("bad MAC") << QStringList{"--base-mac", "02AB0000000G"} << QByteArray()
                             << "--base-mac";
    QTest::newRow("bad address") << QStringList{"--base-address", "::1"} << QByteArray()
                                 << "--base-address";
    QTest::newRow("bad fault") << QStringList{"--fault", "sometimes"} << good << "bad --fault";
    QTest::newRow("fault index") << QStringList{"--fault", "twice@2"} << good << "bad --fault";
    QTest::newRow("not JSON") << QStringList() << QByteArray("{converters") << "state.json";
    QTest::newRow("no list") << QStringList() << QByteArray("{}") << "converters";
    QTest::newRow("short MAC")
        << QStringList()
        << QByteArray(R"({"converters": [{"mac": "02AB", "replyFrom": "127.0.0.11"}]})")
        << "\"mac\"";
    QTest::newRow("long name")
        << QStringList()
        << QByteArray(
               R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11", "name": "ABCDEFGHIJK"}]})")
        << "\"name\"";
    QTest::newRow("mode 4")
        << QStringList()
        << QByteArray(
               R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11", "mode": 4}]})")
        << "\"mode\"";
    // Beyond the range of int: refused, not converted (the sanitized run
    // would flag a conversion).
    QTest::newRow("count beyond int")
        << QStringList()
        << QByteArray(
               R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11", "configureCount": 1e300}]})")
        << "\"configureCount\"";
    QTest::newRow("serial byte 256")
        << QStringList()
        << QByteArray(
               R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11", "serialByte": 256}]})")
        << "\"serialByte\"";
    QTest::newRow("half address")
        << QStringList()
        << QByteArray(
               R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11", "lip": "10.1"}]})")
        << "cannot carry";
    QTest::newRow("same MAC twice")
        << QStringList()
        << QByteArray(
               R"({"converters": [{"mac": "02AB00000001", "replyFrom": "127.0.0.11"}, {"mac": "02ab00000001", "replyFrom": "127.0.0.12"}]})")
        << "used twice";
}

void TestConverterSim::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, stateFile);
    QFETCH(QString, message);
    const QString path = dir.filePath(QStringLiteral("state.json"));
    QFile::remove(path);
    if (!stateFile.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(stateFile);
    }
    if (QString::fromLatin1(QTest::currentDataTag()) != QLatin1String("no state"))
        arguments << QStringLiteral("--state") << path;
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), arguments);
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY2(sim.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
    if (!stateFile.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stateFile); // a refused state is left alone
    }
}

void TestConverterSim::newStateIsWrittenAndSignalsEndCleanly_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
}

void TestConverterSim::newStateIsWrittenAndSignalsEndCleanly()
{
    REQUIRE_PRIVATE_NETWORK();
    QFETCH(int, signal);
    const QString path = dir.filePath(QStringLiteral("fresh-%1.json").arg(signal));
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH),
              {"--state", path, "--count", "3", "--base-mac", "02AB000000FE", "--fault", "long@3"});
    QVERIFY(sim.waitForReadyRead(10000));
    QVERIFY(sim.readLine().startsWith("converter-sim: ready, 3 converter(s)"));

    QList<SimulatedConverter> converters;
    QString error;
    QVERIFY2(StateFile::load(path, &converters, &error), qPrintable(error));
    QCOMPARE(converters.size(), 3);
    QCOMPARE(converters.at(0).settings.mac, QStringLiteral("02AB000000FE"));
    QCOMPARE(converters.at(2).settings.mac, QStringLiteral("02AB00000100"));
    QCOMPARE(converters.at(2).replyFrom.toString(), QStringLiteral("127.0.0.13"));
    QCOMPARE(converters.at(1).settings.nameBytes, QByteArray("SIM-0002"));
    QVERIFY(converters.at(2).faults.contains(Fault::Long));
    QVERIFY(converters.at(1).faults.isEmpty());

    ::kill(pid_t(sim.processId()), signal);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

void TestConverterSim::stateRoundTrip()
{
    const QByteArray json =
        R"({"converters": [{"mac": "02ab00000001", "replyFrom": "10.77.16.1", "nameHex": "C9E8B1B8C3FBB3C6D2BB",
            "mode": 2, "ipType": 1, "lport": "0", "baud": "16777215", "parity": 2, "dataBit": 0,
            "stopBit": 1, "faults": ["twice", "short"], "configureCount": 7}]})";
    QList<SimulatedConverter> first;
    QString error;
    QVERIFY2(StateFile::fromJson(json, &first, &error), qPrintable(error));
    QList<SimulatedConverter> second;
    QVERIFY(StateFile::fromJson(StateFile::toJson(first), &second, &error));
    QCOMPARE(StateFile::toJson(second), StateFile::toJson(first));
    const SimulatedConverter &c = second.at(0);
    QCOMPARE(c.settings.mac, QStringLiteral("02AB00000001"));
    QCOMPARE(c.settings.nameBytes.toHex().toUpper(), QByteArray("C9E8B1B8C3FBB3C6D2BB"));
    QVERIFY(c.settings.random);
    QCOMPARE(c.configureCount, 7);
    QCOMPARE(c.faults, QSet<Fault>({Fault::AnswerTwice, Fault::Short}));
}

QTEST_GUILESS_MAIN(TestConverterSim)
#include "tst_convertersim.moc"
