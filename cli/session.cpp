#include "session.h"

#include "phrase.h"

#include "commands.h"
#include "messages.h"
#include "output.h"
#include "stopsignal.h"

#include "batchwriter.h"
#include "configureframe.h"
#include "framecipher.h"
#include "protocolconstants.h"
#include "search.h"

#include <QElapsedTimer>

Plan planChanges(const FoundDevice &device, const QVector<SettingFields::Change> &changes)
{
    Plan plan{device, device.plaintext, false, {}};
    for (const SettingFields::Change &change : changes)
        SettingFields::put(plan.settings, change);
    plan.unchanged = SettingFields::differences(device.plaintext, plan.settings).isEmpty();
    return plan;
}

namespace {

QString resultName(BatchWriter::Outcome outcome)
{
    switch (outcome) {
    case BatchWriter::Outcome::Verified:
        return QStringLiteral("verified");
    case BatchWriter::Outcome::Differs:
        return QStringLiteral("differs");
    case BatchWriter::Outcome::NoAnswer:
        return QStringLiteral("no-answer");
    case BatchWriter::Outcome::NotSent:
        return QStringLiteral("not-sent");
    case BatchWriter::Outcome::Sent:
        break;
    }
    return QStringLiteral("sent");
}

QVector<SegmentCheck::Converter> segmentOf(const QVector<FoundDevice> &devices)
{
    QVector<SegmentCheck::Converter> list;
    for (const FoundDevice &d : devices)
        list.append({d.record.mac, d.plaintext});
    return list;
}

} // namespace

Session::Session(const Invocation &invocation)
    : inv(invocation),
      journal(Journal::choosePath(invocation.journal), QStringLiteral("converter-cli"))
{
    QObject::connect(
        &link, &DeviceLink::sendFailed, [this](const QString &adapter, const QString &reason) {
            const QString message =
                Phrase::translate("cli", "cannot send through %1: %2").arg(adapter, reason);
            if (!sendFailures.contains(message))
                warn(message);
            sendFailures.insert(message);
        });
}

int Session::open()
{
    QVector<LinkInterface> chosen;
    QString error;
    if (!Adapters::choose(inv.interfaces, &chosen, &error))
        return fail(EXIT_BAD_INPUT, error);
    // Adapters the operator named must all work; of the others, those that
    // work are used and the rest named.
    if (!link.open(chosen, &error, !inv.interfaces.isEmpty()))
        return fail(EXIT_NOT_ANSWERED, error);
    if (!error.isEmpty())
        warn(error + Phrase::translate("cli", "; searching through the other adapters"));
    return EXIT_DONE;
}

int Session::searchAll()
{
    const int probes = link.probesSent();
    everyone = searchDevices(link, inv.timeoutMs);
    if (link.probesSent() == probes)
        return fail(EXIT_NO_ADAPTER,
                    Phrase::translate("cli",
                                      "no adapter to search from: the probe could not be sent "
                                      "through any adapter (is one up, with a route for "
                                      "broadcasts?); nothing sent"));
    return EXIT_DONE;
}

int Session::find(const QStringList &macs, QMap<QString, FoundDevice> *found)
{
    if (const int status = searchAll())
        return status;
    for (const FoundDevice &d : qAsConst(everyone)) {
        if (macs.contains(d.record.mac))
            found->insert(d.record.mac, d);
    }
    QStringList missing;
    for (const QString &mac : macs) {
        if (!found->contains(mac))
            missing << SettingFields::macText(mac);
    }
    if (!missing.isEmpty())
        return fail(EXIT_NOT_ANSWERED,
                    Phrase::translate("cli", "no answer from %1 within %2 ms; nothing sent")
                        .arg(missing.join(QStringLiteral(", ")))
                        .arg(inv.timeoutMs));
    return EXIT_DONE;
}

int Session::refuseUnlessForced(const QStringList &lines, const QString &refusal) const
{
    for (const QString &line : lines)
        warn((inv.force ? Phrase::translate("cli", "overridden by --force: ") : QString()) + line);
    return lines.isEmpty() || inv.force ? EXIT_DONE : fail(EXIT_BAD_INPUT, refusal);
}

