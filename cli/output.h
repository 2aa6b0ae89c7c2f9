#pragma once

#include "options.h"
#include "settingfields.h"

#include "datatest.h"
#include "devicelink.h"
#include "segmentcheck.h"

#include <QJsonObject>
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
        SettingFields::Field field;
        QString first;  // before / sent
        QString second; // after / reported
    };
    QVector<Difference> differences;
    QString frame;     // the encrypted frame that would be sent, in hex, for a dry run
    QString plaintext; // the same frame before encryption
    QString batch;     // the journal's batch of a real write
    QString replaces;  // replace: the MAC of the unit whose settings these are
    // JSON of a real write: every field it changed or that the converter
    // reports otherwise, with what it held before, what was sent and what
    // it reported after (empty without a report).
    struct Written
    {
        SettingFields::Field field;
        QString before, sent, reported;
    };
    QVector<Written> written;
};

// What a real write did to each field: before, sent, reported (reported only
// when the converter answered after the write).
QVector<Line::Written> written(const QByteArray &before, const QByteArray &sent,
                               const QByteArray &reported);

// A dry run shows "field before -> after"; a written report "field sent,
// reported".
QString report(const QVector<Line> &lines, Invocation::Format format);

// The writable fields that differ between two frames, with both values.
QVector<Line::Difference> differences(const QByteArray &first, const QByteArray &second);

// One journaled write.
struct HistoryRow
{
    QString time;
    QString batch;
    QString program;
    QString mac;
    QString result;                    // empty while the write has no outcome
    QVector<Line::Difference> changes; // before, after
    QString replaces;                  // a replacement: the MAC of the unit replaced
    // A row that is no write: "test" (result and figures of a data-path
    // test) or "trial" (a --try batch confirmed or rolled back).
    QString kind;
    QJsonObject figures;
};

QString history(const QVector<HistoryRow> &rows, Invocation::Format format);

// One event of watch, as one line: a table row, a CSV row (after the
// header, once), or a JSON object.
struct WatchEvent
{
    QString time;
    QString mac;
    QString event;
    QString ip;
    QString message;
    // watch --test: the columns test, bytes-per-second and line-share
    bool withTest = false;
    QString test; // the test's result, on tested and test-failed events
    qint64 bytesPerSecond = 0;
    double lineShare = 0;
};
QString watchHeader(Invocation::Format format, bool withTest);
QString watchEvent(const WatchEvent &event, Invocation::Format format);

// Data-path tests, one row per converter: the result, the port used, the
// loopback's figures and why it failed.
QString tests(const QVector<DataTestResult> &results, Invocation::Format format);
// "4096 of 4096 bytes, 11280 B/s, 0.98 of the line, first byte 12.3 ms".
QString testFigures(const DataTestResult &result);
// The same figures as a JSON object, for the journal and the reports.
QJsonObject testObject(const DataTestResult &result);

} // namespace Output
