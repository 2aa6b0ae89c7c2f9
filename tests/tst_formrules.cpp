#include "privatenetwork.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using Access = MainWindowTestAccess;

// The form rules, the factory reset and the copies between form and record,
// on the real window with its form unlocked by a listed converter.
class TestFormRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ipTypeRule();
    void modeRule_data();
    void modeRule();
    void randomAndLocalPortExcludeEachOther();
    void factoryReset_data();
    void factoryReset();
    void formToRecordKeepsIdentity();
    void recordToFormOrder_data();
    void recordToFormOrder();
    void sameModeKeepsEnabledStates();

private:
    template <typename T> T *widget(const char *name) { return child<T>(window, name); }
    QLineEdit *edit(const char *name) { return widget<QLineEdit>(name); }
    QComboBox *combo(const char *name) { return widget<QComboBox>(name); }
    QCheckBox *random() { return widget<QCheckBox>("checkBox_Random"); }
    void typeInto(QLineEdit *field, const QString &text);

    MainWindow *window = nullptr;
};

void TestFormRules::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
}

void TestFormRules::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // A listed and chosen converter unlocks the form.
    DeviceRecord r = sampleDevice(QStringLiteral("00000000C001"), QStringLiteral("Chosen"));
    Access::addDeviceFromFrame(*window, replyPlaintext(r, 0x21), QStringLiteral("10.1.2.3"));
    const QModelIndex row = widget<QTableWidget>("tableWidget_DeviceList")->model()->index(1, 0);
    QMetaObject::invokeMethod(window, "on_tableWidget_DeviceList_clicked", Q_ARG(QModelIndex, row));
    QVERIFY(widget<QGroupBox>("groupBox_Config")->isEnabled());
}

void TestFormRules::cleanup()
{
    delete window;
    window = nullptr;
}

void TestFormRules::typeInto(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void TestFormRules::ipTypeRule()
{
    auto *type = combo("comboBox_IpType");
    const QString lip = edit("lineEdit_Lip")->text();
    type->setCurrentIndex(1);
    for (const char *name : {"lineEdit_Gaw", "lineEdit_Lip", "lineEdit_Subnet"})
        QVERIFY2(!edit(name)->isEnabled(), name);
    QCOMPARE(edit("lineEdit_Lip")->text(), lip);
    type->setCurrentIndex(0);
    for (const char *name : {"lineEdit_Gaw", "lineEdit_Lip", "lineEdit_Subnet"})
        QVERIFY2(edit(name)->isEnabled(), name);
    QCOMPARE(edit("lineEdit_Lip")->text(), lip);
}

void TestFormRules::modeRule_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<bool>("randomEnabled");
    QTest::addColumn<bool>("randomChecked");
    QTest::newRow("UDP") << 0 << true << false << false;
    QTest::newRow("TCP Client") << 1 << true << true << true;
    QTest::newRow("UDP Server") << 2 << false << false << false;
    QTest::newRow("TCP Server") << 3 << false << false << false;
}

void TestFormRules::modeRule()
{
    QFETCH(int, mode);
    QFETCH(bool, remote);
    QFETCH(bool, randomEnabled);
    QFETCH(bool, randomChecked);
    // Start from a TCP client with the random port chosen.
    combo("comboBox_Mode")->setCurrentIndex(mode == 1 ? 0 : 1);
    combo("comboBox_Mode")->setCurrentIndex(1);
    QTest::mouseClick(random(), Qt::LeftButton);
    QVERIFY(random()->isChecked());
    QCOMPARE(edit("lineEdit_Lport")->text(), QStringLiteral("0"));

    combo("comboBox_Mode")->setCurrentIndex(mode);
    QCOMPARE(edit("lineEdit_Sip")->isEnabled(), remote);
    QCOMPARE(edit("lineEdit_Sport")->isEnabled(), remote);
    QCOMPARE(random()->isEnabled(), randomEnabled);
    QCOMPARE(random()->isChecked(), randomChecked);
    QCOMPARE(edit("lineEdit_Lport")->text(), QStringLiteral("0"));
}