DataTestOptions Session::testOptions() const
{
    DataTestOptions options;
    options.loopback = inv.loopback;
    options.bytes = inv.bytes;
    options.timeoutMs = inv.timeoutMs;
    return options;
}

int Session::testData(const QVector<FoundDevice> &devices, QVector<DataTestResult> *results)
{
    *results = testDataPaths(devices, testOptions());
    return journalTests(*results);
}

int Session::journalTests(const QVector<DataTestResult> &results)
{
    QVector<Journal::Test> lines;
    for (const DataTestResult &r : results)
        lines.append({r.mac, r.result, Output::testObject(r)});
    QString error;
    if (!journal.tests(lines, &error))
        return fail(EXIT_NOT_RECORDED,
                    error + Phrase::translate("cli", "; the tests ran, their results are not "
                                                     "journaled"));
    return EXIT_DONE;
}

QVector<SegmentCheck::Problem> Session::problems() const
{
    return SegmentCheck::find(segmentOf(everyone), SegmentCheck::hostAddresses());
}

QVector<SegmentCheck::Problem> Session::newProblems(const QVector<Plan> &plans) const
{
    QHash<QString, QByteArray> writes;
    for (const Plan &plan : plans) {
        if (!plan.unchanged)
            writes.insert(plan.device.record.mac, plan.settings);
    }
    if (writes.isEmpty())
        return {};
    return SegmentCheck::introduced(segmentOf(everyone), writes, SegmentCheck::hostAddresses());
}

int Session::checkSegment(const QVector<Plan> &plans)
{
    const QVector<SegmentCheck::Problem> added = newProblems(plans);
    if (added.isEmpty())
        return EXIT_DONE;
    for (const SegmentCheck::Problem &problem : added)
        warn((inv.force ? Phrase::translate("cli", "overridden by --force: ") : QString()) +
             problem.message());
    if (inv.force)
        return EXIT_DONE;
    return fail(EXIT_BAD_INPUT,
                Phrase::translate("cli",
                                  "refused: the write would cut converters off the network as "
                                  "above; nothing sent (--force writes anyway)"));
}

int Session::send(const QVector<Plan> &plans, QVector<BatchWriter::Result> *results)
{
    BatchWriter::Options options;
    options.rate = inv.rate;
    options.verify = inv.verify;
    options.verifyTimeoutMs = inv.verifyTimeoutMs;
    options.retries = inv.retries;
    BatchWriter writer(link, options);
    // A console closing ends the program in seconds: settle at once, so
    // that the outcomes reach the journal before it ends.
    const auto closing = QObject::connect(CloseGuard::instance(), &CloseGuard::closeRequested,
                                          &writer, &BatchWriter::stopWaiting);
    QVector<BatchWriter::Target> targets;
    QVector<Journal::Write> journaled;
    for (const Plan &plan : plans) {
        targets.append({plan.device, plan.settings});
        journaled.append({plan.device.record.mac, plan.device.interfaceName, plan.device.plaintext,
                          plan.settings, QString(), plan.replaces});
    }
    // What the converters held is on disk before anything leaves.
    QString error;
    if (!journal.intents(journaled, &error))
        return fail(EXIT_JOURNAL, error + Phrase::translate("cli", "; nothing sent"));
    *results = writer.run(targets);
    QObject::disconnect(closing);
    for (int k = 0; k < results->size(); ++k) {
        if (results->at(k).outcome != BatchWriter::Outcome::NotSent)
            written << plans.at(k).device.record.mac;
    }
    retriesSent += writer.retriesSent();
    for (int k = 0; k < results->size(); ++k)
        journaled[k].result = resultName(results->at(k).outcome);
    if (!journal.outcomes(journaled, &error))
        return fail(EXIT_NOT_RECORDED,
                    error + Phrase::translate("cli", "; the frames were sent, their "
                                                     "outcomes are not journaled"));
    return EXIT_DONE;
}

