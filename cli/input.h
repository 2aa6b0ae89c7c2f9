#pragma once

#include "fields.h"
#include "fleetfile.h"
#include "options.h"

#include <QString>
#include <QVector>

// What the command line and the fleet file say, checked before the port is
// opened, so that bad input sends nothing at all.
struct Input
{
    QString mac;
    QVector<CliFields::Change> changes;
    QVector<FleetFile::Entry> entries;
    QString place; // the fleet file, as messages name it
    quint32 firstAddress = 0;
};

// Reads and checks the command's arguments (and its fleet file); returns an
// exit status, with the message printed, or 0.
int readInput(const Invocation &invocation, Input *input);
