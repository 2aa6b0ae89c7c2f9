#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One write as the journal tells it: the intent, joined with its outcome.
struct JournalRecord
{
    QString time;
    QString batch;
    QString program;
    QString adapter;
    QString mac;       // 12 digits
    QByteArray before; // a frame holding the settings reported before
    QByteArray sent;   // a frame holding the settings sent
    QString result;    // empty while the write has no outcome line
};

// Every write in a journal, oldest first, the rotated file's before the
// current one's. A line that is not a journal line (a crash tore it) is
// skipped with a warning naming the file and line.
QVector<JournalRecord> readJournal(const QString &path, QStringList *warnings);
