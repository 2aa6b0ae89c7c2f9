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
#include "framecipher.h"
#include "protocolconstants.h"
#include "search.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QMap>
#include <QTextStream>

#include <algorithm>

namespace {

using CliFields::Field;

// A write to one converter: what it reported, and the same bytes with the
// changes put in. Nothing is sent when they hold the same settings.
struct Plan
{
    FoundDevice device;
    QByteArray settings;
    bool unchanged = false;
};

// Only what a change would really alter: a value equal to what the
// converter reports is no change (a name is compared by its bytes).
Plan planChanges(const FoundDevice &device, const QVector<CliFields::Change> &changes)
{
    Plan plan{device, device.plaintext, false};
    for (const CliFields::Change &change : changes)
        CliFields::put(plan.settings, change);
    plan.unchanged = CliFields::differences(device.plaintext, plan.settings).isEmpty();
    return plan;
}

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
            for (QString &mac : missing)
                mac = CliFields::macText(mac);
            return fail(EXIT_NOT_ANSWERED,
                        QStringLiteral("no answer from %1 within %2 ms; nothing sent")
                            .arg(missing.join(QStringLiteral(", ")))
                            .arg(inv.timeoutMs));
        }
        return EXIT_DONE;
    }

    int write(const QVector<Plan> &plans);

    const Invocation &inv;
    DeviceLink link;
};

QVector<Output::Line::Difference> changedFields(const QByteArray &before, const QByteArray &after)
{
    QVector<Output::Line::Difference> list;
    for (const Field field : CliFields::differences(before, after))
        list.append({field, CliFields::text(before, field), CliFields::text(after, field)});
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

int Session::write(const QVector<Plan> &plans)
{
    QVector<Output::Line> lines;
    int unchanged = 0;
    QVector<int> toWrite; // indices into plans
    for (int i = 0; i < plans.size(); ++i) {
        if (plans.at(i).unchanged)
            ++unchanged;
        else
            toWrite << i;
    }
    const auto lineFor = [](const Plan &plan, const QString &result) {
        return Output::Line{CliFields::macText(plan.device.record.mac), result, {}, {}, {}};
    };
    if (inv.dryRun) {
        for (const Plan &plan : plans) {
            Output::Line line = lineFor(plan, plan.unchanged ? QStringLiteral("unchanged")
                                                             : QStringLiteral("dry-run"));
            if (!plan.unchanged) {
                line.differences = changedFields(plan.device.plaintext, plan.settings);
                // The very frame that would go out, and its plaintext.
                QByteArray frame =
                    ConfigureFrame::plaintextFrom(plan.settings, ConfigureFrame::clockSeed());
                line.plaintext = QString::fromLatin1(frame.toHex().toUpper());
                FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(frame.data()), FRAME_SIZE);
                line.frame = QString::fromLatin1(frame.toHex().toUpper());
            }
            lines << line;
        }
        print(Output::report(lines, inv.format));
        err() << "converter-cli: dry run: " << toWrite.size() << " frame(s) not sent, " << unchanged
              << " unchanged" << Qt::endl;
        return EXIT_DONE;
    }

    BatchWriter::Options options;
    options.rate = inv.rate;
    options.verify = inv.verify;
    options.verifyTimeoutMs = inv.verifyTimeoutMs;
    options.retries = inv.retries;
    BatchWriter writer(link, options);
    QVector<BatchWriter::Target> targets;
    for (const int i : qAsConst(toWrite))
        targets.append({plans.at(i).device, plans.at(i).settings});
    QElapsedTimer clock;
    clock.start();
    const QVector<BatchWriter::Result> results = writer.run(targets);

    QMap<QString, int> counts;
    for (int i = 0, written = 0; i < plans.size(); ++i) {
        if (plans.at(i).unchanged) {
            lines << lineFor(plans.at(i), QStringLiteral("unchanged"));
            continue;
        }
        const BatchWriter::Result &r = results.at(written++);
        Output::Line line = lineFor(plans.at(i), resultName(r.outcome));
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
    QVector<CliFields::Change> changes;
    for (const CliFields::Change &change : input.changes) {
        if (CliFields::isNoChange(device.plaintext, change))
            continue;
        if (!change.refusal.isEmpty())
            return fail(EXIT_BAD_INPUT, change.refusal + QStringLiteral("; nothing sent"));
        changes << change;
    }
    if (command == QLatin1String("reset"))
        changes = CliFields::settingsOf(FactoryDefaults::applied(device.record));
    plans->append(planChanges(device, changes));
    return EXIT_DONE;
}

int planApply(Session &session, const Input &input, QVector<Plan> *plans)
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
        if (!FleetFile::changesFor(entry, device.plaintext, input.place, &changes, &error))
            return fail(EXIT_BAD_INPUT, error + QStringLiteral("; nothing sent"));
        plans->append(planChanges(device, changes));
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
        CliFields::Change ip;
        ip.field = Field::Ip;
        ip.text = QHostAddress(input.firstAddress + quint32(i)).toString();
        plans->append(planChanges(devices.at(i), {ip}));
    }
    return EXIT_DONE;
}

} // namespace

namespace {

int runChecked(const Invocation &inv);

} // namespace

int runCommand(const Invocation &inv)
{
    const int status = runChecked(inv);
    QString error;
    if (!commitOutputFile(&error))
        return fail(status != EXIT_DONE ? status : EXIT_BAD_INPUT, error);
    return status;
}

namespace {

int runChecked(const Invocation &inv)
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
    int status = EXIT_DONE;
    if (command == QLatin1String("apply"))
        status = planApply(session, input, &plans);
    else if (command == QLatin1String("assign"))
        status = planAssign(session, input, &plans);
    else
        status = planOne(session, input, &plans);
    if (status != EXIT_DONE || command == QLatin1String("show"))
        return status;
    return session.write(plans);
}

} // namespace
