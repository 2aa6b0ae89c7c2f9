#pragma once

#include "devicerecord.h"
#include "mainwindow.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QStringList>
#include <QUdpSocket>

// Reaches the window's records and private operations without a network
// round trip.
struct MainWindowTestAccess
{
    static const QList<DeviceRecord> &devices(const MainWindow &w) { return w.devices; }
    // Lists a record the way a reply would, without the search for its MAC.
    static void appendDevice(MainWindow &w, const DeviceRecord &r) { w.listDevice(r); }
    static const DeviceRecord &currentDevice(const MainWindow &w) { return w.currentDevice; }
    static void addDeviceFromFrame(MainWindow &w, const QByteArray &frame, const QString &ip)
    {
        w.addDeviceFromFrame(frame, ip);
    }
    static void recordToForm(MainWindow &w, const DeviceRecord &record) { w.recordToForm(record); }
    static DeviceRecord formToRecord(MainWindow &w, DeviceRecord record)
    {
        w.formToRecord(record);
        return record;
    }
    static void sendConfigure(MainWindow &w, const DeviceRecord &record)
    {
        w.sendConfigure(record);
    }
    // The adapter a converter's first answer came in on.
    static int adapterOf(const MainWindow &w, const QString &mac)
    {
        return w.deviceAdapters.value(mac);
    }
};

// The window's widget with this object name; object names are the form's
// interface, so a missing one ends the test run.
template <typename T> T *child(const QObject *root, const char *name)
{
    T *found = root->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}

// A converter's settings, as a reply would carry them.
DeviceRecord sampleDevice(const QString &mac, const QString &name = QStringLiteral("CONV"));

// The 64-byte plaintext of a reply from the converter described by record.
QByteArray replyPlaintext(const DeviceRecord &record, quint8 version = 0x12);

// The same reply encrypted for the wire.
QByteArray replyDatagram(const DeviceRecord &record, quint8 version = 0x12);

// Encrypts or decrypts a copy of a 64-byte frame under the frame key.
QByteArray encrypted(QByteArray frame);
QByteArray decrypted(QByteArray frame);

// Collects the debug log while it lives.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    QStringList lines() const;
    void clear();
};

// A socket bound to one loopback address and a port, sharing the port with
// the window; it broadcasts to the device port like a converter does.
class DeviceSocket
{
public:
    DeviceSocket(const QString &address, quint16 port);
    bool isBound() const;
    void broadcast(const QByteArray &datagram);

private:
    QUdpSocket socket;
};

// Hears every broadcast to the device port, as a converter would.
class Capture
{
public:
    Capture();
    bool isBound() const;
    // Waits up to timeoutMs for a datagram from port 1500 that satisfies the
    // filter, and returns it (empty when none came).
    QByteArray next(int timeoutMs, bool (*filter)(const QByteArray &));
    // Every datagram that arrives within ms milliseconds.
    QList<QByteArray> collect(int ms);
    void drain();

private:
    QUdpSocket socket;
};

bool isProbe(const QByteArray &datagram);
bool isConfigureFrame(const QByteArray &datagram);
