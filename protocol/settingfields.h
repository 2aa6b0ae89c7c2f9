#pragma once

#include "devicerecord.h"

#include <QString>
#include <QVector>

// The one vocabulary of converter settings that people and scripts read:
// converter-cli's table and CSV headers, JSON keys and the FIELD of "set
// FIELD=VALUE", and the fields of the write journal, are these names.
namespace SettingFields {

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

// A converter as it reported itself: the reply's 64 plaintext bytes, where
// the reply came from and the adapter it arrived on. Everything the tool
// prints, compares and writes is read from these bytes, so settings outside
// the vocabulary (5 data bits, mark parity, other bits in the type, mode and
// serial bytes) are shown as they are and written back untouched.
struct Report
{
    QByteArray frame;
    QString replyFrom;
    QString interfaceName;
};

// A converter's value of a field as the tool prints it.
QString text(const Report &report, Field field);
// The same for the fields that the frame itself carries (all but
// reply-from and interface).
QString text(const QByteArray &frame, Field field);

// A MAC's 12 digits as the tool prints them: 00:1A:2B:3C:4D:5E, which
// spreadsheets keep as text.
QString macText(const QString &digits);

// One new value for a writable field, parsed and normalised.
struct Change
{
    Field field = Field::Name;
    QString text;         // canonical text: "10.0.0.1", "9600", "tcp-client"
    int index = 0;        // combo-box index, for mode, ip-type, parity, bits
    QByteArray nameBytes; // for name
    QString refusal;      // why a value that is not Ok may be written only where it is no change
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

// Puts a change into a frame: only the bytes of the field, and in the type,
// mode and serial bytes only the bits the field owns; the rest stays as the
// converter reported it. A local port of 0 means random.
void put(QByteArray &frame, const Change &change);

// Puts a field's value from one frame into another, bit for bit, whatever
// its value: only the bytes of the field, and in the shared bytes only the
// bits it owns.
void copyField(QByteArray &to, const QByteArray &from, Field field);

// Whether the converter that reported this frame holds the value already (a
// name as it was printed counts, whatever its bytes).
bool isNoChange(const QByteArray &reported, const Change &change);

// The changes that make a frame hold every writable setting of a record
// (the name excepted): what a reset to a record's values asks.
QVector<Change> settingsOf(const DeviceRecord &record);

// MAC text in any of the usual forms (12 hex digits, with or without ':' or
// '-' between the pairs, either case) to the window's form: 12 upper-case
// digits. Empty when the text is not a MAC.
QString normaliseMac(const QString &text);

// The writable fields whose values differ between two frames, in print
// order; names are compared by their bytes.
QVector<Field> differences(const QByteArray &first, const QByteArray &second);

} // namespace SettingFields
