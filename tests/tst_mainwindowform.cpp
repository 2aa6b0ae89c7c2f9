#include "mainwindowform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

} // namespace

// The form on its own, on a bare main window: no socket, no slots.
class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void objectNamesAndOrder();
    void comboItemsAndIndicesAfterSetup();
    void retranslateResetsIndices();
    void sourceTexts();
    void sizeLimits();
    void gridCells_data();
    void gridCells();
    void focusFollowsCreationOrder();
    void windowName();

private:
    QMainWindow *window = nullptr;
    MainWindowForm form;
};

void TestMainWindowForm::init()
{
    window = new QMainWindow;
    form = MainWindowForm();
    form.setupUi(window);
}

void TestMainWindowForm::cleanup()
{
    delete window;
    window = nullptr;
}

void TestMainWindowForm::objectNamesAndOrder()
{
    const QList<QObject *> members = {form.centralWidget,
                                      form.groupBox_Config,
                                      form.gridLayout,
                                      form.comboBox_IpType,
                                      form.label_3,
                                      form.lineEdit_Lport,
                                      form.label_6,
                                      form.lineEdit_Gaw,
                                      form.label,
                                      form.lineEdit_Subnet,
                                      form.label_2,
                                      form.label_Mode,
                                      form.lineEdit_Sip,
                                      form.label_8,
                                      form.lineEdit_Sport,
                                      form.label_9,
                                      form.label_5,
                                      form.label_4,
                                      form.lineEdit_Baud,
                                      form.comboBox_Parity,
                                      form.checkBox_Random,
                                      form.comboBox_Mode,
                                      form.label_7,
                                      form.comboBox_StopBit,
                                      form.comboBox_DataBit,
                                      form.lineEdit_Lip,
                                      form.pushButton_Yuyan,
                                      form.groupBox,
                                      form.tableWidget_DeviceList,
                                      form.pushButton_SearchDevice,
                                      form.pushButton_DeviceRestart,
                                      form.pushButton_FactoryReset,
                                      form.pushButton_SaveConfigure,
                                      form.statusBar};
    const QStringList names = {"centralWidget",
                               "groupBox_Config",
                               "gridLayout",
                               "comboBox_IpType",
                               "label_3",
                               "lineEdit_Lport",
                               "label_6",
                               "lineEdit_Gaw",
                               "label",
                               "lineEdit_Subnet",
                               "label_2",
                               "label_Mode",
                               "lineEdit_Sip",
                               "label_8",
                               "lineEdit_Sport",
                               "label_9",
                               "label_5",
                               "label_4",
                               "lineEdit_Baud",
                               "comboBox_Parity",
                               "checkBox_Random",
                               "comboBox_Mode",
                               "label_7",
                               "comboBox_StopBit",
                               "comboBox_DataBit",
                               "lineEdit_Lip",
                               "pushButton_Yuyan",
                               "groupBox",
                               "tableWidget_DeviceList",
                               "pushButton_SearchDevice",
                               "pushButton_DeviceRestart",
                               "pushButton_FactoryReset",
                               "pushButton_SaveConfigure",
                               "statusBar"};
    QCOMPARE(members.size(), 34);
    for (int i = 0; i < members.size(); ++i) {
        QVERIFY2(members.at(i), qPrintable(names.at(i)));
        QCOMPARE(members.at(i)->objectName(), names.at(i));
        QCOMPARE(window->findChild<QObject *>(names.at(i)), members.at(i));
    }
    QCOMPARE(window->centralWidget(), form.centralWidget);
    QCOMPARE(window->statusBar(), form.statusBar);
    QCOMPARE(form.groupBox_Config->layout(), form.gridLayout);
    QCOMPARE(form.gridLayout->spacing(), 6);
    QCOMPARE(form.gridLayout->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(form.tableWidget_DeviceList->parentWidget(), form.groupBox);
    QCOMPARE(form.pushButton_SaveConfigure->parentWidget(), form.centralWidget);
    QCOMPARE(form.pushButton_FactoryReset->geometry(), QRect(330, 280, 91, 23));
    QCOMPARE(form.groupBox_Config->geometry(), QRect(460, 10, 251, 311));
    QCOMPARE(form.tableWidget_DeviceList->rowCount(), 0);
    QCOMPARE(form.tableWidget_DeviceList->columnCount(), 0);
    QCOMPARE(window->size(), QSize(720, 380));
}

void TestMainWindowForm::comboItemsAndIndicesAfterSetup()
{
    QCOMPARE(items(form.comboBox_Mode),
             QStringList({"UDP", "TCP Client", "UDP Server", "TCP Server"}));
    QCOMPARE(items(form.comboBox_IpType), QStringList({"Static IP", "DHCP/Auto IP"}));
    QCOMPARE(items(form.comboBox_Parity), QStringList({"NONE", "ODD", "EVEN"}));
    QCOMPARE(items(form.comboBox_DataBit), QStringList({"7", "8"}));
    QCOMPARE(items(form.comboBox_StopBit), QStringList({"1", "2"}));
    QCOMPARE(form.comboBox_Mode->currentText(), QStringLiteral("TCP Client"));
    QCOMPARE(form.comboBox_DataBit->currentText(), QStringLiteral("8"));
    QCOMPARE(form.comboBox_IpType->currentIndex(), 0);
    QCOMPARE(form.comboBox_Parity->currentIndex(), 0);
    QCOMPARE(form.comboBox_StopBit->currentIndex(), 0);
    for (QComboBox *combo : window->findChildren<QComboBox *>())
        QVERIFY(!combo->isEditable());
}

void TestMainWindowForm::retranslateResetsIndices()
{
    form.comboBox_Mode->setCurrentIndex(3);
    form.comboBox_IpType->setCurrentIndex(1);
    form.comboBox_Parity->setCurrentIndex(2);
    form.comboBox_StopBit->setCurrentIndex(1);
    form.lineEdit_Lip->setText(QStringLiteral("10.0.0.1"));
    form.checkBox_Random->setChecked(true);
    QSignalSpy modeChanges(form.comboBox_Mode, SIGNAL(currentIndexChanged(int)));
    QSignalSpy typeChanges(form.comboBox_IpType, SIGNAL(currentIndexChanged(int)));

    form.retranslateUi(window);

    QCOMPARE(form.comboBox_Mode->currentIndex(), 1);
    QCOMPARE(form.comboBox_IpType->currentIndex(), 0);
    QCOMPARE(form.comboBox_Parity->currentIndex(), 0);
    QCOMPARE(form.comboBox_DataBit->currentIndex(), 0);
    QCOMPARE(form.comboBox_StopBit->currentIndex(), 0);
    QCOMPARE(items(form.comboBox_Mode).size(), 4);
    QCOMPARE(items(form.comboBox_DataBit), QStringList({"7", "8"}));
    // The form rules see the refilling: -1 while empty, then the new index.
    QCOMPARE(modeChanges.size(), 3);
    QCOMPARE(modeChanges.at(0).at(0).toInt(), -1);
    QCOMPARE(modeChanges.at(1).at(0).toInt(), 0);
    QCOMPARE(modeChanges.at(2).at(0).toInt(), 1);
    QCOMPARE(typeChanges.size(), 2);
    QCOMPARE(typeChanges.at(0).at(0).toInt(), -1);
    QCOMPARE(typeChanges.at(1).at(0).toInt(), 0);
    // Typed text and the check box are not touched.
    QCOMPARE(form.lineEdit_Lip->text(), QStringLiteral("10.0.0.1"));
    QVERIFY(form.checkBox_Random->isChecked());
}

void TestMainWindowForm::sourceTexts()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Morvane-ETH-RS232/RS485 ConfigureTool V1.0"));
    QCOMPARE(form.groupBox_Config->title(), QStringLiteral("Parameters"));
    QCOMPARE(form.groupBox->title(), QStringLiteral("Search List"));
    const QList<QPair<QLabel *, QString>> labels = {
        {form.label_Mode, "Work mode"},   {form.label_9, "IP Type"},
        {form.label, "Static IP"},        {form.label_2, "Subnet Mask"},
        {form.label_3, "Gateway"},        {form.label_6, "Local Port"},
        {form.label_7, "Remote IP"},      {form.label_8, "Remote Port"},
        {form.label_4, "Baud Rate(bps)"}, {form.label_5, "Parity/Dta/Stop"}};
    for (const auto &label : labels)
        QCOMPARE(label.first->text(), label.second);
    QCOMPARE(form.checkBox_Random->text(), QStringLiteral("Random"));
    QVERIFY(!form.checkBox_Random->isChecked());
    QCOMPARE(form.pushButton_Yuyan->text(), QStringLiteral("English"));
    QCOMPARE(form.pushButton_SearchDevice->text(), QStringLiteral("Search Device"));
    QCOMPARE(form.pushButton_DeviceRestart->text(), QStringLiteral("Device Restart"));
    QCOMPARE(form.pushButton_FactoryReset->text(), QStringLiteral("Factory Reset"));
    QCOMPARE(form.pushButton_SaveConfigure->text(), QStringLiteral("Configure"));
    for (QLineEdit *edit : window->findChildren<QLineEdit *>()) {
        QVERIFY(edit->text().isEmpty());
        QVERIFY(edit->placeholderText().isEmpty());
    }
}

