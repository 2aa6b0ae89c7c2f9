#pragma once

#include "fields.h"
#include "options.h"

#include "devicelink.h"
#include "segmentcheck.h"

#include <QVector>

// Prints what the tool found and did, as a table, CSV or JSON.
namespace Output {

// Text for a terminal: control characters (C0, DEL, C1) as \x1B.
QString visible(const QString &text);

// Every field of every converter, and its problems on the segment as a
// last, read-only column ("problems"). CSV output is a fleet file for
// "apply".
QString devices(const QVector<FoundDevice> &found, const QVector<SegmentCheck::Problem> &problems,
                Invocation::Format format);

// One line of a report: a converter, and what happened or would happen.
struct Line
{
    QString mac;
    QString result; // verified, differs, no-answer, sent, unchanged, dry-run
    struct Difference
    {
        CliFields::Field field;
        QString first;  // before / sent
        QString second; // after / reported
    };
    QVector<Difference> differences;
    QString frame;     // the encrypted frame that would be sent, in hex, for a dry run
    QString plaintext; // the same frame before encryption
};

// A dry run shows "field before -> after"; a written report "field sent,
// reported".
QString report(const QVector<Line> &lines, Invocation::Format format);

} // namespace Output
