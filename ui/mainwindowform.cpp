#include "mainwindowform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaObject>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QTableWidget>

namespace {

constexpr int UNLIMITED = 16777215;

// Keeps the widget's height-for-width flag, as a form generator would.
void setPolicy(QWidget *widget, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical)
{
    QSizePolicy policy(horizontal, vertical);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(widget->sizePolicy().hasHeightForWidth());
    widget->setSizePolicy(policy);
}

template <typename W> W *create(QWidget *parent, const char *name)
{
    W *widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Empties the combo box and inserts the whole list, which makes item 0 current.
void refill(QComboBox *combo, const QStringList &items)
{
    combo->clear();
    combo->insertItems(0, items);
}

} // namespace

void MainWindowForm::setupUi(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(720, 380);

    centralWidget = create<QWidget>(window, "centralWidget");
    groupBox_Config = create<QGroupBox>(centralWidget, "groupBox_Config");
    groupBox_Config->setGeometry(QRect(460, 10, 251, 311));

    gridLayout = new QGridLayout(groupBox_Config);
    gridLayout->setSpacing(6);
    gridLayout->setContentsMargins(11, 11, 11, 11);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));

    QWidget *box = groupBox_Config;
    comboBox_IpType = create<QComboBox>(box, "comboBox_IpType");
    comboBox_IpType->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(comboBox_IpType, 1, 1, 1, 3);

    label_3 = create<QLabel>(box, "label_3");
    gridLayout->addWidget(label_3, 4, 0, 1, 1);

    lineEdit_Lport = create<QLineEdit>(box, "lineEdit_Lport");
    lineEdit_Lport->setMaximumSize(QSize(50, UNLIMITED));
    gridLayout->addWidget(lineEdit_Lport, 7, 1, 1, 1);

    label_6 = create<QLabel>(box, "label_6");
    gridLayout->addWidget(label_6, 7, 0, 1, 1);

    lineEdit_Gaw = create<QLineEdit>(box, "lineEdit_Gaw");
    lineEdit_Gaw->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(lineEdit_Gaw, 4, 1, 1, 3);

    label = create<QLabel>(box, "label");
    gridLayout->addWidget(label, 2, 0, 1, 1);

    lineEdit_Subnet = create<QLineEdit>(box, "lineEdit_Subnet");
    lineEdit_Subnet->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(lineEdit_Subnet, 3, 1, 1, 3);

    label_2 = create<QLabel>(box, "label_2");
    gridLayout->addWidget(label_2, 3, 0, 1, 1);

    label_Mode = create<QLabel>(box, "label_Mode");
    setPolicy(label_Mode, QSizePolicy::Preferred, QSizePolicy::Preferred);
    label_Mode->setMaximumSize(QSize(100, UNLIMITED));
    gridLayout->addWidget(label_Mode, 0, 0, 1, 1);

    lineEdit_Sip = create<QLineEdit>(box, "lineEdit_Sip");
    lineEdit_Sip->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(lineEdit_Sip, 8, 1, 1, 3);

    label_8 = create<QLabel>(box, "label_8");
    gridLayout->addWidget(label_8, 9, 0, 1, 1);

    lineEdit_Sport = create<QLineEdit>(box, "lineEdit_Sport");
    lineEdit_Sport->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(lineEdit_Sport, 9, 1, 1, 3);

    label_9 = create<QLabel>(box, "label_9");
    gridLayout->addWidget(label_9, 1, 0, 1, 1);

    label_5 = create<QLabel>(box, "label_5");
    gridLayout->addWidget(label_5, 11, 0, 1, 1);

    label_4 = create<QLabel>(box, "label_4");
    gridLayout->addWidget(label_4, 10, 0, 1, 1);

    lineEdit_Baud = create<QLineEdit>(box, "lineEdit_Baud");
    lineEdit_Baud->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(lineEdit_Baud, 10, 1, 1, 3);

    comboBox_Parity = create<QComboBox>(box, "comboBox_Parity");
    setPolicy(comboBox_Parity, QSizePolicy::Preferred, QSizePolicy::Fixed);
    comboBox_Parity->setMinimumSize(QSize(50, 0));
    comboBox_Parity->setMaximumSize(QSize(50, UNLIMITED));
    gridLayout->addWidget(comboBox_Parity, 11, 1, 1, 1);

    checkBox_Random = create<QCheckBox>(box, "checkBox_Random");
    gridLayout->addWidget(checkBox_Random, 7, 2, 1, 2);

    comboBox_Mode = create<QComboBox>(box, "comboBox_Mode");
    setPolicy(comboBox_Mode, QSizePolicy::Preferred, QSizePolicy::Fixed);
    comboBox_Mode->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(comboBox_Mode, 0, 1, 1, 3);

    label_7 = create<QLabel>(box, "label_7");
    gridLayout->addWidget(label_7, 8, 0, 1, 1);

    comboBox_StopBit = create<QComboBox>(box, "comboBox_StopBit");
    setPolicy(comboBox_StopBit, QSizePolicy::Preferred, QSizePolicy::Fixed);
    comboBox_StopBit->setMaximumSize(QSize(30, UNLIMITED));
    gridLayout->addWidget(comboBox_StopBit, 11, 3, 1, 1);

    comboBox_DataBit = create<QComboBox>(box, "comboBox_DataBit");
    comboBox_DataBit->setMaximumSize(QSize(30, UNLIMITED));
    gridLayout->addWidget(comboBox_DataBit, 11, 2, 1, 1);

    lineEdit_Lip = create<QLineEdit>(box, "lineEdit_Lip");
    lineEdit_Lip->setMaximumSize(QSize(120, UNLIMITED));
    gridLayout->addWidget(lineEdit_Lip, 2, 1, 1, 3);

    pushButton_Yuyan = create<QPushButton>(centralWidget, "pushButton_Yuyan");
    pushButton_Yuyan->setGeometry(QRect(10, 330, 75, 23));

    groupBox = create<QGroupBox>(centralWidget, "groupBox");
    groupBox->setGeometry(QRect(10, 10, 441, 311));

    tableWidget_DeviceList = create<QTableWidget>(groupBox, "tableWidget_DeviceList");
    tableWidget_DeviceList->setGeometry(QRect(15, 21, 411, 251));
    tableWidget_DeviceList->setAutoScroll(true);
    tableWidget_DeviceList->setRowCount(0);

    pushButton_SearchDevice = create<QPushButton>(groupBox, "pushButton_SearchDevice");
    pushButton_SearchDevice->setGeometry(QRect(18, 280, 111, 23));
    QIcon icon;
    icon.addFile(QStringLiteral(":/ico/ico/query1.ico"), QSize(), QIcon::Normal, QIcon::Off);
    pushButton_SearchDevice->setIcon(icon);

    pushButton_DeviceRestart = create<QPushButton>(groupBox, "pushButton_DeviceRestart");
    pushButton_DeviceRestart->setGeometry(QRect(170, 280, 101, 23));
    pushButton_FactoryReset = create<QPushButton>(groupBox, "pushButton_FactoryReset");
    pushButton_FactoryReset->setGeometry(QRect(330, 280, 91, 23));
    pushButton_SaveConfigure = create<QPushButton>(centralWidget, "pushButton_SaveConfigure");
    pushButton_SaveConfigure->setGeometry(QRect(550, 330, 71, 23));

    window->setCentralWidget(centralWidget);
    statusBar = create<QStatusBar>(window, "statusBar");
    window->setStatusBar(statusBar);

    retranslateUi(window);

    comboBox_Mode->setCurrentIndex(1);
    comboBox_DataBit->setCurrentIndex(1);

    // Last, so that the first filling of the combo boxes reaches no slot.
    QMetaObject::connectSlotsByName(window);
}