void TestMainWindowForm::sizeLimits()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(form.comboBox_Parity->width(), 50);
    QVERIFY(form.comboBox_DataBit->width() <= 30);
    QVERIFY(form.comboBox_StopBit->width() <= 30);
    QVERIFY(form.lineEdit_Lport->width() <= 50);
    QVERIFY(form.label_Mode->width() <= 100);
    QCOMPARE(form.comboBox_Mode->maximumSize(), QSize(120, 16777215));
    QCOMPARE(form.comboBox_Parity->minimumSize(), QSize(50, 0));
    QCOMPARE(form.comboBox_Parity->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(form.label_Mode->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
}

void TestMainWindowForm::gridCells_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("cell"); // column, row, column span, row span
    QTest::newRow("mode") << "comboBox_Mode" << QRect(1, 0, 3, 1);
    QTest::newRow("ip type") << "comboBox_IpType" << QRect(1, 1, 3, 1);
    QTest::newRow("lip") << "lineEdit_Lip" << QRect(1, 2, 3, 1);
    QTest::newRow("lport") << "lineEdit_Lport" << QRect(1, 7, 1, 1);
    QTest::newRow("random") << "checkBox_Random" << QRect(2, 7, 2, 1);
    QTest::newRow("parity") << "comboBox_Parity" << QRect(1, 11, 1, 1);
    QTest::newRow("data bits") << "comboBox_DataBit" << QRect(2, 11, 1, 1);
    QTest::newRow("stop bits") << "comboBox_StopBit" << QRect(3, 11, 1, 1);
    QTest::newRow("label 5") << "label_5" << QRect(0, 11, 1, 1);
}

