#include "commands.h"

#include "fields.h"
#include "fleetfile.h"
#include "output.h"

#include "batchwriter.h"
#include "configureframe.h"
#include "devicelink.h"
#include "factorydefaults.h"
#include "search.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QMap>
#include <QTextStream>

#include <algorithm>

namespace {

using CliFields::Field;

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(int status, const QString &message)
{
    err() << "converter-cli: " << message << Qt::endl;
    return status;
}

void print(const QString &text)
{
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    out << text;
}

// A write to one converter: what it reported and what it is to hold.
struct Plan
{
    FoundDevice device;
    DeviceRecord record;
};

class Session
{
public:
    explicit Session(const Invocation &invocation) : inv(invocation) {}

    // Chooses the adapters and opens the port; false with the message printed.
    int open()
    {
        QVector<LinkInterface> chosen;
        QString error;
        if (!DeviceLink::chooseInterfaces(inv.interfaces, &chosen, &error))
            return fail(EXIT_BAD_INPUT, error);
        if (!link.open(chosen, &error))
            return fail(EXIT_NOT_ANSWERED, error);
        return EXIT_DONE;
    }

    // The converters named, found by one search; EXIT_NOT_ANSWERED when one
    // of them did not answer.
    int find(const QStringList &macs, QMap<QString, FoundDevice> *found)
    {
        const QSet<QString> wanted(macs.begin(), macs.end());
        for (const FoundDevice &d : searchDevices(link, inv.timeoutMs, wanted)) {
            if (wanted.contains(d.record.mac))
                found->insert(d.record.mac, d);
        }
        QStringList missing;
        for (const QString &mac : macs) {
            if (!found->contains(mac))
                missing << mac;
        }
        if (!missing.isEmpty()) {
            return fail(EXIT_NOT_ANSWERED,
                        QStringLiteral("no answer from %1 within %2 ms; nothing sent")
                            .arg(missing.join(QStringLiteral(", ")))
                            .arg(inv.timeoutMs));
        }
        return EXIT_DONE;
    }

    int write(const QVector<Plan> &plans, int unchanged);

