#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"
#include "stopsignal.h"

#include "factorydefaults.h"
#include "framelayout.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace {

using SettingFields::Field;

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

QByteArray settingsBytes(const QByteArray &frame)
{
    return frame.mid(FrameLayout::SETTINGS_FROM,
                     FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM);
}

// One run of watch: every reply goes through onReply; converters new to the
// run wait in pending until no write is in flight, and are then handled
// together, written in one verified batch.
class Watcher
{
public:
    Watcher(Session &session, const Input &input) : session(session), inv(session.inv), input(input)
    {
        nextAddress = input.firstAddress;
        for (const FleetFile::Entry &entry : input.entries)
            rows.insert(entry.mac, entry);
        for (const SegmentCheck::HostAddress &host : SegmentCheck::hostAddresses())
            taken.insert(host.address);
    }

    int run();

private:
    void onReply(const FoundDevice &device);
    void process();
    void decide(const FoundDevice &device, QVector<Plan> *plans);
    void write(QVector<Plan> plans);
    void event(const QString &mac, const QString &name, const QString &ip,
               const QString &message = QString(), const DataTestResult *test = nullptr);
    void testWritten(const QVector<FoundDevice> &devices);
    void handled(const QString &mac, bool counts);
    // Event messages are data in CSV and JSON: English there, whatever the
    // language; a table is for people.
    template <typename Make> QString said(Make make) const
    {
        if (inv.format == Invocation::Format::Table)
            return make();
        Phrase::Untranslated english;
        return make();
    }
    void requestStop();
    void stopWhenDue();
    void checkGiven(const FoundDevice &device);
    bool finished() const;
    void maybeQuit();

    Session &session;
    const Invocation &inv;
    const Input &input;
    QHash<QString, FleetFile::Entry> rows;
    QHash<QString, int> index; // MAC -> its place in session.everyone
    QStringList pending;
    QHash<QString, QByteArray> verified; // MAC -> the settings it took
    QSet<QString> announcedChanged;
    QSet<quint32> taken;           // addresses a converter seen or this computer holds
    QHash<quint32, QString> given; // addresses this run wrote, and to which converter
    quint32 nextAddress = 0;
    QStringList inFlight;
    QMap<QString, int> counts;
    int writtenOrRefused = 0;
    int rowsHandled = 0;
    int stops = 0; // Ctrl-C and its kin, not --for running out
    QElapsedTimer runClock;
    QTimer forTimer;
    bool busy = false;
    bool stopping = false;
    int status = EXIT_DONE;
    QEventLoop loop;
};

int Watcher::run()
{
    QElapsedTimer &clock = runClock;
    clock.start();
    StopSignal stop;
    QObject::connect(&stop, &StopSignal::requested, &loop, [this] { requestStop(); });
    const auto connection = QObject::connect(&session.link, &DeviceLink::replied, &loop,
                                             [this](const FoundDevice &d) { onReply(d); });
    QTimer probe;
    probe.setInterval(inv.intervalMs);
    QObject::connect(&probe, &QTimer::timeout, &loop, [this] { session.link.sendProbe(); });
    probe.start();
    if (inv.forSeconds > 0) {
        forTimer.setSingleShot(true);
        QObject::connect(&forTimer, &QTimer::timeout, &loop, [this] { stopWhenDue(); });
        stopWhenDue();
    }
    if (outputStartsEmpty()) // a CSV header once, also when appending
        print(Output::watchHeader(inv.format, inv.test));
    if (!session.link.sendProbe())
        return fail(EXIT_NO_ADAPTER,
                    Phrase::translate("cli", "no adapter to search from: the probe could "
                                             "not be sent through any adapter"));
    if (!finished())
        loop.exec();
    probe.stop();
    QObject::disconnect(connection);

    QString summary = Phrase::translate("cli", "watch: %1 found, %2 verified, %3 differ, %4 no "
                                               "answer, %5 unchanged, %6 refused, %7 skipped, %8 "
                                               "not in file, %9 changed, %10 conflict events")
                          .arg(counts.value("found"))
                          .arg(counts.value("verified"))
                          .arg(counts.value("differs"))
                          .arg(counts.value("no-answer"))
                          .arg(counts.value("unchanged"))
                          .arg(counts.value("refused"))
                          .arg(counts.value("skipped"))
                          .arg(counts.value("not-in-file"))
                          .arg(counts.value("changed"))
                          .arg(counts.value("conflict"));
    if (inv.test)
        summary += Phrase::translate("cli", ", %1 tested, %2 failed the test")
                       .arg(counts.value("tested"))
                       .arg(counts.value("test-failed"));
    if (!rows.isEmpty())
        summary +=
            Phrase::translate("cli", "; %1 of %2 rows handled").arg(rowsHandled).arg(rows.size());
    warn(summary + Phrase::translate("cli", "; %1 ms; journal batch %2")
                       .arg(clock.elapsed())
                       .arg(session.journal.batch()));
    if (status != EXIT_DONE)
        return status;
    const bool good = counts.value("differs") == 0 && counts.value("no-answer") == 0 &&
                      counts.value("refused") == 0 && counts.value("conflict") == 0 &&
                      counts.value("test-failed") == 0 &&
                      (rows.isEmpty() || rowsHandled == rows.size());
    return good ? EXIT_DONE : EXIT_NOT_VERIFIED;
}

