#include "converterpast.h"

#include "phrase.h"

namespace {

bool mayConcern(const UnreadableLine &line, const QString &mac)
{
    // An outcome line only settles a write whose intent was read; the
    // intent is what a converter may have been sent.
    return !line.outcome && (line.mac.isEmpty() || line.mac == mac);
}

} // namespace

ConverterPast pastOf(const JournalReading &reading, const QString &mac)
{
    ConverterPast past;
    for (int i = 0; i < reading.records.size(); ++i) {
        const JournalRecord &r = reading.records.at(i);
        if (r.mac != mac && r.replaces != mac)
            continue;
        past.records << i;
        if (r.mac != mac)
            continue;
        past.newest = i;
        if (r.result == QLatin1String("verified")) {
            past.newestVerified = i;
            past.laterUnverified.clear();
        } else if (r.result != QLatin1String("not-sent")) {
            past.laterUnverified << i;
        }
    }
    // Before any verified write there is nothing "later" to speak of.
    if (past.newestVerified < 0)
        past.laterUnverified.clear();
    for (int k = 0; k < reading.unreadable.size(); ++k) {
        if (mayConcern(reading.unreadable.at(k), mac))
            past.unreadable << k;
    }
    for (int k = 0; k < reading.tests.size(); ++k) {
        if (reading.tests.at(k).mac == mac)
            past.lastTest = k;
    }
    return past;
}

QVector<int> ConverterPast::unreadableAfter(const JournalReading &reading, int record) const
{
    QVector<int> after;
    for (const int k : unreadable) {
        if (reading.unreadable.at(k).after > record)
            after << k;
    }
    return after;
}

QString describeWrite(const JournalRecord &r)
{
    return Phrase::translate("journal", "%1, batch %2 (%3): %4")
        .arg(r.time, r.batch, r.program,
             r.result.isEmpty() ? Phrase::translate("journal", "no outcome") : r.result);
}

QString whereUnreadable(const UnreadableLine &line)
{
    const QString where = line.message.section(QStringLiteral(": "), 0, 0);
    return line.mac.isEmpty()
               ? Phrase::translate("journal", "%1, which names no converter").arg(where)
               : where;
}
