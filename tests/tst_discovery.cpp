#include "configureframe.h"
#include "deviceframe.h"
#include "framechecksum.h"
#include "privatenetwork.h"
#include "protocolconstants.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>

using Access = MainWindowTestAccess;

namespace {

QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->item(row, column)->text();
    return texts;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

// The window with real sockets, in the private namespace: replies come from
// loopback addresses, the window's broadcasts are captured on port 1500.
class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void searchBroadcastsProbeAndDropsItsEcho();
    void replyFromDevicePortIsListed();
    void replyFromOtherPortIsDropped();
    void damagedAndEchoedFramesAreLoggedThenDropped();
    void arrivalOrderAndDuplicates();
    void burstListsEveryReplyAndShowsTheNewest();
    void clickLoadsRowAndUnlocks();
    void titleRowClickDoesNothing();
    void searchClearsEverything();
    void configureBroadcastsTheForm();
    void configureTwiceSharesFirstBlocks();
    void refusedSends_data();
    void refusedSends();
    void reportedValuesAlwaysSend();
    void nothingSentWithoutChosenDevice();
    void rowsPastSixteenBitsStayPaired();
    void portHeldAtFirstSearchIsTakenAtTheNext();

private:
    template <typename T> T *widget(const char *name) { return child<T>(window, name); }
    QTableWidget *table() { return widget<QTableWidget>("tableWidget_DeviceList"); }
    void clickRow(int row);
    void listThree();

    MainWindow *window = nullptr;
    Capture *capture = nullptr;
};

void TestDiscovery::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
}

void TestDiscovery::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    capture = new Capture;
    QVERIFY(capture->isBound());
}

void TestDiscovery::cleanup()
{
    delete capture;
    capture = nullptr;
    delete window;
    window = nullptr;
}

void TestDiscovery::clickRow(int row)
{
    QTableWidget *t = table();
    const QRect cell = t->visualRect(t->model()->index(row, 2));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
}

// Converters A, B and C answer from their own addresses, in that order.
void TestDiscovery::listThree()
{
    const QStringList addresses = {"127.0.0.11", "127.0.0.12", "127.0.0.13"};
    for (int i = 0; i < 3; ++i) {
        DeviceSocket device(addresses.at(i), DEVICE_PORT);
        QVERIFY(device.isBound());
        DeviceRecord r = sampleDevice(QStringLiteral("0000000000A%1").arg(i),
                                      QStringLiteral("Conv%1").arg(QChar('A' + i)));
        r.baud = QString::number(9600 * (i + 1));
        r.mode = i; // UDP, TCP Client, UDP Server
        device.broadcast(replyDatagram(r, quint8(0x10 + i)));
        QTRY_COMPARE(table()->rowCount(), i + 2);
    }
}

void TestDiscovery::searchBroadcastsProbeAndDropsItsEcho()
{
    LogCapture log;
    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    QCOMPARE(capture->next(2000, isProbe), QByteArray("FFFF"));
    QTRY_COMPARE(log.lines().size(), 1);
    QCOMPARE(log.lines().at(0), quoted("::ffff:127.0.0.1:1500[4]:46464646"));
    QCOMPARE(table()->rowCount(), 1);
}

void TestDiscovery::replyFromDevicePortIsListed()
{
    LogCapture log;
    DeviceSocket device(QStringLiteral("127.0.0.7"), DEVICE_PORT);
    QVERIFY(device.isBound());
    const DeviceRecord r = sampleDevice(QStringLiteral("001A2B3C4D5E"), QStringLiteral("Pump"));
    const QByteArray datagram = replyDatagram(r, 0x1A);
    device.broadcast(datagram);

    QTRY_COMPARE(table()->rowCount(), 2);
    QCOMPARE(rowTexts(table(), 1), QStringList({"127.0.0.7", "Pump", "001A2B3C4D5E", "1.10"}));
    QCOMPARE(table()->item(1, 0)->data(Qt::TextAlignmentRole).toInt(), 132);
    const QString plain = QString::fromLatin1(replyPlaintext(r, 0x1A).toHex().toUpper());
    QCOMPARE(log.lines(),
             QStringList({quoted("::ffff:127.0.0.7:1500[64]:" + datagram.toHex().toUpper()),
                          quoted(plain), quoted(plain)}));
    QCOMPARE(Access::devices(*window).size(), 1);
    QCOMPARE(Access::devices(*window).at(0).deviceIp, QStringLiteral("127.0.0.7"));

    // The still locked form shows the new converter.
    QCOMPARE(widget<QLineEdit>("lineEdit_Lip")->text(), r.lip);
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), r.baud);
    QVERIFY(!widget<QGroupBox>("groupBox_Config")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_SaveConfigure")->isEnabled());
    QVERIFY(Access::currentDevice(*window).mac.isNull());
}

