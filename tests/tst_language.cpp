#include "privatenetwork.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QResource>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

using Access = MainWindowTestAccess;

namespace {

// Every text the window shows, keyed by where it shows.
QMap<QString, QString> allTexts(const MainWindow *window)
{
    QMap<QString, QString> texts;
    texts[QStringLiteral("title")] = window->windowTitle();
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts[label->objectName()] = label->text();
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts[button->objectName()] = button->text();
    for (const QGroupBox *box : window->findChildren<QGroupBox *>())
        texts[box->objectName()] = box->title();
    for (const QComboBox *combo : window->findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i)
            texts[QStringLiteral("%1/%2").arg(combo->objectName()).arg(i)] = combo->itemText(i);
    }
    const auto *table = child<QTableWidget>(window, "tableWidget_DeviceList");
    for (int column = 0; column < 4; ++column)
        texts[QStringLiteral("heading/%1").arg(column)] = table->item(0, column)->text();
    return texts;
}

// Source text, Chinese catalogue, English catalogue; empty where the
// catalogue leaves the source text.
struct Message
{
    const char *context;
    const char *source;
    const char *zh;
    const char *en;
};

const Message MESSAGES[] = {
    {"MainWindow", "Baud Rate(bps)", "串口波特率", ""},
    {"MainWindow", "Configure", "设置", ""},
    {"MainWindow", "DHCP/Auto IP", "DHCP/动态IP", ""},
    {"MainWindow", "Device Restart", "设备重启", ""},
    {"MainWindow", "English", "English", "中文"},
    {"MainWindow", "Factory Reset", "恢复出厂", ""},
    {"MainWindow", "Gateway", "网关", ""},
    {"MainWindow", "IP Type", "IP地址类型", ""},
    {"MainWindow", "Local Port", "本地端口", ""},
    {"MainWindow", "Parameters", "参数设置", ""},
    {"MainWindow", "Parity/Dta/Stop", "校验/数据/停止", ""},
    {"MainWindow", "Random", "随机", ""},
    {"MainWindow", "Remote IP", "目标IP", ""},
    {"MainWindow", "Remote Port", "目标端口", ""},
    {"MainWindow", "Search Device", "搜索设备", ""},
    {"MainWindow", "Search List", "搜索列表", ""},
    {"MainWindow", "Static IP", "静态IP", ""},
    {"MainWindow", "Subnet Mask", "子网掩码", ""},
    {"MainWindow", "UDP", "", ""},
    {"MainWindow", "Work mode", "工作方式", ""},
    {"QObject", "Device IP", "设备IP", ""},
    {"QObject", "Device Name", "设备名称", ""},
    {"QObject", "MAC", "MAC地址", ""},
    {"QObject", "Version", "版本", ""},
    {"QObject", "设备IP", "", "Device IP"},
    {"QObject", "设备名称", "", "Device Name"},
    {"QObject", "MAC地址", "", "MAC"},
    {"QObject", "版本", "", "VERSION"},
    // In neither catalogue.
    {"MainWindow", "Morvane-ETH-RS232/RS485 ConfigureTool V1.0", "", ""},
    {"MainWindow", "TCP Client", "", ""},
    {"MainWindow", "NONE", "", ""},
    {"MainWindow", "8", "", ""},
};

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startsInEnglish();
    void oneClickShowsChinese();
    void secondClickRestoresEnglish();
    void valuesAndRowsSurviveSwitches();
    void catalogues_data();
    void catalogues();
    void cataloguesHoldTwentyEightMessages();
    void resourceTree();

private:
    template <typename T> T *widget(const char *name) { return child<T>(window, name); }
    void clickLanguage()
    {
        QTest::mouseClick(widget<QPushButton>("pushButton_Yuyan"), Qt::LeftButton);
    }

    MainWindow *window = nullptr;
};

void TestLanguage::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
}

void TestLanguage::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestLanguage::cleanup()
{
    // Leave the process-wide language at English for the next window.
    if (widget<QPushButton>("pushButton_Yuyan")->text() == QStringLiteral("English"))
        clickLanguage();
    delete window;
    window = nullptr;
}