void TestMainWindowForm::gridCells()
{
    QFETCH(QString, name);
    QFETCH(QRect, cell);
    const int index = form.gridLayout->indexOf(window->findChild<QWidget *>(name));
    QVERIFY(index >= 0);
    int row, column, rowSpan, columnSpan;
    form.gridLayout->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(QRect(column, row, columnSpan, rowSpan), cell);
}

void TestMainWindowForm::focusFollowsCreationOrder()
{
    const QStringList expected = {"comboBox_IpType",
                                  "lineEdit_Lport",
                                  "lineEdit_Gaw",
                                  "lineEdit_Subnet",
                                  "lineEdit_Sip",
                                  "lineEdit_Sport",
                                  "lineEdit_Baud",
                                  "comboBox_Parity",
                                  "checkBox_Random",
                                  "comboBox_Mode",
                                  "comboBox_StopBit",
                                  "comboBox_DataBit",
                                  "lineEdit_Lip",
                                  "pushButton_Yuyan",
                                  "tableWidget_DeviceList",
                                  "pushButton_SearchDevice",
                                  "pushButton_DeviceRestart",
                                  "pushButton_FactoryReset",
                                  "pushButton_SaveConfigure"};
    QStringList chain;
    QWidget *w = form.comboBox_IpType;
    for (int i = 0; i < 200 && chain.size() < expected.size(); ++i) {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w->objectName();
        w = w->nextInFocusChain();
    }
    QCOMPARE(chain, expected);
}

void TestMainWindowForm::windowName()
{
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QMainWindow named;
    named.setObjectName(QStringLiteral("Other"));
    MainWindowForm other;
    other.setupUi(&named);
    QCOMPARE(named.objectName(), QStringLiteral("Other"));
}

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
