#include "journal.h"

#include "phrase.h"

#include "framelayout.h"
#include "settingfields.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr qint64 ROTATE_AT = qint64(64) << 20;
constexpr int LOCK_WAIT_MS = 10000;

QJsonObject settingsObject(const QByteArray &frame)
{
    QJsonObject fields;
    for (const SettingFields::Field field : SettingFields::all()) {
        if (SettingFields::isWritable(field))
            fields.insert(SettingFields::name(field), SettingFields::text(frame, field));
    }
    const QByteArray settings = frame.mid(FrameLayout::SETTINGS_FROM,
                                          FrameLayout::SETTINGS_TO - FrameLayout::SETTINGS_FROM);
    return {{"hex", QString::fromLatin1(settings.toHex().toUpper())}, {"fields", fields}};
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

} // namespace

Journal::Journal(const QString &path, const QString &program) : file(path), program(program)
{
    newBatch();
}

QString Journal::defaultPath()
{
#ifdef Q_OS_WIN
    QString base = qEnvironmentVariable("LOCALAPPDATA");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    base = QDir::fromNativeSeparators(base);
#else
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return base + QStringLiteral("/converter-config/journal.jsonl");
}

QString Journal::choosePath(const QString &given)
{
    if (!given.isEmpty())
        return given;
    const QString variable = qEnvironmentVariable("CONVERTER_JOURNAL");
    return variable.isEmpty() ? defaultPath() : variable;
}

QString Journal::rotatedPath(const QString &path)
{
    if (path.endsWith(QLatin1String(".jsonl")))
        return path.left(path.size() - 6) + QStringLiteral(".1.jsonl");
    return path + QStringLiteral(".1");
}

void Journal::newBatch()
{
    batchId = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz")) +
              QLatin1Char('-') +
              QString::number(QRandomGenerator::system()->generate() & 0xFFFFFF, 16)
                  .rightJustified(6, QLatin1Char('0'));
}

// What every line says besides its head: who wrote it, through which adapter.
QJsonObject Journal::lineFor(const Write &w) const
{
    QJsonObject line{{"program", program},
                     {"version", QStringLiteral(CONVERTER_VERSION)},
                     {"adapter", w.adapter}};
    if (!w.replaces.isEmpty())
        line.insert(QStringLiteral("replaces"), w.replaces);
    return line;
}

// kind, mac, batch and time first: a line torn by a crash still names its
// converter. QJsonDocument sorts keys, so the head is written by hand.
QByteArray Journal::lineText(const char *kind, const QString &mac, const QString &time,
                             const QJsonObject &rest) const
{
    const QJsonObject head{
        {"kind", QLatin1String(kind)}, {"mac", mac}, {"batch", batchId}, {"time", time}};
    QByteArray text = "{";
    for (const char *key : {"kind", "mac", "batch", "time"}) {
        const QByteArray pair = QJsonDocument(QJsonObject{{key, head.value(QLatin1String(key))}})
                                    .toJson(QJsonDocument::Compact);
        text += pair.mid(1, pair.size() - 2) + ',';
    }
    const QByteArray tail = QJsonDocument(rest).toJson(QJsonDocument::Compact);
    return text + tail.mid(1) + '\n';
}

bool Journal::intents(const QVector<Write> &writes, QString *error)
{
    QByteArray lines;
    const QString time = now();
    for (const Write &w : writes) {
        QJsonObject line = lineFor(w);
        line.insert(QStringLiteral("before"), settingsObject(w.before));
        line.insert(QStringLiteral("sent"), settingsObject(w.sent));
        lines += lineText("intent", w.mac, time, line);
    }
    return append(lines, error);
}

bool Journal::outcomes(const QVector<Write> &writes, QString *error)
{
    QByteArray lines;
    const QString time = now();
    for (const Write &w : writes) {
        QJsonObject line = lineFor(w);
        line.insert(QStringLiteral("result"), w.result);
        lines += lineText("outcome", w.mac, time, line);
    }
    return append(lines, error);
}

bool Journal::tests(const QVector<Test> &tests, QString *error)
{
    QByteArray lines;
    const QString time = now();
    for (const Test &t : tests) {
        QJsonObject line = lineFor(Write{t.mac, {}, {}, {}, {}, {}});
        line.remove(QStringLiteral("adapter"));
        line.insert(QStringLiteral("result"), t.result);
        line.insert(QStringLiteral("figures"), t.figures);
        lines += lineText("test", t.mac, time, line);
    }
    return append(lines, error);
}

bool Journal::trial(const QString &result, QString *error)
{
    QJsonObject line = lineFor(Write{});
    line.remove(QStringLiteral("adapter"));
    line.insert(QStringLiteral("result"), result);
    return append(lineText("trial", QString(), now(), line), error);
}

// Under the lock, so that a rotation never races an append and a line never
// follows a line torn by a crash on the same line.
bool Journal::append(const QByteArray &lines, QString *error)
{
    if (lines.isEmpty())
        return true;
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = Phrase::translate("journal", "journal %1: cannot create the folder %2")
                     .arg(file, folder);
        return false;
    }
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(LOCK_WAIT_MS)) {
        *error = Phrase::translate("journal", "journal %1: cannot take its lock %1.lock").arg(file);
        return false;
    }
    QFileInfo info(file);
    if (info.exists() && info.size() > ROTATE_AT) {
        QFile::remove(rotatedPath(file));
        QFile::rename(file, rotatedPath(file));
    }
    QFile out(file);
    if (!out.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = Phrase::translate("journal", "journal %1: cannot write: %2")
                     .arg(file, out.errorString());
        return false;
    }
    QByteArray data = lines;
    if (out.size() > 0) {
        out.seek(out.size() - 1);
        if (out.read(1) != "\n")
            data.prepend('\n'); // after a torn line, start a line of our own
    }
    if (out.write(data) != data.size() || !syncToDisk(out)) {
        *error = Phrase::translate("journal", "journal %1: cannot write: %2")
                     .arg(file, out.errorString());
        return false;
    }
    return true;
}
