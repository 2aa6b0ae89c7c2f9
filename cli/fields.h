#pragma once

#include "devicerecord.h"

#include <QString>
#include <QVector>

// The command-line tool's one vocabulary of converter settings: table and CSV
// headers, JSON keys and the FIELD of "set FIELD=VALUE" are these names.
namespace CliFields {

enum class Field {
    Mac,
    Name,
    Version,
    ReplyFrom,
    Interface,
    Mode,
    IpType,
    Ip,
    Subnet,
    Gateway,
    LocalPort,
    RemoteIp,
    RemotePort,
    Baud,
    Parity,
    DataBits,
    StopBits,
};

// Every field in the order the tool prints them.
const QVector<Field> &all();
QString name(Field field);
bool fromName(const QString &text, Field *field);
// mac, version, reply-from and interface come from the converter only.
bool isWritable(Field field);
// Printed and written as a JSON number.
bool isNumeric(Field field);

// A converter's value of a field as the tool prints it. The interface is not
// part of the record, so it is given apart.
QString text(const DeviceRecord &record, const QString &interfaceName, Field field);

// One new value for a writable field, parsed and normalised.
struct Change
{
    Field field = Field::Name;
    QString text;         // canonical text: "10.0.0.1", "9600", "tcp-client"
    int index = 0;        // combo-box index, for mode, ip-type, parity, bits
    QByteArray nameBytes; // for name
};

enum class Verdict {
    Ok,
    // Text of the wrong kind, or a value no converter can hold: bad whatever
    // the converters report.
    Malformed,
    // A value that a converter may report but the window would not let an
    // operator type (remote port 0, baud 50): refused as a new value.
    OutOfRange,
};

// Parses value for a writable field; the message names the field and value.
Verdict parse(Field field, const QString &value, Change *change, QString *message);

// The record with the change applied; a local port of 0 means random.
void apply(DeviceRecord &record, const Change &change);

// MAC text in any of the usual forms (12 hex digits, with or without ':' or
// '-' between the pairs, either case) to the window's form: 12 upper-case
// digits. Empty when the text is not a MAC.
QString normaliseMac(const QString &text);

// The writable fields whose values differ between two records, in print order.
QVector<Field> differences(const DeviceRecord &sent, const DeviceRecord &reported);

} // namespace CliFields