void TestDiscovery::replyFromOtherPortIsDropped()
{
    LogCapture log;
    DeviceSocket device(QStringLiteral("127.0.0.8"), 1501);
    QVERIFY(device.isBound());
    const QByteArray datagram = replyDatagram(sampleDevice(QStringLiteral("001A2B3C4D5F")));
    device.broadcast(datagram);
    QTRY_COMPARE(log.lines().size(), 1);
    QTest::qWait(50);
    QCOMPARE(log.lines(),
             QStringList({quoted("::ffff:127.0.0.8:1501[64]:" + datagram.toHex().toUpper())}));
    QCOMPARE(table()->rowCount(), 1);
}

void TestDiscovery::damagedAndEchoedFramesAreLoggedThenDropped()
{
    DeviceSocket device(QStringLiteral("127.0.0.9"), DEVICE_PORT);
    QVERIFY(device.isBound());
    const DeviceRecord r = sampleDevice(QStringLiteral("001A2B3C4D60"));

    struct Case
    {
        QByteArray datagram;
        int lines;
    };
    QByteArray damaged = replyDatagram(r);
    damaged[40] = char(damaged.at(40) ^ 0x40); // garbles bytes 32 to 47 once decrypted
    const QList<Case> cases = {
        {QByteArray(), 1}, {replyDatagram(r).left(63), 1},   {replyDatagram(r) + 'x', 1},
        {damaged, 2},      {ConfigureFrame::build(r, 5), 2},
    };
    for (const Case &c : cases) {
        LogCapture log;
        device.broadcast(c.datagram);
        QTRY_COMPARE(log.lines().size(), c.lines);
        QTest::qWait(30);
        QCOMPARE(log.lines().size(), c.lines);
        QVERIFY(log.lines().at(0).startsWith(
            quoted(QStringLiteral("::ffff:127.0.0.9:1500[%1]:").arg(c.datagram.size()))
                .chopped(1)));
    }
    QCOMPARE(table()->rowCount(), 1);
}

void TestDiscovery::arrivalOrderAndDuplicates()
{
    listThree();
    QCOMPARE(rowTexts(table(), 1).mid(0, 3), QStringList({"127.0.0.11", "ConvA", "0000000000A0"}));
    QCOMPARE(rowTexts(table(), 2).mid(0, 3), QStringList({"127.0.0.12", "ConvB", "0000000000A1"}));
    QCOMPARE(rowTexts(table(), 3).mid(0, 3), QStringList({"127.0.0.13", "ConvC", "0000000000A2"}));
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), QStringLiteral("28800"));

    // A answers again with other settings from another address: nothing changes.
    LogCapture log;
    DeviceSocket again(QStringLiteral("127.0.0.14"), DEVICE_PORT);
    DeviceRecord changed = sampleDevice(QStringLiteral("0000000000A0"), QStringLiteral("Renamed"));
    changed.baud = QStringLiteral("1200");
    again.broadcast(replyDatagram(changed));
    QTRY_COMPARE(log.lines().size(), 3);
    QTest::qWait(30);
    QCOMPARE(table()->rowCount(), 4);
    QCOMPARE(rowTexts(table(), 1).mid(0, 2), QStringList({"127.0.0.11", "ConvA"}));
    QCOMPARE(Access::devices(*window).size(), 3);
    QCOMPARE(Access::devices(*window).at(0).baud, QStringLiteral("9600"));
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), QStringLiteral("28800"));
}

