// Junk on the wire: a flood of datagrams at the window, none of which may list
// a converter. Two roles in one program, on two hosts of a test network (see
// scripts/bench-flood.sh):
//   bench_flood send COUNT             sends the junk from this host
//   bench_flood window NETLAB LAB SELF COUNT   runs the window and reports
#include "framechecksum.h"
#include "framecipher.h"
#include "mainwindow.h"
#include "protocolconstants.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>

namespace {

constexpr std::uint8_t OTHER_KEY[16] = {0xDE, 0xAD, 0xBE, 0xEF, 1, 2,  3,  4,
                                        5,    6,    7,    8,    9, 10, 11, 12};

// Peak resident memory of this process, in kB.
long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

QByteArray validFrame(QRandomGenerator &random, bool configureTag)
{
    QByteArray frame(FRAME_SIZE, '\0');
    random.fillRange(reinterpret_cast<quint32 *>(frame.data()), FRAME_SIZE / 4);
    if (configureTag)
        frame.replace(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE, CONFIG_TAG);
    else if (frame.mid(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE) == CONFIG_TAG)
        frame[CONFIG_TAG_OFFSET] = 'x';
    FrameChecksum::store(reinterpret_cast<std::uint8_t *>(frame.data()));
    return frame;
}

int send(int count)
{
    QString address;
    for (const QHostAddress &a : QNetworkInterface::allAddresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            address = a.toString();
    }
    const auto shared = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
    QUdpSocket devicePort, foreignPort;
    if (!devicePort.bind(QHostAddress(address), DEVICE_PORT, shared) ||
        !foreignPort.bind(QHostAddress(address), 40000, shared)) {
        QTextStream(stderr) << "bench_flood: cannot bind on " << address << "\n";
        return 1;
    }
    QRandomGenerator random(1234);
    for (int i = 0; i < count; ++i) {
        QByteArray datagram;
        QUdpSocket *from = &devicePort;
        switch (i % 4) {
        case 0: // random size and content, from port 1500 or another port
            datagram.resize(int(random.bounded(200)));
            for (char &c : datagram)
                c = char(random.bounded(256));
            if (i % 8 == 0)
                from = &foreignPort;
            break;
        case 1: // a genuine-looking reply from a foreign port
            datagram = validFrame(random, false);
            FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(datagram.data()), FRAME_SIZE);
            from = &foreignPort;
            break;
        case 2: // valid checksum, carrying the configure tag
            datagram = validFrame(random, true);
            FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(datagram.data()), FRAME_SIZE);
            break;
        case 3: // a reply forged under another key
            datagram = validFrame(random, false);
            FrameCipher::setKey(OTHER_KEY);
            FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(datagram.data()), FRAME_SIZE);
            FrameCipher::setKey(FRAME_KEY);
            break;
        }
        from->writeDatagram(datagram, QHostAddress::Broadcast, DEVICE_PORT);
        if (i % 500 == 499)
            QThread::usleep(500); // a fast, steady stream rather than one wall
    }
    QTextStream(stdout) << "sent " << count << "\n";
    return 0;
}

int seenDatagrams = 0;

void countDatagrams(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // One line of the form "address:port[length]:hex" per datagram.
    if (type == QtDebugMsg && message.contains(QLatin1Char('[')))
        ++seenDatagrams;
}

int window(const QString &netlab, const QString &lab, const QString &self, int count)
{
    qInstallMessageHandler(countDatagrams);
    MainWindow window;
    window.show();
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("tableWidget_DeviceList"));
    auto *language = window.findChild<QPushButton *>(QStringLiteral("pushButton_Yuyan"));
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    const long before = peakRssKb();

    // The event loop's longest gap while the flood lasts: how long input waits.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(10);

    QProcess sender;
    sender.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QEventLoop flood;
    QObject::connect(&sender, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &flood,
                     &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    sender.start(netlab, {"exec", lab, "flood", self, "send", QString::number(count)});
    flood.exec();
    const qint64 floodMs = clock.elapsed();
    // Let the window take in what is still waiting.
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    ticker.stop();

    // Alive: a click still switches the language.
    const QString label = language->text();
    language->click();
    const bool alive = language->text() != label;
    const long after = peakRssKb();
    const int rows = table->rowCount() - 1;

    QTextStream out(stdout);
    out << "flood lasted " << floodMs << " ms; the window read " << seenDatagrams
        << " datagrams; its event loop's longest gap was " << longestGap << " ms\n";
    out << "flood: " << count << " datagrams, " << rows << " rows added, window "
        << (alive ? "alive" : "NOT RESPONDING") << ", peak RSS " << before << " kB before, "
        << after << " kB after\n";
    return alive && rows == 0 && sender.exitCode() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString role = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    FrameCipher::setKey(FRAME_KEY);
    if (role == QLatin1String("send") && argc == 3) {
        QCoreApplication app(argc, argv);
        return send(QString::fromLatin1(argv[2]).toInt());
    }
    if (role == QLatin1String("window") && argc == 6) {
        QApplication app(argc, argv);
        return window(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                      QString::fromLocal8Bit(argv[4]), QString::fromLatin1(argv[5]).toInt());
    }
    QTextStream(stderr)
        << "usage: bench_flood send COUNT | bench_flood window NETLAB LAB SELF COUNT\n";
    return 2;
}
