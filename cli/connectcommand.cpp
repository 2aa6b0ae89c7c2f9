#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"
#include "stdinreader.h"
#include "stopsignal.h"

#include "datapath.h"
#include "settingfields.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkInterface>
#include <QTimer>

#ifndef Q_OS_WIN
#include "pseudoterminal.h"
#endif

#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int RECONNECT_MS = 1000;

// "9600 8N1", as serial programs name a line.
QString lineOf(const QByteArray &frame)
{
    using SettingFields::Field;
    return QStringLiteral("%1 %2%3%4")
        .arg(SettingFields::text(frame, Field::Baud), SettingFields::text(frame, Field::DataBits),
             SettingFields::text(frame, Field::Parity).left(1).toUpper(),
             SettingFields::text(frame, Field::StopBits));
}

// Lines of 16 bytes with their offset, as hexdump -C shows them.
QByteArray hexLines(const QByteArray &bytes, qint64 *offset)
{
    QByteArray out;
    for (int at = 0; at < bytes.size(); at += 16) {
        const QByteArray line = bytes.mid(at, 16);
        QByteArray hex = line.toHex(' ').leftJustified(16 * 3 - 1, ' ');
        QByteArray text = line;
        for (char &c : text)
            c = (c >= 0x20 && c < 0x7F) ? c : '.';
        out += QByteArray::number(*offset, 16).rightJustified(8, '0') + "  " + hex + "  |" + text +
               "|\n";
        *offset += line.size();
    }
    return out;
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int ConnectCommand::run(Session &session, const Input &input)
{
    const Invocation &inv = session.inv;
    QMap<QString, FoundDevice> found;
    if (const int status = session.find({input.mac}, &found))
        return status;
    const QByteArray frame = found.value(input.mac).plaintext;
    const DataRoute route = routeTo(frame, QNetworkInterface::allAddresses());
#ifdef Q_OS_WIN
    _setmode(1, _O_BINARY);
#endif

    QEventLoop loop;
    int status = EXIT_DONE;
    std::unique_ptr<DataPath> path;
    qint64 offset = 0;
    bool inputEnded = false;
    QTimer drain; // after the end of input, what is still on its way back
    drain.setSingleShot(true);
    QObject::connect(&drain, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto show = [&](const QByteArray &bytes) {
        writeOut(inv.hex ? hexLines(bytes, &offset) : bytes);
        if (inputEnded)
            drain.start(inv.timeoutMs);
    };

#ifndef Q_OS_WIN
    std::unique_ptr<PseudoTerminal> pty;
#endif
    std::function<void(bool)> open = [&](bool first) {
        path = std::make_unique<DataPath>(route);
        QObject::connect(path.get(), &DataPath::received, &loop, [&](const QByteArray &bytes) {
#ifndef Q_OS_WIN
            if (pty)
                return pty->write(bytes);
#endif
            show(bytes);
        });
        QObject::connect(path.get(), &DataPath::opened, &loop, [&, first] {
            warn(Phrase::translate("cli", "%1: connected through %2 (%3)")
                     .arg(SettingFields::macText(input.mac), route.where(), lineOf(frame)));
#ifndef Q_OS_WIN
            if (pty)
                pty->setPaused(false);
#endif
            if (first)
                loop.exit(-1); // opened: go on below
        });
        QObject::connect(path.get(), &DataPath::failed, &loop,
                         [&](DataPath::Failure, const QString &message) {
#ifndef Q_OS_WIN
                             // The program keeps its port: a pause, then the line again.
                             if (pty) {
                                 warn(message + Phrase::translate("cli", "; reconnecting"));
                                 pty->setPaused(true);
                                 QTimer::singleShot(RECONNECT_MS, &loop, [&] { open(false); });
                                 return;
                             }
#endif
                             warn(message);
                             status = EXIT_NOT_VERIFIED;
                             loop.quit();
                         });
        path->open(inv.timeoutMs);
    };
    open(true);
    if (loop.exec() != -1)
        return status; // the path never opened

    StopSignal stop;
    QObject::connect(&stop, &StopSignal::requested, &loop, &QEventLoop::quit);
#ifndef Q_OS_WIN
    if (!inv.pty.isEmpty()) {
        pty = std::make_unique<PseudoTerminal>();
        QString error;
        if (!pty->open(inv.pty, SettingFields::text(frame, SettingFields::Field::Baud).toInt(),
                       &error))
            return fail(EXIT_BAD_INPUT, error);
        QObject::connect(pty.get(), &PseudoTerminal::received, &loop,
                         [&](const QByteArray &bytes) { path->send(bytes); });
        // The converter's line changes only by a write, never behind the
        // operator's back: a program that wants another one is told.
        QObject::connect(pty.get(), &PseudoTerminal::lineChanged, &loop,
                         [&](const QString &settings) {
                             if (settings != lineOf(frame))
                                 warn(Phrase::translate("cli", "the program set %1 on %2; the "
                                                               "converter's line is %3 (change "
                                                               "it with 'set')")
                                          .arg(settings, inv.pty, lineOf(frame)));
                         });
        warn(Phrase::translate("cli", "%1 is the converter's serial port; Ctrl-C ends")
                 .arg(inv.pty));
        loop.exec();
        return status;
    }
#endif
    QObject::connect(StdinReader::instance(), &StdinReader::received, &loop,
                     [&](const QByteArray &bytes) { path->send(bytes); });
    QObject::connect(StdinReader::instance(), &StdinReader::ended, &loop, [&] {
        inputEnded = true;
        drain.start(inv.timeoutMs);
    });
    loop.exec();
    return status;
}