    const Invocation &inv;
    DeviceLink link;
};

QVector<Output::Line::Difference> changedFields(const DeviceRecord &before,
                                                const DeviceRecord &after)
{
    QVector<Output::Line::Difference> list;
    for (const Field field : CliFields::differences(before, after)) {
        list.append({field, CliFields::text(before, QString(), field),
                     CliFields::text(after, QString(), field)});
    }
    return list;
}

QString resultName(BatchWriter::Outcome outcome)
{
    switch (outcome) {
    case BatchWriter::Outcome::Verified:
        return QStringLiteral("verified");
    case BatchWriter::Outcome::Differs:
        return QStringLiteral("differs");
    case BatchWriter::Outcome::NoAnswer:
        return QStringLiteral("no-answer");
    case BatchWriter::Outcome::Sent:
        break;
    }
    return QStringLiteral("sent");
}

int Session::write(const QVector<Plan> &plans, int unchanged)
{
    QVector<Output::Line> lines;
    if (inv.dryRun) {
        for (const Plan &plan : plans) {
            Output::Line line{plan.record.mac, QStringLiteral("dry-run"),
                              changedFields(plan.device.record, plan.record), QString()};
            line.frame = QString::fromLatin1(
                ConfigureFrame::plaintext(plan.record, ConfigureFrame::clockSeed()).toHex().toUpper());
            lines << line;
        }
        print(Output::report(lines, inv.format));
        err() << "converter-cli: dry run: " << plans.size() << " frame(s) not sent" << Qt::endl;
        return EXIT_DONE;
    }

    BatchWriter::Options options;
    options.rate = inv.rate;
    options.verify = inv.verify;
    options.verifyTimeoutMs = inv.verifyTimeoutMs;
    options.retries = inv.retries;
    BatchWriter writer(link, options);
    QVector<BatchWriter::Target> targets;
    for (const Plan &plan : plans)
        targets.append({plan.device, plan.record});
    QElapsedTimer clock;
    clock.start();
    const QVector<BatchWriter::Result> results = writer.run(targets);

    QMap<QString, int> counts;
    for (int i = 0; i < results.size(); ++i) {
        const BatchWriter::Result &r = results.at(i);
        Output::Line line{plans.at(i).record.mac, resultName(r.outcome), {}, QString()};
        if (r.outcome == BatchWriter::Outcome::Differs)
            line.differences = changedFields(r.sent, r.reported);
        counts[line.result] += 1;
        lines << line;
    }
    print(Output::report(lines, inv.format));
    err() << "converter-cli: " << counts.value(QStringLiteral("verified")) << " verified, "
          << counts.value(QStringLiteral("differs")) << " differ, "
          << counts.value(QStringLiteral("no-answer")) << " no answer, "
          << counts.value(QStringLiteral("sent")) << " sent unverified, " << unchanged
          << " unchanged; " << link.framesSent() << " frames sent, " << writer.retriesSent()
          << " retries, " << clock.elapsed() << " ms" << Qt::endl;
    const bool allGood = counts.value(QStringLiteral("differs")) == 0 &&
                         counts.value(QStringLiteral("no-answer")) == 0;
    return allGood ? EXIT_DONE : EXIT_NOT_VERIFIED;
}

int search(Session &session)
{
    const QVector<FoundDevice> found = searchDevices(session.link, session.inv.timeoutMs);
    print(Output::devices(found, session.inv.format));
    if (found.isEmpty())
        return fail(EXIT_NOTHING_FOUND, QStringLiteral("no converter answered within %1 ms")
                                            .arg(session.inv.timeoutMs));
    return EXIT_DONE;
}

int macArgument(const QString &text, QString *mac)
{
    *mac = CliFields::normaliseMac(text);
    if (mac->isEmpty())
        return fail(EXIT_BAD_INPUT,
                    QStringLiteral("'%1' is not a MAC address (12 hexadecimal digits)").arg(text));
    return EXIT_DONE;
}

} // namespace

