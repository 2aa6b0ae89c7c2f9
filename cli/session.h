#pragma once

#include "options.h"
#include "settingfields.h"

#include "batchwriter.h"
#include "datatest.h"
#include "devicelink.h"
#include "journal.h"
#include "segmentcheck.h"

#include <QMap>
#include <QSet>
#include <QVector>

// A write to one converter: what it reported, and the same bytes with the
// changes put in. Nothing is sent when they hold the same settings.
struct Plan
{
    FoundDevice device;
    QByteArray settings;
    bool unchanged = false;
    QString replaces; // replace: the failed unit whose settings these are
};

// Only what a change would really alter: a value equal to what the
// converter reports is no change (a name is compared by its bytes).
Plan planChanges(const FoundDevice &device, const QVector<SettingFields::Change> &changes);

// What every command shares: the options, the device link, and the
// converters that the last search found.
class Session
{
public:
    explicit Session(const Invocation &invocation);

    // Chooses the adapters and opens the port; the exit status, with the
    // message printed.
    int open();

    // One search for the whole timeout: every converter that answers, in
    // everyone. EXIT_NO_ADAPTER, with the message printed, when the probe
    // could not leave through any adapter.
    int searchAll();

    // The converters named, found by one search that hears every converter
    // (the checks of a write count them all); EXIT_NOT_ANSWERED when one of
    // those named did not answer.
    int find(const QStringList &macs, QMap<QString, FoundDevice> *found);

    // What --force may override: each line printed (marked as overridden
    // with --force); without it, the refusal, and EXIT_BAD_INPUT.
    int refuseUnlessForced(const QStringList &lines, const QString &refusal) const;

    // The problems of the converters that the last search found, as they are.
    QVector<SegmentCheck::Problem> problems() const;

    // Checks the plans against the segment, journals them, then writes,
    // verifies and reports them (or shows them, for a dry run).
    int write(const QVector<Plan> &plans);

    // The problems that the plans would give the converters they write,
    // counting every converter in everyone.
    QVector<SegmentCheck::Problem> newProblems(const QVector<Plan> &plans) const;
    // Journals the plans (each with changes), writes and verifies them, and
    // journals the outcomes; results in the order of plans. EXIT_JOURNAL,
    // with the message printed, when the intents cannot be written (nothing
    // is sent, results stay empty); EXIT_NOT_RECORDED when the outcomes
    // cannot.
    int send(const QVector<Plan> &plans, QVector<BatchWriter::Result> *results);

    // Tests the converters' data paths (--loopback, --bytes, --timeout) and
    // journals each result; EXIT_NOT_RECORDED, with the message printed,
    // when they cannot be journaled.
    int testData(const QVector<FoundDevice> &devices, QVector<DataTestResult> *results);
    DataTestOptions testOptions() const;
    int journalTests(const QVector<DataTestResult> &results);

    const Invocation &inv;
    DeviceLink link;
    Journal journal;
    QVector<FoundDevice> everyone; // the last search's converters
    QStringList written;           // the MACs whose frames went out, in this batch

private:
    QSet<QString> sendFailures; // each told once
    int retriesSent = 0;
    // The problems the plans would give the converters they write; printed,
    // and EXIT_BAD_INPUT unless --force.
    int checkSegment(const QVector<Plan> &plans);
};
