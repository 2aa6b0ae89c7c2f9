#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"

#include "journalreader.h"

int HistoryCommand::run(Session &session, const Input &input)
{
    const JournalReading reading = readJournal(session.journal.path());
    if (!reading.error.isEmpty())
        return fail(EXIT_JOURNAL, reading.error);
    for (const UnreadableLine &line : reading.unreadable)
        warn(line.message);
    const QVector<JournalRecord> &records = reading.records;
    QVector<Output::HistoryRow> rows;
    for (const JournalRecord &r : records) {
        // A replacement belongs to the history of both units.
        if (!input.macs.isEmpty() && !input.macs.contains(r.mac) &&
            !input.macs.contains(r.replaces))
            continue;
        if (!session.inv.batch.isEmpty() && r.batch != session.inv.batch)
            continue;
        if (input.since.isValid() && QDateTime::fromString(r.time, Qt::ISODateWithMs) < input.since)
            continue;
        rows.append({r.time, r.batch, r.program, SettingFields::macText(r.mac), r.result,
                     Output::differences(r.before, r.sent),
                     r.replaces.isEmpty() ? QString() : SettingFields::macText(r.replaces)});
    }
    print(Output::history(rows, session.inv.format));
    if (records.isEmpty())
        warn(Phrase::translate("cli", "no writes in the journal %1").arg(session.journal.path()));
    return EXIT_DONE;
}