int runCommand(const Invocation &inv)
{
    // Everything that can be checked without the converters is checked before
    // the port is opened, so bad input sends nothing at all.
    const QString &command = inv.command;
    QString mac;
    QVector<CliFields::Change> changes;
    QVector<FleetFile::Entry> entries;
    QString place;
    quint32 firstAddress = 0;
    if (command == QLatin1String("show") || command == QLatin1String("set") ||
        command == QLatin1String("reset")) {
        if (const int status = macArgument(inv.arguments.first(), &mac))
            return status;
    }
    if (command == QLatin1String("set")) {
        for (const QString &pair : inv.arguments.mid(1)) {
            const int equals = pair.indexOf(QLatin1Char('='));
            Field field;
            if (equals < 0 || !CliFields::fromName(pair.left(equals), &field))
                return fail(EXIT_BAD_INPUT,
                            QStringLiteral("set: '%1' is not FIELD=VALUE with a known field").arg(pair));
            if (!CliFields::isWritable(field))
                return fail(EXIT_BAD_INPUT, QStringLiteral("set: %1 is read-only").arg(CliFields::name(field)));
            for (const CliFields::Change &c : qAsConst(changes)) {
                if (c.field == field)
                    return fail(EXIT_BAD_INPUT,
                                QStringLiteral("set: %1 given twice").arg(CliFields::name(field)));
            }
            CliFields::Change change;
            QString message;
            if (CliFields::parse(field, pair.mid(equals + 1), &change, &message) !=
                CliFields::Verdict::Ok)
                return fail(EXIT_BAD_INPUT, QStringLiteral("set: ") + message);
            changes << change;
        }
    }
    if (command == QLatin1String("apply")) {
        const QString path = inv.arguments.first();
        QFile file;
        bool opened = false;
        if (path == QLatin1String("-")) {
            place = QStringLiteral("(standard input)");
            opened = file.open(stdin, QIODevice::ReadOnly);
        } else {
            place = path;
            file.setFileName(path);
            opened = file.open(QIODevice::ReadOnly);
        }
        if (!opened)
            return fail(EXIT_BAD_INPUT, QStringLiteral("%1: cannot read: %2").arg(place, file.errorString()));
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail(EXIT_BAD_INPUT, QStringLiteral("%1: cannot read: %2").arg(place, file.errorString()));
        QString error;
        if (!FleetFile::read(data, place, &entries, &error))
            return fail(EXIT_BAD_INPUT, error);
    }
    if (command == QLatin1String("assign")) {
        CliFields::Change change;
        QString message;
        if (CliFields::parse(Field::Ip, inv.arguments.first(), &change, &message) !=
            CliFields::Verdict::Ok)
            return fail(EXIT_BAD_INPUT, QStringLiteral("assign: ") + message);
        firstAddress = QHostAddress(change.text).toIPv4Address();
    }

    Session session(inv);
    if (const int status = session.open())
        return status;
    if (command == QLatin1String("search"))
        return search(session);

    QVector<Plan> plans;
    int unchanged = 0;
    if (command == QLatin1String("show") || command == QLatin1String("set") ||
        command == QLatin1String("reset")) {
        QMap<QString, FoundDevice> found;
        if (const int status = session.find({mac}, &found))
            return status;
        const FoundDevice device = found.value(mac);
        if (command == QLatin1String("show")) {
            print(Output::devices({device}, inv.format));
            return EXIT_DONE;
        }
        DeviceRecord record = device.record;
        if (command == QLatin1String("reset"))
            record = FactoryDefaults::applied(record);
        for (const CliFields::Change &change : qAsConst(changes))
            CliFields::apply(record, change);
        plans.append({device, record});
    } else if (command == QLatin1String("apply")) {
        QStringList macs;
        for (const FleetFile::Entry &entry : qAsConst(entries))
            macs << entry.mac;
        QMap<QString, FoundDevice> found;
        if (const int status = session.find(macs, &found))
            return status;
        for (const FleetFile::Entry &entry : qAsConst(entries)) {
            const FoundDevice device = found.value(entry.mac);
            QVector<CliFields::Change> rowChanges;
            QString error;
            if (!FleetFile::changesFor(entry, device.record, place, &rowChanges, &error))
                return fail(EXIT_BAD_INPUT, error + QStringLiteral("; nothing sent"));
            if (rowChanges.isEmpty()) {
                ++unchanged;
                continue;
            }
            DeviceRecord record = device.record;
            for (const CliFields::Change &change : qAsConst(rowChanges))
                CliFields::apply(record, change);
            plans.append({device, record});
        }
    } else if (command == QLatin1String("assign")) {
        QVector<FoundDevice> devices;
        if (inv.only.isEmpty()) {
            devices = searchDevices(session.link, inv.timeoutMs);
            if (devices.isEmpty())
                return fail(EXIT_NOTHING_FOUND, QStringLiteral("no converter answered within %1 ms")
                                                    .arg(inv.timeoutMs));
        } else {
            QMap<QString, FoundDevice> found;
            if (const int status = session.find(inv.only, &found))
                return status;
            devices = found.values().toVector();
        }
        std::sort(devices.begin(), devices.end(), [](const FoundDevice &a, const FoundDevice &b) {
            return a.record.mac < b.record.mac;
        });
        const quint32 lastOctet = (firstAddress & 0xFF) + quint32(devices.size()) - 1;
        if (lastOctet > 254)
            return fail(EXIT_BAD_INPUT,
                        QStringLiteral("assign: %1 converters from %2 would run past .254; nothing sent")
                            .arg(devices.size())
                            .arg(QHostAddress(firstAddress).toString()));
        for (int i = 0; i < devices.size(); ++i) {
            DeviceRecord record = devices.at(i).record;
            record.lip = QHostAddress(firstAddress + quint32(i)).toString();
            plans.append({devices.at(i), record});
        }
    }
    return session.write(plans, unchanged);
}
