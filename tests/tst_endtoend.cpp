#include "privatenetwork.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <iterator>

namespace {

struct Sim
{
    const char *host;
    const char *mac;
    const char *nameHex;
    int delayMs;
    QStringList faults;
};

// Replies arrive in this order, 150 ms apart. The last host plays six
// converters with one fault each, in this order; only the one that answers
// twice may list.
const Sim SIMS[] = {
    {"sima", "02AB0000A001", "416C706861", 0, {}},             // "Alpha"
    {"simb", "02AB0000B001", "427261766F", 150, {}},           // "Bravo"
    {"simc", "02AB0000C001", "C9E8B1B8C3FBB3C6D2BB", 300, {}}, // ten GB18030 bytes
    {"simf",
     "02AB0000F001",
     "4661756C7479",
     450,
     {"twice", "wrong-key", "bad-checksum", "foreign-port", "short", "long"}},
};

QJsonObject readState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value(QStringLiteral("converters"))
        .toArray()
        .at(0)
        .toObject();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The whole job across a private network: the window here, converter
// simulators on other hosts, their state files as the witness.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void searchListsEachConverterOnceInReplyOrder();
    void configureChangesOnlyTheChosenConverter();
    void factoryResetWritesDefaultsAndKeepsTheName();
    void configureGoesThroughTheOtherAdapterWhenItsOwnIsGone();

private:
    template <typename T> T *widget(const char *name) { return child<T>(window, name); }
    QTableWidget *table() { return widget<QTableWidget>("tableWidget_DeviceList"); }
    QString netlab(const QStringList &arguments);
    QString statePath(int sim) const
    {
        return dir.filePath(QStringLiteral("%1.json").arg(SIMS[sim].host));
    }
    void search(int rows);
    // The row of a simulator's converter, wherever its reply came in: on a
    // busy machine a simulator can answer later than its delay says.
    void clickRow(int sim);
    void configure(int sim);

    QString lab;
    QTemporaryDir dir;
    QList<QProcess *> sims;
    MainWindow *window = nullptr;
};

QString TestEndToEnd::netlab(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(NETLAB_PATH), arguments);
    process.waitForFinished(10000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

void TestEndToEnd::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
    lab = qEnvironmentVariable("E2E_LAB");
    if (lab.isEmpty())
        QFAIL("run this test through tests/e2e.sh, which builds the test network");
    QVERIFY(dir.isValid());

    // Each host's converters written as a state file first, so that the
    // simulator starts with the names and faults it is to play.
    for (int i = 0; i < int(std::size(SIMS)); ++i) {
        const Sim &sim = SIMS[i];
        const int count = sim.faults.isEmpty() ? 1 : sim.faults.size();
        const quint64 firstMac = QByteArray(sim.mac).toULongLong(nullptr, 16);
        QJsonArray converters;
        for (int k = 0; k < count; ++k) {
            QJsonObject c{
                {"mac", QStringLiteral("%1")
                            .arg(firstMac + quint64(k), 12, 16, QLatin1Char('0'))
                            .toUpper()},
                {"replyFrom", netlab({"addr", lab, sim.host, QString::number(k + 1)})},
                {"nameHex", QString::fromLatin1(sim.nameHex)},
            };
            if (!sim.faults.isEmpty())
                c.insert(QStringLiteral("faults"), QJsonArray{sim.faults.at(k)});
            converters.append(c);
        }
        QFile file(statePath(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"converters", converters}}).toJson());
        file.close();

        auto *process = new QProcess(this);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(NETLAB_PATH),
                       {"exec", lab, sim.host, SIM_PATH, "--state", statePath(i), "--delay",
                        QString::number(sim.delayMs)});
        QVERIFY(process->waitForReadyRead(10000));
        QVERIFY(process->readLine().startsWith("converter-sim: ready"));
        sims << process;
    }

    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestEndToEnd::cleanupTestCase()
{
    delete window;
    for (QProcess *process : sims) {
        process->terminate();
        process->waitForFinished(5000);
        // A clean exit on SIGTERM.
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0); // a sanitizer's report ends it otherwise
    }
}

