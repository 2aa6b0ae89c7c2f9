#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"

#include "converterpast.h"

#include <QSet>

int HistoryCommand::run(Session &session, const Input &input)
{
    const JournalReading reading = readJournal(session.journal.path());
    if (!reading.error.isEmpty())
        return fail(EXIT_JOURNAL, reading.error);
    for (const UnreadableLine &line : reading.unreadable)
        warn(line.message);
    const QVector<JournalRecord> &records = reading.records;
    // Each converter's past as the journal query tells it: a replacement
    // belongs to the history of both units.
    QSet<int> wanted;
    for (const QString &mac : input.macs) {
        for (const int i : pastOf(reading, mac).records)
            wanted.insert(i);
    }
    QVector<Output::HistoryRow> rows;
    QStringList timeless;
    for (int i = 0; i < records.size(); ++i) {
        const JournalRecord &r = records.at(i);
        if (!input.macs.isEmpty() && !wanted.contains(i))
            continue;
        if (!session.inv.batch.isEmpty() && r.batch != session.inv.batch)
            continue;
        if (input.since.isValid()) {
            const QDateTime time = QDateTime::fromString(r.time, Qt::ISODateWithMs);
            if (!time.isValid()) {
                timeless << Phrase::translate("cli", "%1 of batch %2 ('%3')")
                                .arg(SettingFields::macText(r.mac), r.batch, r.time);
                continue;
            }
            if (time < input.since)
                continue;
        }
        rows.append({r.time, r.batch, r.program, SettingFields::macText(r.mac), r.result,
                     Output::differences(r.before, r.sent),
                     r.replaces.isEmpty() ? QString() : SettingFields::macText(r.replaces)});
    }
    // Tests and the verdicts on trial batches, in time order among the writes.
    QSet<QString> batches;
    for (int i = 0; i < records.size(); ++i) {
        if (input.macs.isEmpty() || wanted.contains(i))
            batches.insert(records.at(i).batch);
    }
    const auto keep = [&](const TestRecord &t) {
        if (!session.inv.batch.isEmpty() && t.batch != session.inv.batch)
            return false;
        if (input.since.isValid()) {
            const QDateTime time = QDateTime::fromString(t.time, Qt::ISODateWithMs);
            if (time.isValid() && time < input.since)
                return false;
        }
        return true;
    };
    for (const TestRecord &t : reading.tests) {
        if ((input.macs.isEmpty() || input.macs.contains(t.mac)) && keep(t))
            rows.append({t.time,
                         t.batch,
                         t.program,
                         SettingFields::macText(t.mac),
                         t.result,
                         {},
                         {},
                         QStringLiteral("test"),
                         t.figures});
    }
    for (const TestRecord &t : reading.trials) {
        if (batches.contains(t.batch) && keep(t))
            rows.append({t.time,
                         t.batch,
                         t.program,
                         QString(),
                         t.result,
                         {},
                         {},
                         QStringLiteral("trial"),
                         {}});
    }
    std::stable_sort(
        rows.begin(), rows.end(),
        [](const Output::HistoryRow &a, const Output::HistoryRow &b) { return a.time < b.time; });
    print(Output::history(rows, session.inv.format));
    if (!timeless.isEmpty())
        warn(Phrase::translate("cli", "%1 write(s) left out by --since, their time cannot be "
                                      "read: %2")
                 .arg(timeless.size())
                 .arg(timeless.join(QStringLiteral("; "))));
    if (records.isEmpty())
        warn(Phrase::translate("cli", "no writes in the journal %1").arg(session.journal.path()));
    return EXIT_DONE;
}