int Session::write(const QVector<Plan> &plans)
{
    const int checked = checkSegment(plans);
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
        return Output::Line{SettingFields::macText(plan.device.record.mac), result, {}, {}, {}, {}};
    };
    if (inv.dryRun) {
        for (const Plan &plan : plans) {
            Output::Line line = lineFor(plan, plan.unchanged ? QStringLiteral("unchanged")
                                                             : QStringLiteral("dry-run"));
            if (!plan.unchanged) {
                line.differences = Output::differences(plan.device.plaintext, plan.settings);
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
        warn(Phrase::translate("cli", "dry run: %1 frame(s) not sent, %2 unchanged")
                 .arg(toWrite.size())
                 .arg(unchanged));
        return checked;
    }
    if (checked != EXIT_DONE)
        return checked;
    if (CloseGuard::closing())
        return fail(EXIT_NOT_ANSWERED,
                    Phrase::translate("cli", "the console is closing; nothing sent"));

    QVector<Plan> toSend;
    for (const int i : qAsConst(toWrite))
        toSend << plans.at(i);
    QElapsedTimer clock;
    clock.start();
    QVector<BatchWriter::Result> results;
    const int sent = send(toSend, &results);
    if (results.size() != toSend.size())
        return sent; // the journal refused: nothing left

    QMap<QString, int> counts;
    for (int i = 0, written = 0; i < plans.size(); ++i) {
        if (plans.at(i).unchanged) {
            lines << lineFor(plans.at(i), QStringLiteral("unchanged"));
            continue;
        }
        const BatchWriter::Result &r = results.at(written++);
        Output::Line line = lineFor(plans.at(i), resultName(r.outcome));
        line.batch = journal.batch();
        if (!plans.at(i).replaces.isEmpty())
            line.replaces = SettingFields::macText(plans.at(i).replaces);
        if (r.outcome == BatchWriter::Outcome::Differs)
            line.differences = Output::differences(r.sent, r.reported);
        const bool answered = r.outcome == BatchWriter::Outcome::Verified ||
                              r.outcome == BatchWriter::Outcome::Differs;
        line.written = Output::written(plans.at(i).device.plaintext, r.sent,
                                       r.outcome == BatchWriter::Outcome::Verified ? r.sent
                                       : answered                                  ? r.reported
                                                                                   : QByteArray());
        counts[line.result] += 1;
        lines << line;
    }
    print(Output::report(lines, inv.format));
    warn(Phrase::translate("cli", "%1 verified, %2 differ, %3 no answer, %4 sent unverified, "
                                  "%5 not sent, %6 unchanged; %7 frames sent, %8 retries, %9 ms; "
                                  "journal batch %10")
             .arg(counts.value(QStringLiteral("verified")))
             .arg(counts.value(QStringLiteral("differs")))
             .arg(counts.value(QStringLiteral("no-answer")))
             .arg(counts.value(QStringLiteral("sent")))
             .arg(counts.value(QStringLiteral("not-sent")))
             .arg(unchanged)
             .arg(link.framesSent())
             .arg(retriesSent)
             .arg(clock.elapsed())
             .arg(journal.batch()));
    if (sent != EXIT_DONE)
        return sent;
    if (CloseGuard::closing())
        return fail(EXIT_NOT_VERIFIED,
                    Phrase::translate("cli", "the console closed during verification: "
                                             "outcomes journaled as they stood"));
    if (counts.value(QStringLiteral("not-sent")))
        return fail(EXIT_NO_ADAPTER,
                    Phrase::translate("cli", "%1 frame(s) could not leave through any adapter")
                        .arg(counts.value(QStringLiteral("not-sent"))));
    const bool allGood = counts.value(QStringLiteral("differs")) == 0 &&
                         counts.value(QStringLiteral("no-answer")) == 0;
    return allGood ? EXIT_DONE : EXIT_NOT_VERIFIED;
}
