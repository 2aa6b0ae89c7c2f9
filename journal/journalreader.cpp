#include "journalreader.h"

#include "journal.h"

#include "framelayout.h"
#include "protocolconstants.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

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

void readFile(const QString &path, QVector<JournalRecord> *records,
              QHash<QString, int> *byBatchAndMac, QStringList *warnings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    int number = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        ++number;
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const QString kind = o.value(QLatin1String("kind")).toString();
        JournalRecord r;
        r.time = o.value(QLatin1String("time")).toString();
        r.batch = o.value(QLatin1String("batch")).toString();
        r.program = o.value(QLatin1String("program")).toString();
        r.adapter = o.value(QLatin1String("adapter")).toString();
        r.mac = o.value(QLatin1String("mac")).toString();
        const QString key = r.batch + QLatin1Char('/') + r.mac;
        bool ok = !r.batch.isEmpty() && r.mac.size() == 12;
        if (ok && kind == QLatin1String("intent")) {
            ok = settingsFrame(o.value(QLatin1String("before")), &r.before) &&
                 settingsFrame(o.value(QLatin1String("sent")), &r.sent);
            if (ok) {
                byBatchAndMac->insert(key, records->size());
                records->append(r);
            }
        } else if (ok && kind == QLatin1String("outcome")) {
            const int index = byBatchAndMac->value(key, -1);
            if (index >= 0)
                (*records)[index].result = o.value(QLatin1String("result")).toString();
        } else {
            ok = false;
        }
        if (!ok)
            warnings->append(QStringLiteral("%1:%2: not a journal line (torn by a crash?); skipped")
                                 .arg(path)
                                 .arg(number));
    }
}

} // namespace

QVector<JournalRecord> readJournal(const QString &path, QStringList *warnings)
{
    QVector<JournalRecord> records;
    QHash<QString, int> index;
    readFile(Journal::rotatedPath(path), &records, &index, warnings);
    readFile(path, &records, &index, warnings);
    return records;
}