void TestDiscovery::burstListsEveryReplyAndShowsTheNewest()
{
    // Replies that arrive together, with modes and random ports that make the
    // form rules fire in between; the form must end as if each was loaded.
    DeviceSocket device(QStringLiteral("127.0.0.30"), DEVICE_PORT);
    QVERIFY(device.isBound());
    QList<DeviceRecord> records;
    for (int i = 0; i < 40; ++i) {
        DeviceRecord r = sampleDevice(QStringLiteral("0000000B%1").arg(i, 4, 10, QLatin1Char('0')));
        r.mode = (i * 3) % 4;
        r.ipType = i % 2;
        r.lport = i % 3 ? QStringLiteral("0") : QString::number(4000 + i);
        r.baud = QString::number(1200 * (i + 1));
        records << r;
    }
    records.last().mode = 1; // the form's mode before the burst
    records.last().lport = QStringLiteral("0");
    for (const DeviceRecord &r : records)
        device.broadcast(replyDatagram(r));
    QTRY_COMPARE(table()->rowCount(), records.size() + 1);
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(table()->item(i + 1, 2)->text(), records.at(i).mac);

    MainWindow reference;
    for (const DeviceRecord &r : records)
        Access::recordToForm(reference, DeviceFrame::decodeReply(replyPlaintext(r), QString()));
    for (const char *name : {"lineEdit_Baud", "lineEdit_Lport", "lineEdit_Lip", "lineEdit_Sip"}) {
        QCOMPARE(widget<QLineEdit>(name)->text(), child<QLineEdit>(&reference, name)->text());
        QCOMPARE(widget<QLineEdit>(name)->isEnabled(),
                 child<QLineEdit>(&reference, name)->isEnabled());
    }
    QCOMPARE(widget<QComboBox>("comboBox_Mode")->currentIndex(), 1);
    QCOMPARE(widget<QCheckBox>("checkBox_Random")->isChecked(), true);
    QCOMPARE(widget<QCheckBox>("checkBox_Random")->isEnabled(),
             child<QCheckBox>(&reference, "checkBox_Random")->isEnabled());
}

void TestDiscovery::clickLoadsRowAndUnlocks()
{
    listThree();
    clickRow(2);
    QCOMPARE(Access::currentDevice(*window).mac, QStringLiteral("0000000000A1"));
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), QStringLiteral("19200"));
    QCOMPARE(widget<QComboBox>("comboBox_Mode")->currentIndex(), 1);
    QVERIFY(widget<QGroupBox>("groupBox_Config")->isEnabled());
    QVERIFY(widget<QPushButton>("pushButton_SaveConfigure")->isEnabled());
    QVERIFY(widget<QPushButton>("pushButton_FactoryReset")->isEnabled());
    QVERIFY(widget<QPushButton>("pushButton_DeviceRestart")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_DeviceRestart")->isVisible());

    // Another row discards unsaved edits.
    widget<QLineEdit>("lineEdit_Baud")->setText(QStringLiteral("300"));
    clickRow(1);
    QCOMPARE(Access::currentDevice(*window).mac, QStringLiteral("0000000000A0"));
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), QStringLiteral("9600"));
}

void TestDiscovery::titleRowClickDoesNothing()
{
    listThree();
    const QString shown = widget<QLineEdit>("lineEdit_Baud")->text();
    clickRow(0);
    QVERIFY(Access::currentDevice(*window).mac.isNull());
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), shown);
    QVERIFY(!widget<QGroupBox>("groupBox_Config")->isEnabled());
    QVERIFY(table()->selectionModel()->selectedRows().isEmpty());
}

