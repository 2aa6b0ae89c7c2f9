#pragma once

#include "devicerecord.h"

#include <QByteArray>
#include <QVector>

// Building the encrypted configure frame that "Configure" broadcasts.
namespace ConfigureFrame {

// The text fields that a frame carries, in the order the form shows them.
enum class Field { None, Lip, Subnet, Gaw, Lport, Sip, Sport, Baud };

// The first field whose text the frame cannot carry faithfully: an address
// that is not four dot-separated decimal numbers from 0 to 255, a port that is
// not a decimal number from 0 to 65535, a baud rate that is not a decimal
// number from 0 to 16777215. Field::None when every field can be sent.
Field firstUnsendable(const DeviceRecord &record);

// Every field that firstUnsendable would name, in form order.
QVector<Field> unsendableFields(const DeviceRecord &record);

// Plain decimal digits only, no more than max: no sign, no blanks, nothing
// that the converter would read as another value.
bool plainDecimal(const QString &text, quint32 max, quint32 *value);

// Whether the frame can carry this text faithfully in the given field.
bool canCarry(Field field, const QString &text);

// The text that a record holds for a field.
QString fieldText(const DeviceRecord &record, Field field);

// A record can be sent when its MAC has exactly 12 characters.
bool hasTarget(const DeviceRecord &record);

// The plaintext frame: fields and checksum from the record, then twelve tail
// bytes from 0 to 254 drawn from Qt's generator seeded with seed, after one
// discarded draw.
QByteArray plaintext(const DeviceRecord &record, uint seed);

// A configure frame built on the bytes a converter reported: its MAC and
// settings (bytes 0 to 5 and 10 to 45) as they stand, the tag, four zero
// bytes, the checksum and the tail as plaintext() makes them.
QByteArray plaintextFrom(const QByteArray &reported, uint seed);

// The seed a frame's tail is drawn with: milliseconds since the start of the
// current minute, 0 to 59999.
uint clockSeed();

// The plaintext frame encrypted for the wire.
QByteArray build(const DeviceRecord &record, uint seed);

} // namespace ConfigureFrame
