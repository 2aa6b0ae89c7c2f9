#include "journalreader.h"

#include "phrase.h"

#include "journal.h"

#include "framelayout.h"
#include "protocolconstants.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QVersionNumber>

namespace {

// The settings' hex back into a frame at their place.
bool settingsFrame(const QJsonValue &value, QByteArray *frame)
{
    constexpr int length = FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM;
    const QByteArray bytes =
        QByteArray::fromHex(value.toObject().value(QLatin1String("hex")).toString().toLatin1());
    if (bytes.size() != length)
        return false;
    *frame = QByteArray(FRAME_SIZE, '\0');
    frame->replace(FrameLayout::SETTINGS_FROM, length, bytes);
    return true;
}

// What a line that is not JSON still tells of itself.
QString member(const QByteArray &line, const char *name)
{
    const QRegularExpression pattern(
        QStringLiteral("\"%1\"\\s*:\\s*\"([^\"]*)\"").arg(QLatin1String(name)));
    return pattern.match(QString::fromUtf8(line)).captured(1);
}

// Why a line that parses as JSON cannot be read.
QString whyUnreadable(const QJsonObject &o, const QString &kind)
{
    const QString version = o.value(QLatin1String("version")).toString();
    const bool known = kind == QLatin1String("intent") || kind == QLatin1String("outcome") ||
                       kind == QLatin1String("test") || kind == QLatin1String("trial");
    const bool newer =
        !version.isEmpty() && QVersionNumber::fromString(version) >
                                  QVersionNumber::fromString(QStringLiteral(CONVERTER_VERSION));
    if (!known || newer)
        return Phrase::translate("journal",
                                 "a journal line of kind '%1' from version %2, which this version "
                                 "(%3) cannot read; skipped")
            .arg(kind, version.isEmpty() ? QStringLiteral("(none)") : version,
                 QStringLiteral(CONVERTER_VERSION));
    return Phrase::translate("journal", "a damaged %1 line; skipped").arg(kind);
}

bool readFile(const QString &path, JournalReading *reading, QHash<QString, int> *byBatchAndMac)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        reading->error = Phrase::translate("journal", "journal %1: cannot read: %2")
                             .arg(path, file.errorString());
        return false;
    }
    int number = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        ++number;
        if (line.trimmed().isEmpty())
            continue;
        QJsonParseError parsed;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parsed);
        const QJsonObject o = document.object();
        const QString kind = o.value(QLatin1String("kind")).toString();
        JournalRecord r;
        r.time = o.value(QLatin1String("time")).toString();
        r.batch = o.value(QLatin1String("batch")).toString();
        r.program = o.value(QLatin1String("program")).toString();
        r.adapter = o.value(QLatin1String("adapter")).toString();
        r.mac = o.value(QLatin1String("mac")).toString();
        r.replaces = o.value(QLatin1String("replaces")).toString();
        const QString key = r.batch + QLatin1Char('/') + r.mac;
        const QString result = o.value(QLatin1String("result")).toString();
        // A trial names its batch only: every write of the batch has its verdict.
        if (kind == QLatin1String("trial") && !r.batch.isEmpty() && !result.isEmpty()) {
            for (JournalRecord &record : reading->records) {
                if (record.batch == r.batch)
                    record.trial = result;
            }
            reading->trials.append({r.time, r.batch, r.program, QString(), result, {}});
            continue;
        }
        if (kind == QLatin1String("test") && r.mac.size() == 12 && !result.isEmpty()) {
            reading->tests.append({r.time, r.batch, r.program, r.mac, result,
                                   o.value(QLatin1String("figures")).toObject()});
            continue;
        }
        bool ok = document.isObject() && !r.batch.isEmpty() && r.mac.size() == 12;
        if (ok && kind == QLatin1String("intent")) {
            ok = settingsFrame(o.value(QLatin1String("before")), &r.before) &&
                 settingsFrame(o.value(QLatin1String("sent")), &r.sent);
            if (ok) {
                byBatchAndMac->insert(key, reading->records.size());
                reading->records.append(r);
            }
        } else if (ok && kind == QLatin1String("outcome")) {
            const int index = byBatchAndMac->value(key, -1);
            if (index >= 0)
                reading->records[index].result = result;
        } else {
            ok = false;
        }
        if (ok)
            continue;
        UnreadableLine u;
        const bool json = parsed.error == QJsonParseError::NoError && document.isObject();
        u.message =
            QStringLiteral("%1:%2: %3")
                .arg(path)
                .arg(number)
                .arg(json ? whyUnreadable(o, kind)
                          : Phrase::translate("journal", "not a journal line (torn by a crash?); "
                                                         "skipped"));
        u.mac = json ? r.mac : member(line, "mac");
        u.batch = json ? r.batch : member(line, "batch");
        u.outcome = (json ? kind : member(line, "kind")) == QLatin1String("outcome");
        u.after = reading->records.size();
        reading->unreadable.append(u);
    }
    if (file.error() != QFileDevice::NoError) {
        reading->error = Phrase::translate("journal", "journal %1: cannot read: %2")
                             .arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

JournalReading readJournal(const QString &path)
{
    JournalReading reading;
    QHash<QString, int> index;
    if (readFile(Journal::rotatedPath(path), &reading, &index))
        readFile(path, &reading, &index);
    return reading;
}
