#pragma once

#include "journalreader.h"

#include <QString>
#include <QVector>

// What the journal tells of one converter, read one way for every command
// that looks back: revert undoes its newest write, replace takes its newest
// verified one, history and report show them.
struct ConverterPast
{
    // Indices into the reading's records, oldest first: its own writes, and
    // the replacements that took its settings (a replacement is a write of
    // the new unit).
    QVector<int> records;
    int newest = -1;         // its newest own write; -1 for none
    int newestVerified = -1; // its newest own write that verified
    // Its own writes after the newest verified one that may have changed it
    // all the same: no outcome, differs, no-answer, sent (a frame that left
    // through no adapter changed nothing).
    QVector<int> laterUnverified;
    // Indices into the reading's unreadable lines that may concern it (they
    // name it, or name no converter at all), each with the number of
    // records before it.
    QVector<int> unreadable;
    int lastTest = -1; // index into the reading's tests: its newest data-path test

    // The unreadable lines that may concern it after a record (-1: all).
    QVector<int> unreadableAfter(const JournalReading &reading, int record) const;
};

ConverterPast pastOf(const JournalReading &reading, const QString &mac);

// "2026-12-08T10:00:00.000Z, batch B, sent by PROGRAM: RESULT" for messages.
QString describeWrite(const JournalRecord &record);
// "FILE:LINE" of an unreadable line, and whether it names a converter.
QString whereUnreadable(const UnreadableLine &line);