void TestLanguage::startsInEnglish()
{
    QCOMPARE(widget<QPushButton>("pushButton_Yuyan")->text(), QStringLiteral("中文"));
    QCOMPARE(widget<QLabel>("label_4")->text(), QStringLiteral("Baud Rate(bps)"));
    const auto *table = widget<QTableWidget>("tableWidget_DeviceList");
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("Version"));
    QCOMPARE(widget<QComboBox>("comboBox_DataBit")->currentText(), QStringLiteral("8"));
    QCOMPARE(widget<QComboBox>("comboBox_Mode")->currentText(), QStringLiteral("TCP Client"));
    QVERIFY(!widget<QPushButton>("pushButton_SearchDevice")->icon().isNull());
}

void TestLanguage::oneClickShowsChinese()
{
    const QMap<QString, QString> english = allTexts(window);
    clickLanguage();
    const QMap<QString, QString> chinese = allTexts(window);
    QCOMPARE(chinese["label_4"], QStringLiteral("串口波特率"));
    QCOMPARE(chinese["pushButton_SaveConfigure"], QStringLiteral("设置"));
    QCOMPARE(chinese["groupBox_Config"], QStringLiteral("参数设置"));
    QCOMPARE(chinese["comboBox_IpType/1"], QStringLiteral("DHCP/动态IP"));
    QCOMPARE(chinese["pushButton_Yuyan"], QStringLiteral("English"));
    QCOMPARE(chinese["heading/0"], QStringLiteral("设备IP"));
    QCOMPARE(chinese["heading/1"], QStringLiteral("设备名称"));
    QCOMPARE(chinese["heading/2"], QStringLiteral("MAC地址"));
    QCOMPARE(chinese["heading/3"], QStringLiteral("版本"));
    // The title and the untranslated items stay.
    for (const char *key : {"title", "comboBox_Mode/0", "comboBox_Mode/1", "comboBox_Mode/3",
                            "comboBox_Parity/2", "comboBox_DataBit/0", "comboBox_StopBit/1"})
        QCOMPARE(chinese[key], english[key]);
}

void TestLanguage::secondClickRestoresEnglish()
{
    const QMap<QString, QString> english = allTexts(window);
    clickLanguage();
    QVERIFY(allTexts(window) != english);
    clickLanguage();
    QCOMPARE(allTexts(window), english);
}

void TestLanguage::valuesAndRowsSurviveSwitches()
{
    for (int i = 0; i < 2; ++i) {
        DeviceRecord r =
            sampleDevice(QStringLiteral("00000000D00%1").arg(i), QStringLiteral("Dev%1").arg(i));
        Access::addDeviceFromFrame(*window, replyPlaintext(r), QStringLiteral("10.0.0.%1").arg(i));
    }
    auto *table = widget<QTableWidget>("tableWidget_DeviceList");
    QMetaObject::invokeMethod(window, "on_tableWidget_DeviceList_clicked",
                              Q_ARG(QModelIndex, table->model()->index(2, 0)));
    widget<QComboBox>("comboBox_Mode")->setCurrentIndex(1);
    QTest::mouseClick(widget<QCheckBox>("checkBox_Random"), Qt::LeftButton);
    widget<QComboBox>("comboBox_IpType")->setCurrentIndex(1);
    widget<QComboBox>("comboBox_Parity")->setCurrentIndex(2);
    widget<QComboBox>("comboBox_DataBit")->setCurrentIndex(0);
    widget<QComboBox>("comboBox_StopBit")->setCurrentIndex(1);
    widget<QLineEdit>("lineEdit_Sip")->setText(QStringLiteral("10.9.8.7"));
    widget<QLineEdit>("lineEdit_Baud")->setText(QStringLiteral("1200"));
    const DeviceRecord before = Access::formToRecord(*window, DeviceRecord());
    QStringList rows;
    for (int column = 0; column < 4; ++column)
        rows << table->item(1, column)->text() << table->item(2, column)->text();

    for (int i = 0; i < 3; ++i) {
        clickLanguage();
        const DeviceRecord after = Access::formToRecord(*window, DeviceRecord());
        QCOMPARE(after.mode, before.mode);
        QCOMPARE(after.ipType, before.ipType);
        QCOMPARE(after.parity, before.parity);
        QCOMPARE(after.dataBit, before.dataBit);
        QCOMPARE(after.stopBit, before.stopBit);
        QCOMPARE(after.random, true);
        QCOMPARE(after.lport, QStringLiteral("0"));
        QCOMPARE(after.sip, before.sip);
        QCOMPARE(after.baud, before.baud);
        QVERIFY(!widget<QLineEdit>("lineEdit_Lip")->isEnabled());
        QStringList rowsAfter;
        for (int column = 0; column < 4; ++column)
            rowsAfter << table->item(1, column)->text() << table->item(2, column)->text();
        QCOMPARE(rowsAfter, rows);
        QCOMPARE(table->rowCount(), 3);
        // No translator stays installed between switches.
        QCOMPARE(QCoreApplication::translate("MainWindow", "Configure"),
                 QStringLiteral("Configure"));
        QCOMPARE(QObject::tr("Device IP"), QStringLiteral("Device IP"));
    }
}

