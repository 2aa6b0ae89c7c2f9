#pragma once

#include "configureframe.h"
#include "devicerecord.h"
#include "journal.h"

#include <QHash>
#include <QList>
#include <QMainWindow>

class MainWindowForm;
class QLineEdit;
class QModelIndex;
class DeviceLink;
struct Arrival;

// The tool's only window: it owns the form, the device socket, the devices of
// the last search and the device chosen for configuration.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    // Fits the texts of the language the window first shows in.
    void showEvent(QShowEvent *event) override;

private slots:
    void on_pushButton_Yuyan_clicked();
    void on_pushButton_SearchDevice_clicked();
    void on_pushButton_DeviceRestart_clicked();
    void on_pushButton_FactoryReset_clicked();
    void on_pushButton_SaveConfigure_clicked();
    void on_comboBox_IpType_currentIndexChanged(int index);
    void on_comboBox_Mode_currentIndexChanged(int index);
    void on_checkBox_Random_clicked();
    void on_lineEdit_Lport_textChanged(const QString &arg1);
    void SocketRecvData();
    void on_tableWidget_DeviceList_clicked(const QModelIndex &index);

private:
    void initWindow();
    void setUpDeviceTable();

    // Device list and selection.
    void addDeviceRow(const QString &deviceIp, const QString &deviceName, const QString &mac,
                      const QString &version);
    void clearDeviceRows();
    void recordToForm(const DeviceRecord &record);

    // Form rules.
    void formToRecord(DeviceRecord &record);

    // Discovery and configuration write.
    bool handleDatagram(const Arrival &arrival);
    void addDeviceFromFrame(QByteArray frame, QString deviceIp);
    bool listDevice(const DeviceRecord &record, int interfaceIndex = 0);
    void sendConfigure(DeviceRecord record);
    QLineEdit *fieldWidget(ConfigureFrame::Field field) const;

    // Lets the tests reach the records without a network round trip.
    friend struct MainWindowTestAccess;

    // The device port on every adapter (the device link shared with
    // converter-cli), under the name the window has always used.
    DeviceLink *udpSocket = nullptr;
    QList<DeviceRecord> devices;
    MainWindowForm *form = nullptr;
    DeviceRecord currentDevice;
    // The MACs in devices, each with the adapter of its first answer (0 when
    // unknown), so that a crowd of replies is checked in constant time.
    QHash<QString, int> deviceAdapters;
    // What each listed converter reported, byte for byte: the journal keeps
    // it as the settings a write replaced.
    QHash<QString, QByteArray> reportedSettings;
    // Every "Configure" is journaled before its frame leaves, so that it can
    // be looked up and undone with converter-cli. Written, never read here.
    Journal journal{Journal::defaultPath(), QStringLiteral("converter-config")};
};