void TestDiscovery::searchClearsEverything()
{
    listThree();
    clickRow(3);
    QVERIFY(!Access::currentDevice(*window).mac.isNull());
    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    QCOMPARE(table()->rowCount(), 1);
    QCOMPARE(table()->item(0, 0)->text(), QStringLiteral("Device IP"));
    QVERIFY(Access::devices(*window).isEmpty());
    QVERIFY(Access::currentDevice(*window).mac.isNull());
    // The rest of the chosen record stays.
    QCOMPARE(Access::currentDevice(*window).deviceName, QStringLiteral("ConvC"));
    QVERIFY(!widget<QGroupBox>("groupBox_Config")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_SaveConfigure")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_FactoryReset")->isEnabled());

    capture->drain();
    Access::sendConfigure(*window, Access::currentDevice(*window));
    QVERIFY(capture->next(150, isConfigureFrame).isEmpty());
}

void TestDiscovery::configureBroadcastsTheForm()
{
    listThree();
    clickRow(2);
    // The form of the worked example: TCP client, static address.
    widget<QComboBox>("comboBox_Mode")->setCurrentIndex(1);
    widget<QComboBox>("comboBox_IpType")->setCurrentIndex(0);
    widget<QLineEdit>("lineEdit_Lip")->setText(QStringLiteral("192.168.1.8"));
    widget<QLineEdit>("lineEdit_Subnet")->setText(QStringLiteral("255.255.255.0"));
    widget<QLineEdit>("lineEdit_Gaw")->setText(QStringLiteral("192.168.1.1"));
    widget<QLineEdit>("lineEdit_Lport")->setText(QStringLiteral("1234"));
    widget<QLineEdit>("lineEdit_Sip")->setText(QStringLiteral("192.168.1.254"));
    widget<QLineEdit>("lineEdit_Sport")->setText(QStringLiteral("1234"));
    widget<QLineEdit>("lineEdit_Baud")->setText(QStringLiteral("9600"));
    widget<QComboBox>("comboBox_Parity")->setCurrentIndex(0);
    widget<QComboBox>("comboBox_DataBit")->setCurrentIndex(1);
    widget<QComboBox>("comboBox_StopBit")->setCurrentIndex(0);
    capture->drain();

    LogCapture log;
    QTest::mouseClick(widget<QPushButton>("pushButton_SaveConfigure"), Qt::LeftButton);
    const QByteArray wire = capture->next(2000, isConfigureFrame);
    QCOMPARE(wire.size(), 64);
    const QByteArray plain = decrypted(wire);
    QCOMPARE(plain.left(6).toHex().toUpper(), QByteArray("0000000000A1"));
    QCOMPARE(plain.mid(6, 4), QByteArray("1111"));
    QCOMPARE(plain.mid(10, 10), QByteArray("ConvB\0\0\0\0\0", 10));
    QCOMPARE(plain.mid(20, 26).toHex(' ').toUpper(),
             QByteArray("00 01 00 FF FF FF 01 01 A8 C0 08 01 A8 C0 D2 04 FE 01 A8 C0 D2 04 80 25 "
                        "00 03"));
    QCOMPARE(plain.mid(46, 4), QByteArray(4, '\0'));
    QVERIFY(FrameChecksum::isValid(reinterpret_cast<const std::uint8_t *>(plain.constData())));
    QVERIFY(!plain.mid(52).contains('\xFF'));

    // A converter decodes exactly the form's values back.
    const DeviceRecord decoded = DeviceFrame::decodeReply(plain, QString());
    const DeviceRecord sent = Access::currentDevice(*window);
    QCOMPARE(decoded.lip, sent.lip);
    QCOMPARE(decoded.sip, sent.sip);
    QCOMPARE(decoded.baud, sent.baud);
    QCOMPARE(decoded.mode, sent.mode);

    // The window hears its own broadcast and drops it after two log lines.
    QTRY_COMPARE(log.lines().size(), 2);
    QVERIFY(log.lines().at(0).startsWith(quoted("::ffff:127.0.0.1:1500[64]:").chopped(1)));
    QCOMPARE(log.lines().at(1), quoted(QString::fromLatin1(plain.toHex().toUpper())));
    QCOMPARE(table()->rowCount(), 4);
    // The table still shows what the converter reported.
    QCOMPARE(Access::devices(*window).at(1).baud, QStringLiteral("19200"));
}

