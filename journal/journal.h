#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QVector>

// The write journal: before a configure frame leaves, one line per converter
// with what it held and what it is sent, flushed to disk; after the write,
// one line with the outcome. JSON, one object per line, appended by every
// program that writes converters, so that any write can be looked up and
// undone. A journal past 64 MiB moves to NAME.1.jsonl (one is kept).
class Journal
{
public:
    // One converter of a batch.
    struct Write
    {
        QString mac;       // 12 digits
        QString adapter;   // the adapter it was found on
        QByteArray before; // the plaintext it reported
        QByteArray sent;   // the plaintext sent
        QString result;    // verified, differs, no-answer, sent; for outcome lines
        QString replaces;  // the MAC of the failed unit whose settings this one takes
    };

    Journal(const QString &path, const QString &program);

    // The platform's place: $XDG_STATE_HOME/converter-config/journal.jsonl
    // (~/.local/state/...) on Linux, %LOCALAPPDATA%\converter-config\ on
    // Windows.
    static QString defaultPath();
    // The journal a program uses: the path given, else CONVERTER_JOURNAL,
    // else the default.
    static QString choosePath(const QString &given);
    // The file a full journal is moved to.
    static QString rotatedPath(const QString &path);

    const QString &path() const { return file; }
    // A new batch: one per command run or per "Configure" click.
    void newBatch();
    const QString &batch() const { return batchId; }

    // The intent lines, on disk before anything is sent; false with a
    // message when they could not be written.
    bool intents(const QVector<Write> &writes, QString *error);
    // The outcome lines.
    bool outcomes(const QVector<Write> &writes, QString *error);

    // A test of a converter's data path: its result and figures; sends
    // nothing, changes nothing.
    struct Test
    {
        QString mac;
        QString result;
        QJsonObject figures; // where, message, sent, received, ...
    };
    bool tests(const QVector<Test> &tests, QString *error);

    // A batch on trial is kept (confirmed) or undone (rolled-back); the
    // batch is the current one, which confirm takes from the command line.
    bool trial(const QString &result, QString *error);
    void setBatch(const QString &batch) { batchId = batch; }

private:
    QJsonObject lineFor(const Write &write) const;
    QByteArray lineText(const char *kind, const QString &mac, const QString &time,
                        const QJsonObject &rest) const;
    bool append(const QByteArray &lines, QString *error);

    QString file;
    QString program;
    QString batchId;
};
