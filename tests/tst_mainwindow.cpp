#include "mainwindow.h"
#include "privatenetwork.h"
#include "protocolconstants.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QUdpSocket>
#include <QValidator>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fixedSizeWithoutMaximise();
    void titleRow();
    void validators_data();
    void validators();
    void initialStates();
    void portTakenByAnotherProgram();

private:
    template <typename T> T *widget(const char *name) { return child<T>(window, name); }

    MainWindow *window = nullptr;
};

void TestMainWindow::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
}

void TestMainWindow::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
}

void TestMainWindow::fixedSizeWithoutMaximise()
{
    QCOMPARE(window->size(), QSize(720, 380));
    QCOMPARE(window->minimumSize(), QSize(720, 380));
    QCOMPARE(window->maximumSize(), QSize(720, 380));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    window->resize(900, 600);
    QCOMPARE(window->size(), QSize(720, 380));
}

void TestMainWindow::titleRow()
{
    auto *table = widget<QTableWidget>("tableWidget_DeviceList");
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->columnCount(), 4);
    const QStringList titles = {"Device IP", "Device Name", "MAC", "Version"};
    for (int column = 0; column < 4; ++column) {
        const QTableWidgetItem *item = table->item(0, column);
        QVERIFY(item);
        QCOMPARE(item->text(), titles.at(column));
        QCOMPARE(item->data(Qt::TextAlignmentRole).toInt(), 132);
        QVERIFY(!(item->flags() & Qt::ItemIsSelectable));
        QVERIFY(!(item->flags() & Qt::ItemIsEnabled));
        QCOMPARE(table->horizontalHeader()->sectionResizeMode(column), QHeaderView::Stretch);
    }
    QVERIFY(table->horizontalHeader()->isHidden());
    QVERIFY(table->verticalHeader()->isHidden());
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);

    // A click on the title row selects nothing.
    const QRect cell = table->visualRect(table->model()->index(0, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(table->selectionModel()->selectedIndexes().isEmpty());
}

void TestMainWindow::validators_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    const int ok = QValidator::Acceptable;
    const int bad = QValidator::Invalid;
    for (const char *port : {"lineEdit_Lport", "lineEdit_Sport"}) {
        const QString f = QString::fromLatin1(port);
        QTest::addRow("%s 1", port) << f << "1" << ok;
        QTest::addRow("%s 65535", port) << f << "65535" << ok;
        QTest::addRow("%s 0", port) << f << "0" << int(QValidator::Intermediate);
        // Out of range but as long as the bound: Qt leaves it as unfinished input.
        QTest::addRow("%s 65536", port) << f << "65536" << int(QValidator::Intermediate);
        QTest::addRow("%s 655360", port) << f << "655360" << bad;
        QTest::addRow("%s letters", port) << f << "12a" << bad;
    }
    QTest::newRow("baud 100") << "lineEdit_Baud"
                              << "100" << ok;
    QTest::newRow("baud 2000000") << "lineEdit_Baud"
                                  << "2000000" << ok;
    QTest::newRow("baud 99") << "lineEdit_Baud"
                             << "99" << int(QValidator::Intermediate);
    QTest::newRow("baud 2000001") << "lineEdit_Baud"
                                  << "2000001" << int(QValidator::Intermediate);
    QTest::newRow("baud 20000000") << "lineEdit_Baud"
                                   << "20000000" << bad;
    for (const char *address :
         {"lineEdit_Lip", "lineEdit_Sip", "lineEdit_Gaw", "lineEdit_Subnet"}) {
        const QString f = QString::fromLatin1(address);
        QTest::addRow("%s plain", address) << f << "192.168.1.7" << ok;
        QTest::addRow("%s leading zeros", address) << f << "192.168.001.010" << ok;
        QTest::addRow("%s 256", address) << f << "192.168.1.256" << bad;
        QTest::addRow("%s partial", address) << f << "192.168" << int(QValidator::Intermediate);
        QTest::addRow("%s five parts", address) << f << "1.2.3.4.5" << bad;
    }
}

void TestMainWindow::validators()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, state);
    auto *edit = window->findChild<QLineEdit *>(field);
    QVERIFY(edit && edit->validator());
    QCOMPARE(edit->validator()->parent(), edit);
    QString input = text;
    int position = input.size();
    QCOMPARE(int(edit->validator()->validate(input, position)), state);

    // What a keyboard would leave in the field.
    edit->setEnabled(true);
    widget<QGroupBox>("groupBox_Config")->setEnabled(true);
    edit->clear();
    edit->setFocus();
    for (const QChar c : text)
        QTest::keyClick(edit, c.toLatin1());
    if (state == QValidator::Invalid)
        QVERIFY(edit->text() != text);
    else
        QCOMPARE(edit->text(), text);
}

void TestMainWindow::initialStates()
{
    QVERIFY(!widget<QGroupBox>("groupBox_Config")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_SaveConfigure")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_FactoryReset")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_DeviceRestart")->isEnabled());
    QVERIFY(!widget<QPushButton>("pushButton_DeviceRestart")->isVisible());
    QVERIFY(widget<QPushButton>("pushButton_SearchDevice")->isEnabled());
    QVERIFY(widget<QPushButton>("pushButton_Yuyan")->isEnabled());
    QCOMPARE(widget<QComboBox>("comboBox_Mode")->currentIndex(), 1);
    QCOMPARE(widget<QComboBox>("comboBox_DataBit")->currentIndex(), 1);
    QVERIFY(!widget<QCheckBox>("checkBox_Random")->isChecked());
}

namespace {

int shownTopLevels()
{
    int shown = 0; // combo boxes keep hidden pop-ups at the top level
    for (const QWidget *top : QApplication::topLevelWidgets())
        shown += top->isVisible() ? 1 : 0;
    return shown;
}

} // namespace

void TestMainWindow::portTakenByAnotherProgram()
{
    delete window;
    window = nullptr;
    // Another program holds the port without sharing it.
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, DEVICE_PORT, QAbstractSocket::DontShareAddress));
    LogCapture log;
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(shownTopLevels(), 1); // no message box
    QVERIFY(window->statusBar()->currentMessage().isEmpty());

    QTest::mouseClick(widget<QPushButton>("pushButton_SearchDevice"), Qt::LeftButton);
    // No probe leaves from another port (no converter would answer there);
    // the debug log, not the operator, is told why, and the list stays empty.
    QTest::qWait(200);
    QVERIFY(!holder.hasPendingDatagrams());
    QCOMPARE(widget<QTableWidget>("tableWidget_DeviceList")->rowCount(), 1);
    QCOMPARE(log.lines().size(), 1);
    QVERIFY2(log.lines().first().contains("UDP port 1500 is not bound"),
             qPrintable(log.lines().first()));
    QCOMPARE(shownTopLevels(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