void MainWindowForm::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(tr("Morvane-ETH-RS232/RS485 ConfigureTool V1.0"));
    groupBox_Config->setTitle(tr("Parameters"));
    refill(comboBox_IpType, {tr("Static IP"), tr("DHCP/Auto IP")});
    label_3->setText(tr("Gateway"));
    label_6->setText(tr("Local Port"));
    label->setText(tr("Static IP"));
    label_2->setText(tr("Subnet Mask"));
    label_Mode->setText(tr("Work mode"));
    label_8->setText(tr("Remote Port"));
    label_9->setText(tr("IP Type"));
    label_5->setText(tr("Parity/Dta/Stop"));
    label_4->setText(tr("Baud Rate(bps)"));
    refill(comboBox_Parity, {tr("NONE"), tr("ODD"), tr("EVEN")});
    checkBox_Random->setText(tr("Random"));
    refill(comboBox_Mode, {tr("UDP"), tr("TCP Client"), tr("UDP Server"), tr("TCP Server")});
    comboBox_Mode->setCurrentIndex(comboBox_Mode->findText(tr("TCP Client")));
    label_7->setText(tr("Remote IP"));
    refill(comboBox_StopBit, {tr("1"), tr("2")});
    refill(comboBox_DataBit, {tr("7"), tr("8")});
    pushButton_Yuyan->setText(tr("English"));
    groupBox->setTitle(tr("Search List"));
    pushButton_SearchDevice->setText(tr("Search Device"));
    pushButton_DeviceRestart->setText(tr("Device Restart"));
    pushButton_FactoryReset->setText(tr("Factory Reset"));
    pushButton_SaveConfigure->setText(tr("Configure"));
}