void Watcher::onReply(const FoundDevice &device)
{
    const QString &mac = device.record.mac;
    auto known = index.constFind(mac);
    if (known == index.constEnd()) {
        index.insert(mac, session.everyone.size());
        session.everyone.append(device);
        if (!(device.plaintext.at(FrameLayout::IPTYPE_OFFSET) & FrameLayout::IPTYPE_BITS))
            taken.insert(QHostAddress(device.record.lip).toIPv4Address());
        event(mac, QStringLiteral("found"), device.record.lip);
        checkGiven(device);
        pending.append(mac);
        QTimer::singleShot(0, &loop, [this] { process(); });
        return;
    }
    session.everyone[known.value()] = device;
    // Done and back (after its restart): left alone, unless it no longer
    // holds what it took.
    const auto took = verified.constFind(mac);
    if (took != verified.constEnd() && !announcedChanged.contains(mac) && !inFlight.contains(mac) &&
        settingsBytes(device.plaintext) != took.value()) {
        QByteArray was(64, '\0');
        was.replace(FrameLayout::SETTINGS_FROM, took.value().size(), took.value());
        QStringList fields;
        for (const Output::Line::Difference &d : Output::differences(was, device.plaintext))
            fields << QStringLiteral("%1 %2 -> %3")
                          .arg(SettingFields::name(d.field), d.first, d.second);
        announcedChanged.insert(mac);
        event(mac, QStringLiteral("changed"), device.record.lip, said([&] {
                  return Phrase::translate("cli", "no longer holds what was written: ") +
                         fields.join(QStringLiteral("; "));
              }));
    }
}

void Watcher::process()
{
    if (busy || pending.isEmpty())
        return;
    busy = true;
    QVector<Plan> plans;
    const QStringList macs = pending;
    pending.clear();
    for (const QString &mac : macs) {
        if (!stopping)
            decide(session.everyone.at(index.value(mac)), &plans);
    }
    if (!plans.isEmpty())
        write(plans);
    busy = false;
    if (!pending.isEmpty() && !stopping)
        QTimer::singleShot(0, &loop, [this] { process(); });
    maybeQuit();
}

void Watcher::decide(const FoundDevice &device, QVector<Plan> *plans)
{
    const QString &mac = device.record.mac;
    const QString &ip = device.record.lip;
    QVector<SettingFields::Change> changes;
    if (!inv.applyFile.isEmpty()) {
        const auto row = rows.constFind(mac);
        if (row == rows.constEnd()) {
            event(mac, QStringLiteral("not-in-file"), ip);
            return;
        }
        QString error;
        const bool refused = !said([&] {
                                  return FleetFile::changesFor(row.value(), device.plaintext,
                                                               input.place, &changes, &error)
                                             ? QString()
                                             : error;
                              }).isEmpty();
        if (refused) {
            event(mac, QStringLiteral("refused"), ip, error);
            handled(mac, true);
            return;
        }
    } else {
        // Units on the bench still at the factory address; one commissioned
        // earlier keeps its address.
        const QString factory = FactoryDefaults::applied(DeviceRecord()).lip;
        if (!inv.any && ip != factory) {
            event(mac, QStringLiteral("skipped"), ip, said([&] {
                      return Phrase::translate("cli", "not at the factory address %1 (--any "
                                                      "gives it one too)")
                          .arg(factory);
                  }));
            return;
        }
        while (taken.contains(nextAddress) && (nextAddress & 0xFF) < 255)
            ++nextAddress;
        if ((nextAddress & 0xFF) > 254 || (nextAddress & 0xFF) == 0) {
            event(mac, QStringLiteral("refused"), ip, said([&] {
                      return Phrase::translate("cli", "no free address left from %1 to .254")
                          .arg(QHostAddress(input.firstAddress).toString());
                  }));
            handled(mac, true);
            return;
        }
        SettingFields::Change address;
        address.field = Field::Ip;
        address.text = QHostAddress(nextAddress).toString();
        taken.insert(nextAddress);
        changes = input.changes;
        changes.prepend(address);
        for (const SettingFields::Change &change : qAsConst(changes)) {
            if (!change.refusal.isEmpty() && !SettingFields::isNoChange(device.plaintext, change)) {
                event(mac, QStringLiteral("refused"), ip, change.refusal);
                handled(mac, true);
                return;
            }
        }
    }
    const Plan plan = planChanges(device, changes);
    if (plan.unchanged) {
        event(mac, QStringLiteral("unchanged"), ip);
        handled(mac, false);
        verified.insert(mac, settingsBytes(device.plaintext));
        return;
    }
    plans->append(plan);
}

