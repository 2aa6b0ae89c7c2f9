#pragma once

#include <QByteArray>
#include <QJsonObject>
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
    QString replaces;  // a replacement: the MAC of the unit whose settings it took
    QString trial;     // a batch on trial: confirmed or rolled-back; empty otherwise
};

// A test of a converter's data path.
struct TestRecord
{
    QString time;
    QString batch;
    QString program;
    QString mac;
    QString result; // connected, loopback-ok, loopback-failed, refused, unreachable, untested
    QJsonObject figures;
};

// A line that could not be read: torn by a crash, damaged, or written by a
// newer program in a form this one does not know.
struct UnreadableLine
{
    QString message; // "FILE:LINE: ..."
    QString mac;     // 12 digits where the line still names one
    QString batch;
    bool outcome = false; // known to be an outcome line, not a write's intent
    int after = 0;        // the number of records read before it
};

struct JournalReading
{
    QVector<JournalRecord> records; // oldest first, the rotated file's before the current one's
    QVector<UnreadableLine> unreadable;
    QVector<TestRecord> tests; // oldest first
    // Verdicts on batches written with --try: waiting, confirmed, rolled-back,
    // rollback-failed; the result in a TestRecord's shape (no MAC, no figures).
    QVector<TestRecord> trials;
    QString error; // a journal that exists but cannot be read
};

// Every write in a journal and every line that could not be read.
JournalReading readJournal(const QString &path);
