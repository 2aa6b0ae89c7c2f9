#include "windowharness.h"

#include "deviceframe.h"
#include "framecipher.h"
#include "protocolconstants.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QtTest>

DeviceRecord sampleDevice(const QString &mac, const QString &name)
{
    DeviceRecord r;
    r.mac = mac;
    r.deviceName = name;
    r.ipType = 0;
    r.mode = 1;
    r.subnet = QStringLiteral("255.255.255.0");
    r.gaw = QStringLiteral("192.168.1.1");
    r.lip = QStringLiteral("192.168.1.20");
    r.lport = QStringLiteral("4001");
    r.sip = QStringLiteral("192.168.1.100");
    r.sport = QStringLiteral("5001");
    r.baud = QStringLiteral("115200");
    r.dataBit = 1;
    r.stopBit = 0;
    r.parity = 0;
    return r;
}

QByteArray replyPlaintext(const DeviceRecord &record, quint8 version)
{
    QByteArray frame(FRAME_SIZE, '\0');
    DeviceFrame::encodeReply(record, version, frame);
    return frame;
}

QByteArray replyDatagram(const DeviceRecord &record, quint8 version)
{
    return encrypted(replyPlaintext(record, version));
}

QByteArray encrypted(QByteArray frame)
{
    FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(frame.data()), FRAME_SIZE);
    return frame;
}

QByteArray decrypted(QByteArray frame)
{
    FrameCipher::decrypt(reinterpret_cast<std::uint8_t *>(frame.data()), FRAME_SIZE);
    return frame;
}

namespace {

QStringList capturedLines;
QtMessageHandler previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg)
        capturedLines << message;
    else if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

LogCapture::LogCapture()
{
    capturedLines.clear();
    previousHandler = qInstallMessageHandler(captureMessage);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previousHandler);
}

QStringList LogCapture::lines() const
{
    return capturedLines;
}

void LogCapture::clear()
{
    capturedLines.clear();
}

DeviceSocket::DeviceSocket(const QString &address, quint16 port)
{
    socket.bind(QHostAddress(address), port,
                QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
}

bool DeviceSocket::isBound() const
{
    return socket.state() == QAbstractSocket::BoundState;
}

void DeviceSocket::broadcast(const QByteArray &datagram)
{
    socket.writeDatagram(datagram, QHostAddress::Broadcast, DEVICE_PORT);
}

Capture::Capture()
{
    socket.bind(QHostAddress::AnyIPv4, DEVICE_PORT,
                QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
}

bool Capture::isBound() const
{
    return socket.state() == QAbstractSocket::BoundState;
}

QByteArray Capture::next(int timeoutMs, bool (*filter)(const QByteArray &))
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket.receiveDatagram();
            if (datagram.senderPort() == DEVICE_PORT && filter(datagram.data()))
                return datagram.data();
        }
        QTest::qWait(5);
    }
    return QByteArray();
}

QList<QByteArray> Capture::collect(int ms)
{
    QList<QByteArray> all;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QTest::qWait(5);
        while (socket.hasPendingDatagrams())
            all << socket.receiveDatagram().data();
    }
    return all;
}

void Capture::drain()
{
    QTest::qWait(20);
    while (socket.hasPendingDatagrams())
        socket.receiveDatagram();
}

bool isProbe(const QByteArray &datagram)
{
    return datagram == QByteArray(SEARCH_PROBE);
}

bool isConfigureFrame(const QByteArray &datagram)
{
    return datagram.size() == FRAME_SIZE &&
           decrypted(datagram).mid(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE) == QByteArray(CONFIG_TAG);
}