void TestEndToEnd::search(int rows)
{
    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(table()->rowCount(), rows + 1, 5000);
}

void TestEndToEnd::clickRow(int sim)
{
    int row = 1;
    while (row < table()->rowCount() &&
           table()->item(row, 2)->text() != QString::fromLatin1(SIMS[sim].mac))
        ++row;
    QVERIFY2(row < table()->rowCount(), SIMS[sim].mac);
    table()->scrollToItem(table()->item(row, 0));
    const QRect cell = table()->visualRect(table()->model()->index(row, 0));
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell.center());
}

void TestEndToEnd::configure(int sim)
{
    const int before = readState(statePath(sim)).value(QStringLiteral("configureCount")).toInt();
    QTest::mouseClick(widget<QPushButton>("pushButton_SaveConfigure"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(
        readState(statePath(sim)).value(QStringLiteral("configureCount")).toInt(), before + 1,
        5000);
}

void TestEndToEnd::searchListsEachConverterOnceInReplyOrder()
{
    LogCapture log;
    search(4);
    QTest::qWait(400); // late, doubled or faulty replies would show by now
    QCOMPARE(table()->rowCount(), 5);
    // The rows in the order the replies came in, as the debug log saw them
    // (the simulators' delays set it, but a busy machine may not keep it).
    static const QRegularExpression reply(QStringLiteral("::ffff:([0-9.]+):1500\\[64\\]:"));
    QStringList listed, arrived;
    for (int row = 1; row < table()->rowCount(); ++row)
        listed << table()->item(row, 0)->text();
    for (const QString &line : log.lines()) {
        const QString sender = reply.match(line).captured(1);
        if (listed.contains(sender) && !arrived.contains(sender))
            arrived << sender;
    }
    QCOMPARE(listed, arrived);
    // A name in GB18030, as tools on Chinese Windows write it, shows as such.
    const QStringList names = {"Alpha", "Bravo", QString::fromUtf8("设备名称一"), "Faulty"};
    for (int i = 0; i < 4; ++i) {
        const int row = 1 + listed.indexOf(netlab({"addr", lab, SIMS[i].host}));
        QVERIFY2(row > 0, SIMS[i].host);
        QCOMPARE(table()->item(row, 1)->text(), names.at(i));
        QCOMPARE(table()->item(row, 2)->text(), QString::fromLatin1(SIMS[i].mac));
        QCOMPARE(table()->item(row, 3)->text(), QStringLiteral("1.2"));
    }
}

void TestEndToEnd::configureChangesOnlyTheChosenConverter()
{
    search(4);
    const QByteArray alpha = readFile(statePath(0));
    const QByteArray charlie = readFile(statePath(2));
    const QByteArray faulty = readFile(statePath(3));
    clickRow(1);
    widget<QComboBox>("comboBox_Mode")->setCurrentIndex(3);
    widget<QLineEdit>("lineEdit_Lip")->setText(QStringLiteral("10.77.99.2"));
    widget<QLineEdit>("lineEdit_Subnet")->setText(QStringLiteral("255.255.0.0"));
    widget<QLineEdit>("lineEdit_Gaw")->setText(QStringLiteral("10.77.0.254"));
    widget<QLineEdit>("lineEdit_Lport")->setText(QStringLiteral("6000"));
    widget<QLineEdit>("lineEdit_Sip")->setText(QStringLiteral("10.77.99.9"));
    widget<QLineEdit>("lineEdit_Sport")->setText(QStringLiteral("7000"));
    widget<QLineEdit>("lineEdit_Baud")->setText(QStringLiteral("57600"));
    widget<QComboBox>("comboBox_Parity")->setCurrentIndex(1);
    widget<QComboBox>("comboBox_DataBit")->setCurrentIndex(0);
    widget<QComboBox>("comboBox_StopBit")->setCurrentIndex(1);
    configure(1);

    const QJsonObject bravo = readState(statePath(1));
    QCOMPARE(bravo.value("mode").toInt(), 3);
    QCOMPARE(bravo.value("ipType").toInt(), 0);
    QCOMPARE(bravo.value("lip").toString(), QStringLiteral("10.77.99.2"));
    QCOMPARE(bravo.value("subnet").toString(), QStringLiteral("255.255.0.0"));
    QCOMPARE(bravo.value("gaw").toString(), QStringLiteral("10.77.0.254"));
    QCOMPARE(bravo.value("lport").toString(), QStringLiteral("6000"));
    QCOMPARE(bravo.value("sip").toString(), QStringLiteral("10.77.99.9"));
    QCOMPARE(bravo.value("sport").toString(), QStringLiteral("7000"));
    QCOMPARE(bravo.value("baud").toString(), QStringLiteral("57600"));
    QCOMPARE(bravo.value("parity").toInt(), 1);
    QCOMPARE(bravo.value("dataBit").toInt(), 0);
    QCOMPARE(bravo.value("stopBit").toInt(), 1);
    QCOMPARE(bravo.value("nameHex").toString(), QString::fromLatin1(SIMS[1].nameHex));
    QCOMPARE(readFile(statePath(0)), alpha);
    QCOMPARE(readFile(statePath(2)), charlie);
    QCOMPARE(readFile(statePath(3)), faulty);

    // A new search shows what the converter reports now.
    search(4);
    clickRow(1);
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), QStringLiteral("57600"));
    QCOMPARE(widget<QComboBox>("comboBox_Mode")->currentIndex(), 3);
    QCOMPARE(widget<QLineEdit>("lineEdit_Lip")->text(), QStringLiteral("10.77.99.2"));
}