void TestDiscovery::configureTwiceSharesFirstBlocks()
{
    listThree();
    clickRow(1);
    capture->drain();
    auto *configure = widget<QPushButton>("pushButton_SaveConfigure");
    QTest::mouseClick(configure, Qt::LeftButton);
    const QByteArray first = capture->next(2000, isConfigureFrame);
    QTest::qWait(3); // another millisecond, another tail
    QTest::mouseClick(configure, Qt::LeftButton);
    const QByteArray second = capture->next(2000, isConfigureFrame);
    QCOMPARE(first.size(), 64);
    QCOMPARE(second.size(), 64);
    QCOMPARE(first.left(48), second.left(48));
    QVERIFY(first.mid(48) != second.mid(48));
}

void TestDiscovery::refusedSends_data()
{
    // Texts set in order, then the work mode and IP type; the field that
    // takes the focus, or empty when the frame is sent.
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("ipType");
    QTest::addColumn<QString>("focus");
    const QStringList none;
    QTest::newRow("device IP") << QStringList{"lineEdit_Lip=192.168"} << 1 << 0 << "lineEdit_Lip";
    QTest::newRow("subnet") << QStringList{"lineEdit_Subnet=255.255.255."} << 1 << 0
                            << "lineEdit_Subnet";
    QTest::newRow("gateway") << QStringList{"lineEdit_Gaw="} << 1 << 0 << "lineEdit_Gaw";
    QTest::newRow("local port") << QStringList{"lineEdit_Lport="} << 1 << 0 << "lineEdit_Lport";
    QTest::newRow("remote IP") << QStringList{"lineEdit_Sip=10"} << 1 << 0 << "lineEdit_Sip";
    QTest::newRow("remote port") << QStringList{"lineEdit_Sport=65536"} << 1 << 0
                                 << "lineEdit_Sport";
    QTest::newRow("baud") << QStringList{"lineEdit_Baud="} << 1 << 0 << "lineEdit_Baud";
    // Disabled by the rules: sent as they stand, missing parts 0.
    QTest::newRow("remote IP, TCP server")
        << QStringList{"lineEdit_Sip=192.168"} << 3 << 0 << QString();
    QTest::newRow("gateway, DHCP") << QStringList{"lineEdit_Gaw="} << 1 << 1 << QString();
    QTest::newRow("remote IP disabled, baud later")
        << QStringList{"lineEdit_Sip=192.168", "lineEdit_Baud="} << 2 << 0 << "lineEdit_Baud";
}

void TestDiscovery::refusedSends()
{
    QFETCH(QStringList, edits);
    QFETCH(int, mode);
    QFETCH(int, ipType);
    QFETCH(QString, focus);
    listThree();
    clickRow(2);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    widget<QPushButton>("pushButton_Yuyan")->setFocus();
    for (const QString &edit : edits) {
        const QStringList parts = edit.split(QLatin1Char('='));
        window->findChild<QLineEdit *>(parts.at(0))->setText(parts.at(1));
    }
    widget<QComboBox>("comboBox_Mode")->setCurrentIndex(mode);
    widget<QComboBox>("comboBox_IpType")->setCurrentIndex(ipType);
    capture->drain();

    QTest::mouseClick(widget<QPushButton>("pushButton_SaveConfigure"), Qt::LeftButton);
    QVERIFY(window->statusBar()->currentMessage().isEmpty());
    if (!focus.isEmpty()) {
        QVERIFY(capture->collect(150).isEmpty());
        QCOMPARE(window->focusWidget(), window->findChild<QLineEdit *>(focus));
        return;
    }
    const QByteArray plain = decrypted(capture->next(2000, isConfigureFrame));
    if (mode == 3) // the half-typed remote IP, 192.168 -> 0.0.192.168
        QCOMPARE(plain.mid(36, 4), QByteArray::fromHex("0000A8C0"));
    else
        QCOMPARE(plain.mid(26, 4), QByteArray(4, '\0'));
}

