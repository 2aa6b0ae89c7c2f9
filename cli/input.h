#pragma once

#include "fleetfile.h"
#include "options.h"
#include "settingfields.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// What the command line and the fleet file say, checked before the port is
// opened, so that bad input sends nothing at all.
struct Input
{
    QString mac;
    QVector<SettingFields::Change> changes;
    QVector<FleetFile::Entry> entries;
    QString place; // the fleet file, as messages name it
    quint32 firstAddress = 0;
    QStringList macs; // history, revert: normalised
    QDateTime since;  // history: invalid when not given
};

// Reads and checks the command's arguments (and its fleet file); returns an
// exit status, with the message printed, or 0.
int readInput(const Invocation &invocation, Input *input);