void Watcher::write(QVector<Plan> plans)
{
    // The segment check, against every converter seen so far.
    QHash<QString, QStringList> problems;
    for (const SegmentCheck::Problem &p : session.newProblems(plans))
        problems[p.mac] << p.message();
    QHash<QString, QStringList> reasons; // for the events
    for (const SegmentCheck::Problem &p : session.newProblems(plans))
        reasons[p.mac] << said([&] { return p.message(); });
    for (int i = plans.size() - 1; i >= 0; --i) {
        const QString mac = plans.at(i).device.record.mac;
        if (!problems.contains(mac))
            continue;
        if (inv.force) {
            for (const QString &message : problems.value(mac))
                warn(Phrase::translate("cli", "overridden by --force: ") + message);
            continue;
        }
        event(mac, QStringLiteral("refused"), plans.at(i).device.record.lip,
              reasons.value(mac).join(QStringLiteral("; ")));
        handled(mac, true);
        plans.remove(i);
    }
    if (plans.isEmpty())
        return;
    for (const Plan &plan : qAsConst(plans)) {
        inFlight << plan.device.record.mac;
        if (!(plan.settings.at(FrameLayout::IPTYPE_OFFSET) & FrameLayout::IPTYPE_BITS))
            given.insert(
                QHostAddress(SettingFields::text(plan.settings, Field::Ip)).toIPv4Address(),
                plan.device.record.mac);
    }
    QVector<BatchWriter::Result> results;
    const int sent = session.send(plans, &results);
    inFlight.clear();
    QVector<FoundDevice> tested;
    if (results.size() != plans.size()) { // the journal cannot be written: nothing more
        // Status 5 says nothing was sent; earlier writes of this run were.
        status = session.link.framesSent() > 0
                     ? fail(EXIT_NOT_RECORDED,
                            Phrase::translate("cli", "the journal failed after this run "
                                                     "had written converters"))
                     : sent;
        stopping = true;
        return;
    }
    for (int i = 0; i < plans.size(); ++i) {
        const QString &mac = plans.at(i).device.record.mac;
        const BatchWriter::Result &r = results.at(i);
        QString name, ip, message;
        switch (r.outcome) {
        case BatchWriter::Outcome::Verified:
            name = QStringLiteral("verified");
            ip = SettingFields::text(r.sent, Field::Ip);
            verified.insert(mac, settingsBytes(r.sent));
            session.everyone[index.value(mac)].plaintext = r.sent;
            break;
        case BatchWriter::Outcome::Differs: {
            name = QStringLiteral("differs");
            ip = SettingFields::text(r.reported, Field::Ip);
            QStringList fields;
            for (const Output::Line::Difference &d : Output::differences(r.sent, r.reported))
                fields << said([&] {
                    return Phrase::translate("cli", "%1 sent %2, reported %3")
                        .arg(SettingFields::name(d.field), d.first, d.second);
                });
            message = fields.join(QStringLiteral("; "));
            break;
        }
        default:
            name = QStringLiteral("no-answer");
            ip = plans.at(i).device.record.lip;
            break;
        }
        event(mac, name, ip, message);
        handled(mac, true);
        if (inv.test && r.outcome == BatchWriter::Outcome::Verified) {
            FoundDevice now = plans.at(i).device;
            now.plaintext = r.sent;
            tested << now;
        }
    }
    if (!tested.isEmpty())
        testWritten(tested);
    if (sent != EXIT_DONE) { // outcomes not journaled
        status = sent;
        stopping = true;
    }
}