void TestDiscovery::reportedValuesAlwaysSend()
{
    // Server mode with a random local port and remote port 0.
    DeviceSocket device(QStringLiteral("127.0.0.21"), DEVICE_PORT);
    DeviceRecord r = sampleDevice(QStringLiteral("00000000B001"));
    r.mode = 3;
    r.lport = QStringLiteral("0");
    r.sport = QStringLiteral("0");
    r.sip = QStringLiteral("0.0.0.0");
    r.baud = QStringLiteral("16777215");
    device.broadcast(replyDatagram(r));
    QTRY_COMPARE(table()->rowCount(), 2);
    clickRow(1);
    capture->drain();
    QTest::mouseClick(widget<QPushButton>("pushButton_SaveConfigure"), Qt::LeftButton);
    const QByteArray plain = decrypted(capture->next(2000, isConfigureFrame));
    QCOMPARE(plain.mid(20, 26), replyPlaintext(r).mid(20, 26));
}

void TestDiscovery::nothingSentWithoutChosenDevice()
{
    listThree();
    capture->drain();
    Access::sendConfigure(*window, Access::currentDevice(*window));
    QVERIFY(capture->collect(150).isEmpty());
}

void TestDiscovery::rowsPastSixteenBitsStayPaired()
{
    constexpr int count = 65537;
    auto device = [](int i) {
        DeviceRecord r =
            sampleDevice(QStringLiteral("%1").arg(i, 12, 16, QLatin1Char('0')).toUpper());
        r.baud = QString::number(i);
        return r;
    };
    // The last rows go through the real intake, past the 16-bit boundary.
    for (int i = 0; i < count - 3; ++i)
        Access::appendDevice(*window, device(i));
    for (int i = count - 3; i < count; ++i)
        Access::addDeviceFromFrame(*window, replyPlaintext(device(i)), QStringLiteral("10.0.0.1"));
    QCOMPARE(table()->rowCount(), count + 1);
    QCOMPARE(table()->item(count, 2)->text(), QStringLiteral("000000010000"));
    QCOMPARE(table()->item(1, 2)->text(), QStringLiteral("000000000000"));

    QMetaObject::invokeMethod(window, "on_tableWidget_DeviceList_clicked",
                              Q_ARG(QModelIndex, table()->model()->index(count, 0)));
    QCOMPARE(Access::currentDevice(*window).mac, QStringLiteral("000000010000"));
    QCOMPARE(widget<QLineEdit>("lineEdit_Baud")->text(), QString::number(count - 1));

    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    QCOMPARE(table()->rowCount(), 1);
}

// Another program holds port 1500 without sharing it when the window starts
// and at its first search: nothing leaves (a probe from another port would
// bring no answer), the debug log says why, and once the holder is gone the
// next search binds the port and lists what answers.
void TestDiscovery::portHeldAtFirstSearchIsTakenAtTheNext()
{
    delete capture;
    capture = nullptr;
    delete window;
    auto *holder = new QUdpSocket;
    QVERIFY(holder->bind(QHostAddress::AnyIPv4, DEVICE_PORT, QAbstractSocket::DontShareAddress));
    window = new MainWindow;
    window->show();
    LogCapture log;
    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    QVERIFY2(log.lines().join(' ').contains("UDP port 1500 is not bound"),
             qPrintable(log.lines().join('\n')));

    delete holder;
    capture = new Capture;
    QVERIFY(capture->isBound());
    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    QCOMPARE(capture->next(2000, isProbe), QByteArray("FFFF")); // from port 1500
    DeviceSocket device(QStringLiteral("127.0.0.7"), DEVICE_PORT);
    device.broadcast(replyDatagram(sampleDevice(QStringLiteral("001A2B3C4D5E"))));
    QTRY_COMPARE(table()->rowCount(), 2);
}

QTEST_MAIN(TestDiscovery)
#include "tst_discovery.moc"
