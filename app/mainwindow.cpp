#include "mainwindow.h"

#include "qtcompat.h"

#include "devicelink.h"
#include "framecipher.h"
#include "mainwindowform.h"
#include "protocolconstants.h"
#include "tabletitles.h"

#include <QDebug>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

// Four decimal numbers from 0 to 255 joined by dots; leading zeros pass.
const char IPV4_PATTERN[] =
    "((2[0-4]\\d|25[0-5]|[01]?\\d\\d?)\\.){3}(2[0-4]\\d|25[0-5]|[01]?\\d\\d?)";

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), form(new MainWindowForm)
{
    form->setupUi(this);
    initWindow();
}

MainWindow::~MainWindow()
{
    delete form;
    delete udpSocket;
}

void MainWindow::initWindow()
{
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    setFixedSize(width(), height());

    FrameCipher::setKey(FRAME_KEY);

    form->lineEdit_Lport->setValidator(new QIntValidator(1, 65535, form->lineEdit_Lport));
    form->lineEdit_Sport->setValidator(new QIntValidator(1, 65535, form->lineEdit_Sport));
    form->lineEdit_Baud->setValidator(new QIntValidator(100, 2000000, form->lineEdit_Baud));
    for (QLineEdit *edit :
         {form->lineEdit_Gaw, form->lineEdit_Lip, form->lineEdit_Sip, form->lineEdit_Subnet})
        edit->setValidator(QtCompat::patternValidator(QString::fromLatin1(IPV4_PATTERN), edit));

    setUpDeviceTable();

    udpSocket = new DeviceLink(DeviceLink::Delivery::Datagrams);
    // A failed bind is ignored: the window opens all the same, a search finds
    // nothing, and each search tries the bind again.
    QString ignored;
    udpSocket->openEveryAdapter(&ignored);
    connect(udpSocket, SIGNAL(datagramsWaiting()), this, SLOT(SocketRecvData()));
    // The window shows no messages: a datagram that could not leave is
    // noted in the debug log.
    connect(udpSocket, &DeviceLink::sendFailed, this,
            [](const QString &adapter, const QString &reason) {
                qDebug().noquote()
                    << QStringLiteral("cannot send through %1: %2").arg(adapter, reason);
            });

    form->groupBox_Config->setEnabled(false);
    form->pushButton_SaveConfigure->setEnabled(false);
    form->pushButton_FactoryReset->setEnabled(false);
    form->pushButton_DeviceRestart->setEnabled(false);
    form->pushButton_DeviceRestart->hide();

    // Twice, so that every text has been through the catalogues and the
    // window opens in English.
    on_pushButton_Yuyan_clicked();
    on_pushButton_Yuyan_clicked();
}

// Row 0 carries the column titles as ordinary, unselectable items; the
// widget's own headers stay hidden and devices start at row 1.
void MainWindow::setUpDeviceTable()
{
    QTableWidget *table = form->tableWidget_DeviceList;
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setRowCount(1);
    table->setColumnCount(4);

    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(true);
    for (int column = 0; column < 4; ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    for (int column = 0; column < 4; ++column)
        table->setItem(0, column, new QTableWidgetItem(QObject::tr(ENGLISH_TITLES[column])));
    for (int column = 0; column < 4; ++column)
        table->item(0, column)->setTextAlignment(Qt::AlignCenter);

    table->verticalHeader()->hide();
    header->hide();
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    header->setSectionResizeMode(QHeaderView::Stretch);

    for (int column = 0; column < 4; ++column) {
        QTableWidgetItem *title = table->item(0, column);
        title->setFlags(title->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
    }
}

// The restart button stays hidden; there is nothing to do.
void MainWindow::on_pushButton_DeviceRestart_clicked() {}
