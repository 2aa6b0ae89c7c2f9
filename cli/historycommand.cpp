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
