#pragma once

#include <QCoreApplication>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QWidget;

// The widgets of the main window. The members only point at the widgets; the
// window's Qt object tree owns them. Object names equal the member names and
// are part of the interface: the window's slots are connected by name.
class MainWindowForm
{
    // The form's texts belong to the window's translation context.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    QWidget *centralWidget = nullptr;
    QGroupBox *groupBox_Config = nullptr;
    QGridLayout *gridLayout = nullptr;
    QComboBox *comboBox_IpType = nullptr;
    QLabel *label_3 = nullptr;
    QLineEdit *lineEdit_Lport = nullptr;
    QLabel *label_6 = nullptr;
    QLineEdit *lineEdit_Gaw = nullptr;
    QLabel *label = nullptr;
    QLineEdit *lineEdit_Subnet = nullptr;
    QLabel *label_2 = nullptr;
    QLabel *label_Mode = nullptr;
    QLineEdit *lineEdit_Sip = nullptr;
    QLabel *label_8 = nullptr;
    QLineEdit *lineEdit_Sport = nullptr;
    QLabel *label_9 = nullptr;
    QLabel *label_5 = nullptr;
    QLabel *label_4 = nullptr;
    QLineEdit *lineEdit_Baud = nullptr;
    QComboBox *comboBox_Parity = nullptr;
    QCheckBox *checkBox_Random = nullptr;
    QComboBox *comboBox_Mode = nullptr;
    QLabel *label_7 = nullptr;
    QComboBox *comboBox_StopBit = nullptr;
    QComboBox *comboBox_DataBit = nullptr;
    QLineEdit *lineEdit_Lip = nullptr;
    QPushButton *pushButton_Yuyan = nullptr;
    QGroupBox *groupBox = nullptr;
    QTableWidget *tableWidget_DeviceList = nullptr;
    QPushButton *pushButton_SearchDevice = nullptr;
    QPushButton *pushButton_DeviceRestart = nullptr;
    QPushButton *pushButton_FactoryReset = nullptr;
    QPushButton *pushButton_SaveConfigure = nullptr;
    QStatusBar *statusBar = nullptr;

    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);
};
