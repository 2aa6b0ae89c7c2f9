// converter-sim: plays one or more serial-to-Ethernet converters on the
// network, so that the configuration tool can be tried and tested without
// hardware. Run it only inside a private network (scripts/netlab).
#include "deviceframe.h"
#include "simulator.h"
#include "statefile.h"

#include "framecipher.h"
#include "protocolconstants.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int EXIT_USAGE = 2;
int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = number == SIGUSR1 ? 'r' : 'q';
    (void)!::write(signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the program exits cleanly;
// SIGUSR1 restarts every converter, as a power cut would.
void handleSignals(QCoreApplication &app, Simulator &simulator)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app, &simulator] {
        char byte = 0;
        if (::read(signalPipe[0], &byte, 1) == 1 && byte == 'r')
            simulator.restartAll();
        else
            app.quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM, SIGUSR1})
        sigaction(number, &action, nullptr);
}

// A thousand converters need a thousand sockets.
void raiseFileLimit()
{
    rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

int usageError(const QString &message)
{
    QTextStream(stderr) << "converter-sim: " << message << "\n"
                        << "Try 'converter-sim --help'.\n";
    return EXIT_USAGE;
}

bool parseCount(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= min && *value <= max;
}

// Converters numbered from the base MAC and the base address upwards.
QList<SimulatedConverter> generate(int count, quint64 baseMac, quint32 baseAddress,
                                   const QString &namePattern, const QString &version)
{
    QList<SimulatedConverter> list;
    for (int i = 0; i < count; ++i) {
        SimulatedConverter c;
        DeviceRecord &s = c.settings;
        s.mac = QStringLiteral("%1").arg(baseMac + quint64(i), 12, 16, QLatin1Char('0')).toUpper();
        s.version = version;
        // At most ten bytes, never cut inside a character.
        s.deviceName = namePattern.arg(i + 1, 4, 10, QLatin1Char('0'));
        s.nameBytes = DeviceFrame::nameField(s);
        s.deviceName = QString::fromUtf8(s.nameBytes);
        c.replyFrom = QHostAddress(baseAddress + quint32(i));
        s.ipType = 0;
        s.mode = 1;
        s.lip = c.replyFrom.toString();
        s.subnet = QStringLiteral("255.255.0.0");
        s.gaw = QStringLiteral("0.0.0.0");
        s.lport = QStringLiteral("4001");
        s.sip = QStringLiteral("10.77.0.1");
        s.sport = QStringLiteral("5001");
        s.baud = QStringLiteral("115200");
        s.parity = 0;
        s.dataBit = 1;
        s.stopBit = 0;
        c.bytesFromSettings();
        list << c;
    }
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("converter-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays serial-to-Ethernet converters on UDP port 1500: answers each probe "
                       "\"FFFF\" with an encrypted reply broadcast from port 1500, and applies "
                       "each configure frame addressed to one of its MACs. The state lives in a "
                       "JSON file, rewritten at most five times a second while configure frames "
                       "arrive, and on exit; an existing file is loaded and the options that "
                       "describe new converters are ignored. It runs only inside a private "
                       "network (scripts/netlab exec LAB HOST converter-sim ...): it refuses to "
                       "start where it sees a network interface other than lo and the test "
                       "network's cvl links."));
    parser.addHelpOption();
    const QCommandLineOption state({"s", "state"}, "State file (JSON).", "file");
    const QCommandLineOption count({"n", "count"}, "Converters in a new state (default 1).", "N",
                                   "1");
    const QCommandLineOption baseMac("base-mac", "First MAC, 12 hex digits (default 02AB00000001).",
                                     "mac", "02AB00000001");
    const QCommandLineOption baseAddress(
        "base-address", "Address of the first converter; the others follow (default 127.0.0.11).",
        "ipv4", "127.0.0.11");
    const QCommandLineOption name("name", "Name pattern, %1 is the number (default SIM-%1).",
                                  "text", "SIM-%1");
    const QCommandLineOption version("fw-version", "Firmware version major.minor (default 1.2).",
                                     "x.y", "1.2");
    const QCommandLineOption delay("delay", "Milliseconds before answering (default 0).", "ms",
                                   "0");
    const QCommandLineOption jitter(
        "jitter", "Up to this many random milliseconds more, per converter (default 0).", "ms",
        "0");
    const QCommandLineOption fault(
        "fault",
        "Misbehave: twice, wrong-key, bad-checksum, short, long, foreign-port, restart, "
        "ignore-writes, partial, closed, garbled, dropped or reset; NAME@K for the K-th converter "
        "only. Repeatable; added to the "
        "state.",
        "name[@k]");
    const QCommandLineOption restart(
        "restart-ms",
        "How long a converter with the restart fault is silent after a write "
        "(default 2000).",
        "ms", "2000");
    const QCommandLineOption powerOn(
        "power-on",
        "Converters are plugged in one after another: the first starts answering this many "
        "milliseconds after the start (default 0: all at once).",
        "ms", "0");
    const QCommandLineOption powerOnStep(
        "power-on-step", "With --power-on, each further converter this much later (default 0).",
        "ms", "0");
    const QCommandLineOption dataPlane(
        "data-plane",
        "Each converter also carries data by its mode, on the address it holds: tcp-server "
        "listens on its local port, tcp-client connects to its remote end, udp-server answers "
        "the last sender, udp sends to its remote end; its serial side sends at its baud and "
        "framing. Data faults: closed, garbled, dropped, reset. SIGUSR1 restarts every "
        "converter.");
    const QCommandLineOption serial(
        "serial",
        "What its serial port holds: loopback (a plug echoing what it sends) or none "
        "(the default); KIND@K for the K-th converter only. Repeatable; added to the "
        "state.",
        "kind[@k]");
    parser.addOptions({state, count, baseMac, baseAddress, name, version, delay, jitter, fault,
                       restart, powerOn, powerOnStep, dataPlane, serial});

    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));
    if (!parser.isSet(state))
        return usageError(QStringLiteral("--state is required"));

    int converterCount = 0, delayMs = 0, jitterMs = 0, restartMs = 0, powerOnMs = 0,
        powerOnStepMs = 0;
    if (!parseCount(parser.value(count), 1, 65535, &converterCount))
        return usageError(QStringLiteral("--count must be from 1 to 65535"));
    if (!parseCount(parser.value(delay), 0, 600000, &delayMs))
        return usageError(QStringLiteral("--delay must be from 0 to 600000"));
    if (!parseCount(parser.value(jitter), 0, 600000, &jitterMs))
        return usageError(QStringLiteral("--jitter must be from 0 to 600000"));
    if (!parseCount(parser.value(restart), 0, 600000, &restartMs))
        return usageError(QStringLiteral("--restart-ms must be from 0 to 600000"));
    if (!parseCount(parser.value(powerOn), 0, 3600000, &powerOnMs) ||
        !parseCount(parser.value(powerOnStep), 0, 3600000, &powerOnStepMs))
        return usageError(
            QStringLiteral("--power-on and --power-on-step must be from 0 to 3600000"));
    bool macOk = parser.value(baseMac).size() == 12;
    const quint64 firstMac = parser.value(baseMac).toULongLong(&macOk, 16);
    if (!macOk || parser.value(baseMac).size() != 12)
        return usageError(QStringLiteral("--base-mac must be 12 hexadecimal digits"));
    const QHostAddress firstAddress(parser.value(baseAddress));
    if (firstAddress.protocol() != QAbstractSocket::IPv4Protocol)
        return usageError(QStringLiteral("--base-address must be an IPv4 address"));

    // Answering probes on a real network would answer other people's searches
    // and take their configure frames.
    QStringList foreign;
    for (const QNetworkInterface &adapter : QNetworkInterface::allInterfaces()) {
        static const QRegularExpression ours(QStringLiteral("^(lo|cvl[0-9]+)$"));
        if (!ours.match(adapter.name()).hasMatch())
            foreign << adapter.name();
    }
    if (!foreign.isEmpty())
        return usageError(QStringLiteral("refusing to start outside a private test network "
                                         "(interfaces seen: %1); run it through scripts/netlab "
                                         "exec or scripts/netns-run.sh")
                              .arg(foreign.join(QStringLiteral(", "))));

    FrameCipher::setKey(FRAME_KEY);

    const QString statePath = parser.value(state);
    QList<SimulatedConverter> converters;
    QString error;
    if (QFileInfo::exists(statePath)) {
        if (!StateFile::load(statePath, &converters, &error))
            return usageError(error);
    } else {
        converters = generate(converterCount, firstMac, firstAddress.toIPv4Address(),
                              parser.value(name), parser.value(version));
    }
    for (const QString &request : parser.values(fault)) {
        const QStringList parts = request.split(QLatin1Char('@'));
        Fault f;
        int which = 0;
        if (parts.size() > 2 || !faultFromName(parts.at(0), &f) ||
            (parts.size() == 2 && !parseCount(parts.at(1), 1, converters.size(), &which)))
            return usageError(QStringLiteral("bad --fault %1").arg(request));
        for (int i = 0; i < converters.size(); ++i) {
            if (which == 0 || which == i + 1)
                converters[i].faults.insert(f);
        }
    }
    for (const QString &request : parser.values(serial)) {
        const QStringList parts = request.split(QLatin1Char('@'));
        int which = 0;
        if (parts.size() > 2 || !QStringList{"loopback", "none"}.contains(parts.at(0)) ||
            (parts.size() == 2 && !parseCount(parts.at(1), 1, converters.size(), &which)))
            return usageError(QStringLiteral("bad --serial %1").arg(request));
        for (int i = 0; i < converters.size(); ++i) {
            if (which == 0 || which == i + 1)
                converters[i].loopback = parts.at(0) == QLatin1String("loopback");
        }
    }
    if (!StateFile::save(statePath, converters, &error)) {
        QTextStream(stderr) << "converter-sim: " << error << '\n';
        return 1;
    }

    raiseFileLimit();
    Simulator simulator(converters, statePath, delayMs, jitterMs, restartMs);
    handleSignals(app, simulator);
    if (parser.isSet(dataPlane))
        simulator.enableDataPlane();
    if (powerOnMs > 0 || powerOnStepMs > 0)
        simulator.setPowerOn(powerOnMs, powerOnStepMs);
    if (!simulator.start(&error)) {
        QTextStream(stderr) << "converter-sim: " << error << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out << "converter-sim: ready, " << converters.size() << " converter(s)" << Qt::endl;
    QObject::connect(&simulator, &Simulator::configured, [&out, &simulator](int index) {
        out << "converter-sim: configured " << simulator.converters().at(index).settings.mac
            << Qt::endl;
    });
    QObject::connect(&simulator, &Simulator::answered, [&out](int sent) {
        out << "converter-sim: answered with " << sent << " datagram(s)" << Qt::endl;
    });
    return app.exec();
}
