#pragma once

#include "devicelink.h"
#include "journalreader.h"
#include "segmentcheck.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// The as-built report: one self-contained HTML page (styles inline,
// pictures as inline SVG, nothing loaded from anywhere) that prints on A4.
namespace HtmlReport {

struct Data
{
    QString host;         // this computer's name
    QDateTime time;       // UTC
    QStringList adapters; // "eth0 10.0.0.5/24"
    QString journal;      // where the journal is
    QVector<FoundDevice> converters;
    QVector<SegmentCheck::Problem> problems;
    QVector<quint32> hostAddresses;
    JournalReading reading; // the journal
};

QString build(const Data &data);

} // namespace HtmlReport
