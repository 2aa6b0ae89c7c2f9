#pragma once

#include "simulatedconverter.h"

#include <QList>
#include <QString>

// The simulator's state on disk, as JSON: one object per converter.
namespace StateFile {

bool load(const QString &path, QList<SimulatedConverter> *converters, QString *error);

// Writes a temporary file and renames it over the old one, so that a reader
// never sees half a state.
bool save(const QString &path, const QList<SimulatedConverter> &converters, QString *error);

QByteArray toJson(const QList<SimulatedConverter> &converters);
bool fromJson(const QByteArray &json, QList<SimulatedConverter> *converters, QString *error);

} // namespace StateFile
