#pragma once

#include "devicerecord.h"

#include <QByteArray>
#include <QString>

// The 64-byte plaintext frame: one layout for replies and configure requests.
namespace DeviceFrame {

// Decodes a plaintext reply. Bytes missing from a short array read as 0.
DeviceRecord decodeReply(const QByteArray &frame, const QString &deviceIp);

// Writes bytes 0 to 51 of a configure request (fields, tag, zero bytes,
// checksum); bytes 52 to 63 are left to the caller. A shorter array is first
// grown to 64 bytes.
void encodeRequest(const DeviceRecord &record, QByteArray &frame);

// The converter's side: writes bytes 0 to 51 of a reply, with the version
// byte at 6 and zeros at 7 to 9 where a request carries its tag.
void encodeReply(const DeviceRecord &record, quint8 versionByte, QByteArray &frame);

// "major.minor" back to the version byte (high nibble major, low nibble minor).
quint8 versionByte(const QString &version);

// Field conversions, shared with the code that checks what may be sent.
void putAddress(const QString &text, quint8 *field);
QString getAddress(const quint8 *field);
void putNumber(const QString &text, quint8 *field, int width);
quint32 getNumber(const quint8 *field, int width);
quint8 serialSettings(int dataBit, int stopBit, int parity);
QByteArray nameField(const DeviceRecord &record);

// A MAC's 12 digits as people read them: 00:1A:2B:3C:4D:5E.
QString macText(const QString &digits);

// A name's bytes as text: UTF-8 when they are valid UTF-8, else GB18030.
QString nameText(const QByteArray &bytes);
// The bytes of a name as a converter that showed this text held them: UTF-8
// when that fits in the name's 10 bytes, else GB18030 when that fits and
// reads back as the same text; empty when neither does.
QByteArray nameBytesFor(const QString &text);

} // namespace DeviceFrame
