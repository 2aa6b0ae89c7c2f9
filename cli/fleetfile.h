#pragma once

#include "settingfields.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// A fleet file for "apply": CSV with a header row naming fields, one row per
// converter keyed by its MAC. The CSV that "search" prints is such a file.
namespace FleetFile {

struct Cell
{
    SettingFields::Field field;
    QString text;
};

struct Entry
{
    int line = 0;
    QString mac;         // normalised
    QVector<Cell> cells; // writable fields with a non-empty cell
    QVector<SettingFields::Field> columns; // the writable fields the file has a column for
};

// Reads and checks everything that does not depend on what the converters
// report; UTF-8, or UTF-16 with a byte-order mark. place names the file in
// messages ("fleet.csv:7: ...").
bool read(QByteArray data, const QString &place, QVector<Entry> *entries, QString *error);

// The changes that an entry asks of the converter that reported this frame:
// a cell equal to the reported value is no change and never refused.
bool changesFor(const Entry &entry, const QByteArray &reported, const QString &place,
                QVector<SettingFields::Change> *changes, QString *error);

} // namespace FleetFile