void TestEndToEnd::factoryResetWritesDefaultsAndKeepsTheName()
{
    search(4);
    clickRow(2);
    QTest::mouseClick(widget<QPushButton>("pushButton_FactoryReset"), Qt::LeftButton);
    configure(2);
    const QJsonObject charlie = readState(statePath(2));
    QCOMPARE(charlie.value("nameHex").toString(), QString::fromLatin1(SIMS[2].nameHex));
    QCOMPARE(charlie.value("mode").toInt(), 0);
    QCOMPARE(charlie.value("ipType").toInt(), 0);
    QCOMPARE(charlie.value("gaw").toString(), QStringLiteral("192.168.1.1"));
    QCOMPARE(charlie.value("subnet").toString(), QStringLiteral("255.255.255.0"));
    QCOMPARE(charlie.value("lip").toString(), QStringLiteral("192.168.1.8"));
    QCOMPARE(charlie.value("lport").toString(), QStringLiteral("1234"));
    QCOMPARE(charlie.value("sip").toString(), QStringLiteral("192.168.1.254"));
    QCOMPARE(charlie.value("sport").toString(), QStringLiteral("1234"));
    QCOMPARE(charlie.value("baud").toString(), QStringLiteral("9600"));
    QCOMPARE(charlie.value("parity").toInt(), 0);
    QCOMPARE(charlie.value("dataBit").toInt(), 1);
    QCOMPARE(charlie.value("stopBit").toInt(), 0);
}

// The laptop's dock and Wi-Fi both reach the converters (two adapters on one
// network here); the adapter of the converter's first answer is unplugged
// after the search, and "Configure" reaches it through the other.
void TestEndToEnd::configureGoesThroughTheOtherAdapterWhenItsOwnIsGone()
{
    search(4);
    clickRow(1); // Bravo
    const int adapter = MainWindowTestAccess::adapterOf(*window, QString::fromLatin1(SIMS[1].mac));
    const QString name = QNetworkInterface::interfaceNameFromIndex(adapter);
    QVERIFY2(name.startsWith("cvl"), qPrintable(name));
    QCOMPARE(QProcess::execute("ip", {"link", "set", name, "down"}), 0);
    LogCapture log;
    configure(1);
    QVERIFY(!log.lines().join(' ').contains("cannot send"));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
