#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include "journalreader.h"

namespace {

bool sameField(const QByteArray &a, const QByteArray &b, SettingFields::Field field)
{
    return !SettingFields::differences(a, b).contains(field);
}

} // namespace

int RevertCommand::run(Session &session, const Input &input)
{
    const Invocation &inv = session.inv;
    const QString &path = session.journal.path();
    const JournalReading reading = readJournal(path);
    if (!reading.error.isEmpty())
        return fail(EXIT_JOURNAL, reading.error + Phrase::translate("cli", "; nothing sent"));
    for (const UnreadableLine &line : reading.unreadable)
        warn(line.message);
    const QVector<JournalRecord> &records = reading.records;
    // A write whose intent cannot be read may be the newest one: undoing
    // an older write instead would put back what is not there.
    const auto unreadableAfter = [&](int records, const QString &mac, const QString &batch) {
        for (const UnreadableLine &line : reading.unreadable) {
            if (line.after >= records && !line.outcome &&
                (mac.isEmpty() || line.mac.isEmpty() || line.mac == mac) &&
                (batch.isEmpty() || line.batch.isEmpty() || line.batch == batch))
                return line.message.section(QStringLiteral(": "), 0, 0);
        }
        return QString();
    };

    // The writes to undo: a whole batch, or each converter's last.
    QVector<JournalRecord> undo;
    if (!inv.batch.isEmpty()) {
        for (const JournalRecord &r : records) {
            if (r.batch == inv.batch)
                undo << r;
        }
        if (undo.isEmpty())
            return fail(
                EXIT_BAD_INPUT,
                Phrase::translate("cli", "no write of batch %1 in the journal %2; nothing sent")
                    .arg(inv.batch, path));
        const QString where = unreadableAfter(0, QString(), inv.batch);
        if (!where.isEmpty())
            return fail(
                EXIT_BAD_INPUT,
                Phrase::translate("cli", "a write of batch %1 cannot be read (%2); nothing sent")
                    .arg(inv.batch, where));
    }
    for (const QString &mac : input.macs) {
        auto last = std::find_if(records.rbegin(), records.rend(),
                                 [&](const JournalRecord &r) { return r.mac == mac; });
        const QString where = unreadableAfter(
            last == records.rend() ? 0 : int(records.rend() - last), mac, QString());
        if (!where.isEmpty())
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli",
                                          "the newest write of %1 cannot be read (%2); nothing "
                                          "sent")
                            .arg(SettingFields::macText(mac), where));
        if (last == records.rend())
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "no write of %1 in the journal %2; nothing sent")
                            .arg(SettingFields::macText(mac), path));
        if (std::none_of(undo.begin(), undo.end(),
                         [&](const JournalRecord &r) { return r.mac == mac; }))
            undo << *last;
    }

    QStringList macs;
    for (const JournalRecord &r : qAsConst(undo))
        macs << r.mac;
    QMap<QString, FoundDevice> found;
    if (const int status = session.find(macs, &found))
        return status;

    QVector<Plan> plans;
    QStringList changedSince;
    for (const JournalRecord &r : qAsConst(undo)) {
        const FoundDevice device = found.value(r.mac);
        const QByteArray &now = device.plaintext;
        QByteArray settings = now;
        for (const SettingFields::Field field : SettingFields::differences(r.before, r.sent)) {
            if (sameField(now, r.before, field))
                continue; // as before already
            if (!sameField(now, r.sent, field))
                changedSince << Phrase::translate("cli",
                                                  "%1: %2 is %3 now, not %4 as batch %5 left it")
                                    .arg(SettingFields::macText(r.mac), SettingFields::name(field),
                                         SettingFields::text(now, field),
                                         SettingFields::text(r.sent, field), r.batch);
            if (sameField(now, r.sent, field) || inv.force)
                SettingFields::copyField(settings, r.before, field);
        }
        Plan plan{device, settings, false, {}};
        plan.unchanged = SettingFields::differences(now, settings).isEmpty();
        plans << plan;
    }
    if (!changedSince.isEmpty()) {
        for (const QString &line : qAsConst(changedSince))
            warn((inv.force ? Phrase::translate("cli", "overridden by --force: ") : QString()) +
                 line);
        if (!inv.force)
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli",
                                          "revert refused: fields changed since the write, as "
                                          "above; nothing sent (--force reverts them too)"));
    }
    return session.write(plans);
}
