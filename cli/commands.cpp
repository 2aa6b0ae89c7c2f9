#include "commands.h"

#include "fields.h"
#include "fleetfile.h"
#include "input.h"
#include "messages.h"
#include "output.h"

#include "batchwriter.h"
#include "configureframe.h"
#include "devicelink.h"
#include "factorydefaults.h"
#include "search.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QMap>
#include <QTextStream>

#include <algorithm>

namespace {

using CliFields::Field;

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
        if (!Adapters::choose(inv.interfaces, &chosen, &error))
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
                ConfigureFrame::plaintext(plan.record, ConfigureFrame::clockSeed())
                    .toHex()
                    .toUpper());
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
        return fail(
            EXIT_NOTHING_FOUND,
            QStringLiteral("no converter answered within %1 ms").arg(session.inv.timeoutMs));
    return EXIT_DONE;
}

// show, set and reset: one converter.
int planOne(Session &session, const Input &input, QVector<Plan> *plans)
{
    QMap<QString, FoundDevice> found;
    if (const int status = session.find({input.mac}, &found))
        return status;
    const FoundDevice device = found.value(input.mac);
    const QString &command = session.inv.command;
    if (command == QLatin1String("show")) {
        print(Output::devices({device}, session.inv.format));
        return EXIT_DONE;
    }
    DeviceRecord record = device.record;
    if (command == QLatin1String("reset"))
        record = FactoryDefaults::applied(record);
    for (const CliFields::Change &change : input.changes)
        CliFields::apply(record, change);
    plans->append({device, record});
    return EXIT_DONE;
}

int planApply(Session &session, const Input &input, QVector<Plan> *plans, int *unchanged)
{
    QStringList macs;
    for (const FleetFile::Entry &entry : input.entries)
        macs << entry.mac;
    QMap<QString, FoundDevice> found;
    if (const int status = session.find(macs, &found))
        return status;
    for (const FleetFile::Entry &entry : input.entries) {
        const FoundDevice device = found.value(entry.mac);
        QVector<CliFields::Change> changes;
        QString error;
        if (!FleetFile::changesFor(entry, device.record, input.place, &changes, &error))
            return fail(EXIT_BAD_INPUT, error + QStringLiteral("; nothing sent"));
        if (changes.isEmpty()) {
            ++*unchanged;
            continue;
        }
        DeviceRecord record = device.record;
        for (const CliFields::Change &change : qAsConst(changes))
            CliFields::apply(record, change);
        plans->append({device, record});
    }
    return EXIT_DONE;
}

int planAssign(Session &session, const Input &input, QVector<Plan> *plans)
{
    const Invocation &inv = session.inv;
    QVector<FoundDevice> devices;
    if (inv.only.isEmpty()) {
        devices = searchDevices(session.link, inv.timeoutMs);
        if (devices.isEmpty())
            return fail(EXIT_NOTHING_FOUND,
                        QStringLiteral("no converter answered within %1 ms").arg(inv.timeoutMs));
    } else {
        QMap<QString, FoundDevice> found;
        if (const int status = session.find(inv.only, &found))
            return status;
        devices = found.values().toVector();
    }
    std::sort(devices.begin(), devices.end(), [](const FoundDevice &a, const FoundDevice &b) {
        return a.record.mac < b.record.mac;
    });
    if ((input.firstAddress & 0xFF) + quint32(devices.size()) - 1 > 254)
        return fail(
            EXIT_BAD_INPUT,
            QStringLiteral("assign: %1 converters from %2 would run past .254; nothing sent")
                .arg(devices.size())
                .arg(QHostAddress(input.firstAddress).toString()));
    for (int i = 0; i < devices.size(); ++i) {
        DeviceRecord record = devices.at(i).record;
        record.lip = QHostAddress(input.firstAddress + quint32(i)).toString();
        plans->append({devices.at(i), record});
    }
    return EXIT_DONE;
}

} // namespace

int runCommand(const Invocation &inv)
{
    Input input;
    if (const int status = readInput(inv, &input))
        return status;

    Session session(inv);
    if (const int status = session.open())
        return status;
    const QString &command = inv.command;
    if (command == QLatin1String("search"))
        return search(session);

    QVector<Plan> plans;
    int unchanged = 0;
    int status = EXIT_DONE;
    if (command == QLatin1String("apply"))
        status = planApply(session, input, &plans, &unchanged);
    else if (command == QLatin1String("assign"))
        status = planAssign(session, input, &plans);
    else
        status = planOne(session, input, &plans);
    if (status != EXIT_DONE || command == QLatin1String("show"))
        return status;
    return session.write(plans, unchanged);
}
