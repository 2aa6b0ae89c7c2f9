#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include "journalreader.h"

int ConfirmCommand::run(Session &session, const Input &)
{
    const QString batch = session.inv.arguments.first();
    const JournalReading reading = readJournal(session.journal.path());
    if (!reading.error.isEmpty())
        return fail(EXIT_JOURNAL, reading.error);
    QString trial;
    bool known = false;
    for (const JournalRecord &r : reading.records) {
        if (r.batch == batch) {
            known = true;
            trial = r.trial;
        }
    }
    if (!known)
        return fail(EXIT_BAD_INPUT, Phrase::translate("cli", "no write of batch %1 in the journal "
                                                             "%2")
                                        .arg(batch, session.journal.path()));
    if (trial != QLatin1String("waiting"))
        return fail(EXIT_BAD_INPUT,
                    trial.isEmpty()
                        ? Phrase::translate("cli", "batch %1 was not written with --try").arg(batch)
                        : Phrase::translate("cli", "batch %1 is %2 already").arg(batch, trial));
    session.journal.setBatch(batch);
    QString error;
    if (!session.journal.trial(QStringLiteral("confirmed"), &error))
        return fail(EXIT_JOURNAL, error);
    warn(Phrase::translate("cli", "batch %1 confirmed").arg(batch));
    return EXIT_DONE;
}