void TestLanguage::catalogues_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("zh");
    QTest::addColumn<QString>("en");
    for (const Message &m : MESSAGES) {
        QTest::addRow("%s %s", m.context, m.source)
            << m.context << QString::fromUtf8(m.source) << QString::fromUtf8(m.zh)
            << QString::fromUtf8(m.en);
    }
}

void TestLanguage::catalogues()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, zh);
    QFETCH(QString, en);
    QTranslator chinese;
    QTranslator english;
    QVERIFY(chinese.load(QStringLiteral(":/qm/tr_zh.qm")));
    QVERIFY(english.load(QStringLiteral(":/qm/tr_en.qm")));
    const QByteArray c = context.toUtf8();
    const QByteArray s = source.toUtf8();
    QCOMPARE(chinese.translate(c.constData(), s.constData()), zh);
    QCOMPARE(english.translate(c.constData(), s.constData()), en);
}

void TestLanguage::cataloguesHoldTwentyEightMessages()
{
    const QString lconvert = QStringLiteral(LCONVERT_PATH);
    if (!QFileInfo::exists(lconvert)) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("lconvert is not installed; under CI every test must run");
        QSKIP("lconvert is not installed");
    }
    for (const char *name : {"tr_zh.qm", "tr_en.qm"}) {
        QProcess process;
        process.start(lconvert, {QStringLiteral(QM_DIR "/") + name, QStringLiteral("-of"),
                                 QStringLiteral("ts"), QStringLiteral("-o"), QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QByteArray ts = process.readAllStandardOutput();
        QCOMPARE(ts.count("<message>"), 28);
        QCOMPARE(ts.count("<name>MainWindow</name>") + ts.count("<name>QObject</name>"), 2);
    }
}

void TestLanguage::resourceTree()
{
    struct Entry
    {
        const char *path;
        QSize size;
        bool compressed;
    };
    const Entry entries[] = {
        {":/qm/tr_zh.qm", QSize(), false},
        {":/qm/tr_en.qm", QSize(), false},
        {":/qm/tr_zh.ts", QSize(), true},
        {":/qm/tr_en.ts", QSize(), true},
        {":/ico/ico/query1.ico", QSize(128, 128), true},
        {":/ico/ico/log.ico", QSize(128, 118), true},
        {":/ico/ico/T8.ico", QSize(128, 128), false},
    };
    for (const Entry &e : entries) {
        const QResource resource(QString::fromLatin1(e.path));
        QVERIFY2(resource.isValid(), e.path);
        QCOMPARE(resource.compressionAlgorithm() != QResource::NoCompression, e.compressed);
        // Format version 1 has no time stamps: the tree is the same every build.
        QVERIFY2(!resource.lastModified().isValid(), e.path);
        if (e.size.isValid()) {
            const QImage image(QString::fromLatin1(e.path));
            QCOMPARE(image.size(), e.size);
            QVERIFY(image.hasAlphaChannel());
        }
    }
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