void Watcher::event(const QString &mac, const QString &name, const QString &ip,
                    const QString &message, const DataTestResult *test)
{
    counts[name] += 1;
    Output::WatchEvent e{now(), SettingFields::macText(mac), name, ip, message, inv.test};
    if (test) {
        e.test = test->result;
        e.bytesPerSecond = qRound64(test->bytesPerSecond);
        e.lineShare = test->lineShare;
    }
    print(Output::watchEvent(e, inv.format));
}

// Each converter just verified, tested with its new settings: the label
// printer gets the throughput, and a failure is an event of its own.
void Watcher::testWritten(const QVector<FoundDevice> &devices)
{
    QVector<DataTestResult> results;
    if (const int journaled = session.testData(devices, &results))
        status = journaled;
    for (const DataTestResult &r : qAsConst(results)) {
        QString message = said([&] { return Output::testFigures(r); });
        if (!r.message.isEmpty())
            message += (message.isEmpty() ? QString() : QStringLiteral("; ")) + r.message;
        event(r.mac, r.passed() ? QStringLiteral("tested") : QStringLiteral("test-failed"), r.ip,
              message, &r);
    }
}

void Watcher::handled(const QString &mac, bool counts)
{
    writtenOrRefused += counts;
    if (rows.contains(mac))
        ++rowsHandled;
}

// A converter new to the run at an address that the run has just given
// another: the segment check of that write could not see it.
void Watcher::checkGiven(const FoundDevice &device)
{
    if (device.plaintext.at(FrameLayout::IPTYPE_OFFSET) & FrameLayout::IPTYPE_BITS)
        return;
    const QString &mac = device.record.mac;
    const QString &ip = device.record.lip;
    const QString other = given.value(QHostAddress(ip).toIPv4Address());
    if (other.isEmpty() || other == mac)
        return;
    event(mac, QStringLiteral("conflict"), ip, said([&] {
              return Phrase::translate("cli", "ip %1 was just given to %2")
                  .arg(ip, SettingFields::macText(other));
          }));
    event(other, QStringLiteral("conflict"), ip, said([&] {
              return Phrase::translate("cli", "ip %1, just given to it, is also the ip of %2, "
                                              "first seen now")
                  .arg(ip, SettingFields::macText(mac));
          }));
}

// --for, in steps a timer can count (its milliseconds are an int), so that
// a year works as well as a minute.
void Watcher::stopWhenDue()
{
    const qint64 left = qint64(inv.forSeconds) * 1000 - runClock.elapsed();
    if (left > 0) {
        forTimer.start(int(std::min<qint64>(left, 3600 * 1000)));
        return;
    }
    stopping = true; // not a Ctrl-C: one after it still lets a write finish
    maybeQuit();
}

bool Watcher::finished() const
{
    return stopping || (inv.count > 0 && writtenOrRefused >= inv.count) ||
           (!rows.isEmpty() && rowsHandled == rows.size());
}

void Watcher::maybeQuit()
{
    if (!busy && finished())
        loop.quit();
}

// The first stop lets a write in flight finish its verification; the
// second ends the program at once.
void Watcher::requestStop()
{
    ++stops;
    stopping = true;
    if (stops >= 2 && busy) {
        QStringList left;
        for (const QString &mac : qAsConst(inFlight))
            left << SettingFields::macText(mac);
        warn(
            Phrase::translate("cli",
                              "stopped at once: %1 left unverified (the journal holds the intent)")
                .arg(left.isEmpty() ? QStringLiteral("nothing") : left.join(QStringLiteral(", "))));
        QString ignored;
        commitOutputFile(&ignored);
        std::_Exit(EXIT_NOT_VERIFIED);
    }
    if (busy)
        warn(Phrase::translate("cli",
                               "stopping once the write in flight is verified (Ctrl-C again stops "
                               "at once)"));
    maybeQuit();
}

} // namespace

int WatchCommand::run(Session &session, const Input &input)
{
    Watcher watcher(session, input);
    return watcher.run();
}
