#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"

#include "factorydefaults.h"
#include "framelayout.h"
#include "converterpast.h"
#include "deviceframe.h"

namespace {

using SettingFields::Field;

constexpr int SETTINGS_LENGTH = FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM;

// The settings bytes OLD's newest verified write sent: what it is known to
// have held. Refused when the journal tells of more since then (writes that
// did not verify, lines that cannot be read), unless --force.
int fromJournal(const Session &session, const QString &old, QByteArray *settings)
{
    const JournalReading reading = readJournal(session.journal.path());
    if (!reading.error.isEmpty())
        return fail(EXIT_JOURNAL, reading.error + Phrase::translate("cli", "; nothing sent"));
    const ConverterPast past = pastOf(reading, old);
    if (past.newestVerified < 0)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate("cli", "no verified write of %1 in the journal %2 to take "
                                             "its settings from; give them with --from FILE (a "
                                             "fleet file as 'search --format csv' writes it); "
                                             "nothing sent")
                        .arg(SettingFields::macText(old), session.journal.path()));
    QStringList since;
    for (const int i : past.laterUnverified)
        since << Phrase::translate("cli", "%1: a later write that did not verify: %2")
                     .arg(SettingFields::macText(old), describeWrite(reading.records.at(i)));
    for (const int k : past.unreadableAfter(reading, past.newestVerified))
        since << Phrase::translate("cli", "%1: a journal line that may concern it cannot be read "
                                          "(%2)")
                     .arg(SettingFields::macText(old), whereUnreadable(reading.unreadable.at(k)));
    const JournalRecord &verified = reading.records.at(past.newestVerified);
    if (const int status = session.refuseUnlessForced(
            since, Phrase::translate("cli", "%1 may hold other settings than its newest verified "
                                            "write (%2) sent, as above; nothing sent (give them "
                                            "with --from FILE, or --force takes that write's "
                                            "settings)")
                       .arg(SettingFields::macText(old), describeWrite(verified))))
        return status;
    *settings = verified.sent.mid(FrameLayout::SETTINGS_FROM, SETTINGS_LENGTH);
    return EXIT_DONE;
}

// OLD's row of a fleet file as changes: every writable column. Values a
// converter itself reports (parity mark, a GB18030 name) are taken as they
// are: the row is a backup of a converter, not an operator's wish.
int rowOf(const Input &input, const QString &old, QVector<SettingFields::Change> *changes)
{
    const FleetFile::Entry *row = nullptr;
    for (const FleetFile::Entry &entry : input.entries) {
        if (entry.mac == old)
            row = &entry;
    }
    if (!row)
        return fail(EXIT_BAD_INPUT, Phrase::translate("cli", "%1 has no row for %2; nothing sent")
                                        .arg(input.place, SettingFields::macText(old)));
    for (const Field field : SettingFields::all()) {
        if (!SettingFields::isWritable(field))
            continue;
        const auto cell = std::find_if(row->cells.begin(), row->cells.end(),
                                       [&](const FleetFile::Cell &c) { return c.field == field; });
        // An empty name cell: the failed unit had no name.
        const bool given = cell != row->cells.end() ||
                           (field == Field::Name && row->columns.contains(Field::Name));
        if (!given)
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "%1:%2: no %3 for %4; a replacement takes "
                                                 "every setting; nothing sent")
                            .arg(input.place)
                            .arg(row->line)
                            .arg(SettingFields::name(field), SettingFields::macText(old)));
        const QString text = cell != row->cells.end() ? cell->text : QString();
        SettingFields::Change change;
        QString message;
        SettingFields::parse(field, text, &change, &message);
        if (field == Field::Name) {
            change.nameBytes = DeviceFrame::nameBytesFor(text);
            if (change.nameBytes.isEmpty() && !text.isEmpty())
                return fail(EXIT_BAD_INPUT, QStringLiteral("%1:%2: ").arg(input.place).arg(row->line) +
                                                message + Phrase::translate("cli", "; nothing sent"));
        }
        *changes << change;
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
    QVector<SettingFields::Change> changes;
    if (inv.fromFile.isEmpty()) {
        if (const int status = fromJournal(session, old, &settings))
            return status;
    } else if (const int status = rowOf(input, old, &changes)) {
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

    const QString factory = FactoryDefaults::applied(DeviceRecord()).lip;
    FoundDevice fresh;
    if (!named.isEmpty()) {
        const auto found = answering(named);
        if (found == session.everyone.cend())
            return fail(EXIT_NOT_ANSWERED,
                        Phrase::translate("cli", "no answer from %1 within %2 ms; nothing sent")
                            .arg(SettingFields::macText(named))
                            .arg(inv.timeoutMs));
        fresh = *found;
        // A slip of the keyboard must not overwrite a converter in service.
        if (fresh.record.lip != factory) {
            const QString message =
                Phrase::translate("cli", "%1 is not at the factory address %2 but at %3, named "
                                         "'%4': a converter in service?")
                    .arg(SettingFields::macText(named), factory, fresh.record.lip,
                         Output::visible(fresh.record.deviceName));
            if (!inv.force)
                return fail(EXIT_BAD_INPUT,
                            message + Phrase::translate("cli", "; nothing sent (--force replaces "
                                                               "anyway)"));
            warn(Phrase::translate("cli", "overridden by --force: ") + message);
        }
    } else {
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
    if (inv.fromFile.isEmpty()) {
        plan.settings.replace(FrameLayout::SETTINGS_FROM, SETTINGS_LENGTH, settings);
    } else {
        for (const SettingFields::Change &change : qAsConst(changes))
            SettingFields::put(plan.settings, change);
    }
    plan.unchanged = plan.settings == fresh.plaintext;
    return session.write({plan});
}
