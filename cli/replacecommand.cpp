#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include "factorydefaults.h"
#include "framelayout.h"
#include "journalreader.h"

namespace {

using SettingFields::Field;

constexpr int SETTINGS_LENGTH = FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM;

// The settings bytes OLD's newest verified write sent: what it is known to
// have held. Writes that did not verify, and the window's (which does not
// verify), do not count.
int fromJournal(const Session &session, const QString &old, QByteArray *settings)
{
    const JournalReading reading = readJournal(session.journal.path());
    if (!reading.error.isEmpty())
        return fail(EXIT_JOURNAL, reading.error + Phrase::translate("cli", "; nothing sent"));
    for (auto r = reading.records.crbegin(); r != reading.records.crend(); ++r) {
        if (r->mac == old && r->result == QLatin1String("verified")) {
            *settings = r->sent.mid(FrameLayout::SETTINGS_FROM, SETTINGS_LENGTH);
            return EXIT_DONE;
        }
    }
    return fail(EXIT_BAD_INPUT,
                Phrase::translate("cli", "no verified write of %1 in the journal %2 to take its "
                                         "settings from; give them with --from FILE (a fleet "
                                         "file as 'search --format csv' writes it); nothing sent")
                    .arg(SettingFields::macText(old), session.journal.path()));
}

// OLD's row of a fleet file, every writable column of it.
int rowOf(const Input &input, const QString &old, const FleetFile::Entry **row)
{
    for (const FleetFile::Entry &entry : input.entries) {
        if (entry.mac == old)
            *row = &entry;
    }
    if (!*row)
        return fail(EXIT_BAD_INPUT, Phrase::translate("cli", "%1 has no row for %2; nothing sent")
                                        .arg(input.place, SettingFields::macText(old)));
    for (const Field field : SettingFields::all()) {
        if (!SettingFields::isWritable(field) || field == Field::Name)
            continue;
        const bool given = std::any_of((*row)->cells.begin(), (*row)->cells.end(),
                                       [&](const FleetFile::Cell &c) { return c.field == field; });
        if (!given)
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "%1:%2: no %3 for %4; a replacement takes "
                                                 "every setting; nothing sent")
                            .arg(input.place)
                            .arg((*row)->line)
                            .arg(SettingFields::name(field), SettingFields::macText(old)));
    }
    return EXIT_DONE;
}

} // namespace

int ReplaceCommand::run(Session &session, const Input &input)
{
    const Invocation &inv = session.inv;
    const QString old = input.macs.value(0);
    const QString named = input.macs.value(1);
    if (old == named)
        return fail(EXIT_BAD_INPUT, Phrase::translate("cli", "replace: OLD-MAC and NEW-MAC are "
                                                             "the same converter"));
    // Where the settings come from is settled before anything is sent.
    QByteArray settings;
    const FleetFile::Entry *row = nullptr;
    if (inv.fromFile.isEmpty()) {
        if (const int status = fromJournal(session, old, &settings))
            return status;
    } else if (const int status = rowOf(input, old, &row)) {
        return status;
    }

    if (const int status = session.searchAll())
        return status;
    const auto answering = [&](const QString &mac) {
        return std::find_if(session.everyone.cbegin(), session.everyone.cend(),
                            [&](const FoundDevice &d) { return d.record.mac == mac; });
    };
    // The failed unit first: if it still answers, the two would clash.
    if (answering(old) != session.everyone.cend()) {
        const QString message =
            Phrase::translate("cli", "%1 still answers (ip %2): the two would share an address")
                .arg(SettingFields::macText(old), answering(old)->record.lip);
        if (!inv.force)
            return fail(EXIT_BAD_INPUT,
                        message + Phrase::translate("cli", "; nothing sent (--force replaces "
                                                           "anyway)"));
        warn(Phrase::translate("cli", "overridden by --force: ") + message);
    }

    FoundDevice fresh;
    if (!named.isEmpty()) {
        const auto found = answering(named);
        if (found == session.everyone.cend())
            return fail(EXIT_NOT_ANSWERED,
                        Phrase::translate("cli", "no answer from %1 within %2 ms; nothing sent")
                            .arg(SettingFields::macText(named))
                            .arg(inv.timeoutMs));
        fresh = *found;
    } else {
        const QString factory = FactoryDefaults::applied(DeviceRecord()).lip;
        QVector<FoundDevice> candidates;
        for (const FoundDevice &d : qAsConst(session.everyone)) {
            if (d.record.mac != old && d.record.lip == factory)
                candidates << d;
        }
        if (candidates.isEmpty())
            return fail(EXIT_NOT_ANSWERED,
                        Phrase::translate("cli", "no converter answers at the factory address "
                                                 "%1; nothing sent")
                            .arg(factory));
        if (candidates.size() > 1) {
            QStringList macs;
            for (const FoundDevice &d : qAsConst(candidates))
                macs << SettingFields::macText(d.record.mac);
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "%1 converters answer at the factory address "
                                                 "%2 (%3): name the new unit's MAC; nothing sent")
                            .arg(candidates.size())
                            .arg(factory, macs.join(QStringLiteral(", "))));
        }
        fresh = candidates.first();
    }

    Plan plan{fresh, fresh.plaintext, false, old};
    if (row) {
        QVector<SettingFields::Change> changes;
        QString error;
        if (!FleetFile::changesFor(*row, fresh.plaintext, input.place, &changes, &error))
            return fail(EXIT_BAD_INPUT, error + Phrase::translate("cli", "; nothing sent"));
        // An empty name cell: the failed unit had no name.
        const bool named =
            std::any_of(row->cells.begin(), row->cells.end(),
                        [](const FleetFile::Cell &c) { return c.field == Field::Name; });
        if (!named) {
            SettingFields::Change noName;
            QString message;
            SettingFields::parse(Field::Name, QString(), &noName, &message);
            changes << noName;
        }
        for (const SettingFields::Change &change : qAsConst(changes))
            SettingFields::put(plan.settings, change);
    } else {
        plan.settings.replace(FrameLayout::SETTINGS_FROM, SETTINGS_LENGTH, settings);
    }
    plan.unchanged = plan.settings == fresh.plaintext;
    return session.write({plan});
}
