// A crowd of converters answering one probe: how many rows the window lists,
// how long after the probe the last row appears, and what each reply costs
// the window's thread. Runs on host "tool" of a test network, with the
// simulator on host "sims" (see scripts/bench-burst.sh).
#include "mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <sys/resource.h>

namespace {

// Datagrams this network namespace dropped because a socket's receive buffer
// was full (UDP RcvbufErrors); -1 when the system does not say.
long receiveBufferDrops()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    if (!snmp.open(QIODevice::ReadOnly))
        return -1;
    QList<QByteArray> names;
    for (const QByteArray &line : snmp.readAll().split('\n')) {
        if (!line.startsWith("Udp: "))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (names.isEmpty()) {
            names = fields;
            continue;
        }
        const int at = names.indexOf("RcvbufErrors");
        return at > 0 ? fields.value(at).toLong() : -1;
    }
    return -1;
}

double cpuMicroseconds()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 + usage.ru_utime.tv_usec +
           usage.ru_stime.tv_usec;
}

struct Round
{
    int listed = 0;
    double lastRowMs = 0;
    double cpuPerReplyUs = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        QTextStream(stderr) << "usage: bench_burst NETLAB LAB SIM COUNT [JITTER_MS] [ROUNDS]\n";
        return 2;
    }
    const QString netlab = args.at(1), lab = args.at(2), simPath = args.at(3);
    const int count = args.at(4).toInt();
    const int jitter = args.value(5, QStringLiteral("10")).toInt();
    const int rounds = args.value(6, QStringLiteral("5")).toInt();
    QTextStream out(stdout);

    QProcess addr;
    addr.start(netlab, {"addr", lab, "sims"});
    addr.waitForFinished();
    const QString base = QString::fromLatin1(addr.readAllStandardOutput()).trimmed();

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(netlab, {"exec", lab, "sims", simPath, "--state", "/tmp/bench-burst-" + lab + ".json",
                       "--count", QString::number(count), "--base-address", base, "--jitter",
                       QString::number(jitter)});
    if (!sim.waitForReadyRead(30000) || !sim.readLine().startsWith("converter-sim: ready")) {
        QTextStream(stderr) << "bench_burst: the simulator did not start\n";
        return 1;
    }

    MainWindow window;
    window.show();
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("tableWidget_DeviceList"));
    auto *search = window.findChild<QPushButton *>(QStringLiteral("pushButton_SearchDevice"));

    QList<Round> results;
    int sentTotal = 0;
    const long dropsBefore = receiveBufferDrops();
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer clock;
        double lastRow = 0;
        double cpuAtLastRow = 0;
        QEventLoop loop;
        QTimer quiet; // ends the round when no row came for a while
        quiet.setSingleShot(true);
        QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
        auto connection = QObject::connect(table->model(), &QAbstractItemModel::rowsInserted, [&] {
            lastRow = clock.nsecsElapsed() / 1e6;
            cpuAtLastRow = cpuMicroseconds();
            quiet.start(table->rowCount() - 1 >= count ? 50 : 2000);
        });
        // Settle, then probe.
        QTimer::singleShot(200, &loop, &QEventLoop::quit);
        loop.exec();
        sim.readAll();
        const double cpuBefore = cpuMicroseconds();
        clock.start();
        quiet.start(5000);
        search->click();
        loop.exec();
        const double cpu = cpuAtLastRow > 0 ? cpuAtLastRow - cpuBefore : 0;
        QObject::disconnect(connection);
        sim.waitForReadyRead(1000);
        const QByteArray line = sim.readAll();
        const int at = line.indexOf("answered with ");
        if (at >= 0)
            sentTotal += line.mid(at + 14).split(' ').first().toInt();
        Round round;
        round.listed = table->rowCount() - 1;
        round.lastRowMs = lastRow;
        round.cpuPerReplyUs = round.listed ? cpu / round.listed : 0;
        results << round;
        out << QStringLiteral(
                   "round %1: listed %2 of %3, last row after %4 ms, %5 us CPU per reply\n")
                   .arg(r + 1)
                   .arg(round.listed)
                   .arg(count)
                   .arg(round.lastRowMs, 0, 'f', 1)
                   .arg(round.cpuPerReplyUs, 0, 'f', 1);
        out.flush();
    }
    sim.terminate();
    sim.waitForFinished(5000);

    // The median round.
    std::sort(results.begin(), results.end(),
              [](const Round &a, const Round &b) { return a.lastRowMs < b.lastRowMs; });
    const Round median = results.at(results.size() / 2);
    int worstListed = count;
    for (const Round &round : results)
        worstListed = std::min(worstListed, round.listed);
    out << "replies sent: " << sentTotal << " in " << rounds
        << " rounds; fewest listed in a round: " << worstListed
        << "; datagrams dropped by a full receive buffer: " << receiveBufferDrops() - dropsBefore
        << "\n";
    out << QStringLiteral("burst: listed %1 of %2; %3 ms from probe to last row; %4 us per reply\n")
               .arg(median.listed)
               .arg(count)
               .arg(median.lastRowMs, 0, 'f', 1)
               .arg(median.cpuPerReplyUs, 0, 'f', 1);
    return 0;
}