void TestFormRules::randomAndLocalPortExcludeEachOther()
{
    combo("comboBox_Mode")->setCurrentIndex(1);
    auto *port = edit("lineEdit_Lport");
    QTest::mouseClick(random(), Qt::LeftButton);
    QVERIFY(random()->isChecked());
    QCOMPARE(port->text(), QStringLiteral("0"));

    // Typing zero or clearing leaves the box alone.
    typeInto(port, QString());
    QVERIFY(random()->isChecked());
    port->setText(QStringLiteral("0"));
    QVERIFY(random()->isChecked());

    typeInto(port, QStringLiteral("5000"));
    QVERIFY(!random()->isChecked());
    QCOMPARE(port->text(), QStringLiteral("5000"));

    // Unchecking by a click leaves the port at 0.
    QTest::mouseClick(random(), Qt::LeftButton);
    QCOMPARE(port->text(), QStringLiteral("0"));
    QTest::mouseClick(random(), Qt::LeftButton);
    QVERIFY(!random()->isChecked());
    QCOMPARE(port->text(), QStringLiteral("0"));
}

void TestFormRules::factoryReset_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("ipType");
    QTest::addColumn<bool>("randomChecked");
    QTest::newRow("TCP Client, random port") << 1 << 0 << true;
    QTest::newRow("DHCP") << 1 << 1 << false;
    QTest::newRow("UDP Server") << 2 << 0 << false;
    QTest::newRow("already UDP, DHCP") << 0 << 1 << false;
}

void TestFormRules::factoryReset()
{
    QFETCH(int, mode);
    QFETCH(int, ipType);
    QFETCH(bool, randomChecked);
    combo("comboBox_Mode")->setCurrentIndex(mode);
    combo("comboBox_IpType")->setCurrentIndex(ipType);
    if (randomChecked)
        QTest::mouseClick(random(), Qt::LeftButton);
    edit("lineEdit_Baud")->setText(QStringLiteral("300"));
    combo("comboBox_Parity")->setCurrentIndex(2);
    combo("comboBox_DataBit")->setCurrentIndex(0);
    combo("comboBox_StopBit")->setCurrentIndex(1);

    QTest::mouseClick(widget<QPushButton>("pushButton_FactoryReset"), Qt::LeftButton);

    QCOMPARE(combo("comboBox_Mode")->currentText(), QStringLiteral("UDP"));
    QCOMPARE(combo("comboBox_IpType")->currentText(), QStringLiteral("Static IP"));
    QCOMPARE(edit("lineEdit_Gaw")->text(), QStringLiteral("192.168.1.1"));
    QCOMPARE(edit("lineEdit_Subnet")->text(), QStringLiteral("255.255.255.0"));
    QCOMPARE(edit("lineEdit_Lip")->text(), QStringLiteral("192.168.1.8"));
    QCOMPARE(edit("lineEdit_Lport")->text(), QStringLiteral("1234"));
    QCOMPARE(edit("lineEdit_Sip")->text(), QStringLiteral("192.168.1.254"));
    QCOMPARE(edit("lineEdit_Sport")->text(), QStringLiteral("1234"));
    QCOMPARE(edit("lineEdit_Baud")->text(), QStringLiteral("9600"));
    QCOMPARE(combo("comboBox_DataBit")->currentText(), QStringLiteral("8"));
    QCOMPARE(combo("comboBox_Parity")->currentText(), QStringLiteral("NONE"));
    QCOMPARE(combo("comboBox_StopBit")->currentText(), QStringLiteral("1"));
    QVERIFY(!random()->isChecked());
    // Only a TCP client enables the random option: after a reset to UDP it
    // is disabled, as the mode rule left it.
    QVERIFY(!random()->isEnabled());
    for (const char *name :
         {"lineEdit_Gaw", "lineEdit_Lip", "lineEdit_Subnet", "lineEdit_Sip", "lineEdit_Sport"})
        QVERIFY2(edit(name)->isEnabled(), name);
}

