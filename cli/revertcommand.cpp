#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include "converterpast.h"
#include "framelayout.h"
#include "protocolconstants.h"

namespace {

constexpr int FROM = FrameLayout::SETTINGS_FROM;
constexpr int LENGTH = FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM;

// What was changed since the write by anything else: fields the converter
// holds neither as the write left them nor as they were before, and bits
// outside the fields likewise.
QStringList changedSince(const JournalRecord &r, const QByteArray &now)
{
    QStringList lines;
    const auto same = [](const QByteArray &a, const QByteArray &b, SettingFields::Field field) {
        return !SettingFields::differences(a, b).contains(field);
    };
    QByteArray masked = now, sentMasked = r.sent, beforeMasked = r.before;
    for (const SettingFields::Field field : SettingFields::all()) {
        if (!SettingFields::isWritable(field))
            continue;
        if (!same(now, r.sent, field) && !same(now, r.before, field))
            lines << Phrase::translate("cli", "%1: %2 is %3 now, not %4 as batch %5 left it")
                         .arg(SettingFields::macText(r.mac), SettingFields::name(field),
                              SettingFields::text(now, field), SettingFields::text(r.sent, field),
                              r.batch);
        // Leaves only the bits no field owns.
        for (QByteArray *frame : {&masked, &sentMasked, &beforeMasked})
            SettingFields::copyField(*frame, QByteArray(FRAME_SIZE, '\0'), field);
    }
    for (int k = FROM; k < FrameLayout::SETTINGS_TO; ++k) {
        const quint8 bits = quint8(masked.at(k) ^ sentMasked.at(k)) &
                            quint8(masked.at(k) ^ beforeMasked.at(k));
        if (bits)
            lines << Phrase::translate("cli", "%1: byte %2 is %3 now, not %4 as batch %5 left it")
                         .arg(SettingFields::macText(r.mac))
                         .arg(k)
                         .arg(QString::number(quint8(now.at(k)), 16).rightJustified(2, '0'))
                         .arg(QString::number(quint8(r.sent.at(k)), 16).rightJustified(2, '0'))
                         .arg(r.batch);
    }
    return lines;
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
    // A line that cannot be read may be a newer write: undoing an older one
    // instead would put back what is not there.
    QStringList unsure;

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
        for (const UnreadableLine &line : reading.unreadable) {
            if (!line.outcome && (line.batch.isEmpty() || line.batch == inv.batch))
                unsure << Phrase::translate("cli", "a line that may concern batch %1 cannot be "
                                                   "read (%2)")
                              .arg(inv.batch, whereUnreadable(line));
        }
    }
    for (const QString &mac : input.macs) {
        const ConverterPast past = pastOf(reading, mac);
        for (const int k : past.unreadableAfter(reading, past.newest))
            unsure << Phrase::translate("cli", "a line that may concern %1 cannot be read (%2), "
                                               "after its newest readable write")
                          .arg(SettingFields::macText(mac), whereUnreadable(reading.unreadable.at(k)));
        if (past.newest < 0) {
            if (!unsure.isEmpty() && !inv.force)
                break;
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "no write of %1 in the journal %2; nothing sent")
                            .arg(SettingFields::macText(mac), path));
        }
        if (std::none_of(undo.begin(), undo.end(),
                         [&](const JournalRecord &r) { return r.mac == mac; }))
            undo << records.at(past.newest);
    }
    if (const int status = session.refuseUnlessForced(
            unsure, Phrase::translate("cli", "revert refused: the newest write may be one that "
                                             "cannot be read, as above; nothing sent (--force "
                                             "undoes the newest readable write)")))
        return status;

    QStringList macs;
    for (const JournalRecord &r : qAsConst(undo))
        macs << r.mac;
    QMap<QString, FoundDevice> found;
    if (const int status = session.find(macs, &found))
        return status;

    QVector<Plan> plans;
    QStringList changed;
    for (const JournalRecord &r : qAsConst(undo)) {
        const FoundDevice device = found.value(r.mac);
        const QByteArray &now = device.plaintext;
        changed << changedSince(r, now);
        // Every settings byte exactly as it was before, bits that no field
        // owns included.
        QByteArray settings = now;
        settings.replace(FROM, LENGTH, r.before.mid(FROM, LENGTH));
        plans << Plan{device, settings, settings.mid(FROM, LENGTH) == now.mid(FROM, LENGTH), {}};
    }
    if (const int status = session.refuseUnlessForced(
            changed, Phrase::translate("cli", "revert refused: fields changed since the write, "
                                              "as above; nothing sent (--force reverts them too)")))
        return status;
    return session.write(plans);
}