void TestFormRules::formToRecordKeepsIdentity()
{
    QTest::mouseClick(widget<QPushButton>("pushButton_FactoryReset"), Qt::LeftButton);
    const DeviceRecord r = Access::formToRecord(*window, Access::currentDevice(*window));
    QCOMPARE(r.mac, QStringLiteral("00000000C001"));
    QCOMPARE(r.deviceName, QStringLiteral("Chosen"));
    QCOMPARE(r.version, QStringLiteral("2.1"));
    QCOMPARE(r.deviceIp, QStringLiteral("10.1.2.3"));
    QCOMPARE(r.nameBytes, QByteArray("Chosen"));
    QCOMPARE(r.mode, 0);
    QCOMPARE(r.ipType, 0);
    QCOMPARE(r.gaw, QStringLiteral("192.168.1.1"));
    QCOMPARE(r.subnet, QStringLiteral("255.255.255.0"));
    QCOMPARE(r.lip, QStringLiteral("192.168.1.8"));
    QCOMPARE(r.lport, QStringLiteral("1234"));
    QCOMPARE(r.random, false);
    QCOMPARE(r.sip, QStringLiteral("192.168.1.254"));
    QCOMPARE(r.sport, QStringLiteral("1234"));
    QCOMPARE(r.baud, QStringLiteral("9600"));
    QCOMPARE(r.dataBit, 1);
    QCOMPARE(r.parity, 0);
    QCOMPARE(r.stopBit, 0);

    // Texts are taken as they stand, disabled fields included.
    combo("comboBox_IpType")->setCurrentIndex(1);
    edit("lineEdit_Lip")->setText(QStringLiteral("1.2"));
    const DeviceRecord raw = Access::formToRecord(*window, DeviceRecord());
    QCOMPARE(raw.lip, QStringLiteral("1.2"));
    QCOMPARE(raw.ipType, 1);
    QVERIFY(raw.mac.isNull());
}

void TestFormRules::recordToFormOrder_data()
{
    QTest::addColumn<int>("previousMode");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("lport");
    QTest::addColumn<bool>("recordRandom");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    // The record's own flag is set last, whatever the rules did before.
    QTest::newRow("UDP with random, from TCP client") << 1 << 0 << "0" << true << true << false;
    QTest::newRow("port 0 without random") << 1 << 1 << "0" << false << false << true;
    QTest::newRow("positive port and random") << 1 << 1 << "4000" << true << true << true;
    QTest::newRow("server from UDP") << 0 << 3 << "0" << true << true << false;
}

void TestFormRules::recordToFormOrder()
{
    QFETCH(int, previousMode);
    QFETCH(int, mode);
    QFETCH(QString, lport);
    QFETCH(bool, recordRandom);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    combo("comboBox_Mode")->setCurrentIndex(previousMode);
    DeviceRecord r = sampleDevice(QStringLiteral("00000000C002"));
    r.mode = mode;
    r.lport = lport;
    r.random = recordRandom;
    r.ipType = 1;
    Access::recordToForm(*window, r);
    QCOMPARE(combo("comboBox_Mode")->currentIndex(), mode);
    QCOMPARE(edit("lineEdit_Lport")->text(), lport);
    QCOMPARE(random()->isChecked(), checked);
    QCOMPARE(random()->isEnabled(), enabled);
    QVERIFY(!edit("lineEdit_Lip")->isEnabled());
    QCOMPARE(edit("lineEdit_Sip")->isEnabled(), mode < 2);
}

void TestFormRules::sameModeKeepsEnabledStates()
{
    combo("comboBox_Mode")->setCurrentIndex(1);
    // Enabled states that no rule would give, to see that none runs.
    edit("lineEdit_Sip")->setEnabled(false);
    random()->setEnabled(false);
    DeviceRecord r = sampleDevice(QStringLiteral("00000000C003"));
    r.mode = 1;
    Access::recordToForm(*window, r);
    QVERIFY(!edit("lineEdit_Sip")->isEnabled());
    QVERIFY(!random()->isEnabled());
}

QTEST_MAIN(TestFormRules)
#include "tst_formrules.moc"
