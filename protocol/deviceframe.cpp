#include "deviceframe.h"

#include "qtcompat.h"

#include "framechecksum.h"
#include "framelayout.h"
#include "protocolconstants.h"

#include <QStringList>

namespace {

using namespace FrameLayout;

// Base-10 value of a text; anything that is not a number counts as 0.
int decimal(const QString &text)
{
    return text.toInt(nullptr, 10);
}

// The longest prefix of at most max bytes that does not split a UTF-8 sequence.
QByteArray utf8Prefix(const QString &text, int max)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= max)
        return utf8;
    int cut = max;
    // Step back over continuation bytes to the start of the cut character.
    while (cut > 0 && (quint8(utf8.at(cut)) & 0xC0) == 0x80)
        --cut;
    return utf8.left(cut);
}

} // namespace

namespace DeviceFrame {

void putAddress(const QString &text, quint8 *field)
{
    // Missing parts count as 0 and extra parts are ignored, so an unfinished
    // address can never make the encoder read past the parts that exist.
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i) {
        const int part = 3 - i;
        field[i] = part < parts.size() ? quint8(decimal(parts.at(part)) & 0xFF) : 0;
    }
}

QString getAddress(const quint8 *field)
{
    return QStringLiteral("%1.%2.%3.%4").arg(field[3]).arg(field[2]).arg(field[1]).arg(field[0]);
}

void putNumber(const QString &text, quint8 *field, int width)
{
    const quint32 value = quint32(decimal(text));
    for (int i = 0; i < width; ++i)
        field[i] = quint8((value >> (8 * i)) & 0xFF);
}

quint32 getNumber(const quint8 *field, int width)
{
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | field[i];
    return value;
}

quint8 serialSettings(int dataBit, int stopBit, int parity)
{
    quint8 value = dataBit == 0 ? 0x02 : 0x03;
    if (stopBit == 1)
        value |= 0x04;
    if (parity == 1)
        value |= 0x08;
    else if (parity == 2)
        value |= 0x18;
    return value;
}

QString nameText(const QByteArray &bytes)
{
    bool ok = false;
    const QString utf8 = QtCompat::decode("UTF-8", bytes, &ok);
    if (ok)
        return utf8;
    // Tools that write names in the computer's 8-bit encoding leave GB18030
    // on converters set up from Chinese Windows.
    const QString gb18030 = QtCompat::decode("GB18030", bytes, &ok);
    return gb18030.isEmpty() && !bytes.isEmpty() ? utf8 : gb18030;
}

QByteArray nameBytesFor(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= NAME_BYTES)
        return utf8;
    const QByteArray other = QtCompat::encode("GB18030", text);
    return other.size() <= NAME_BYTES && !other.contains('\0') && nameText(other) == text
               ? other
               : QByteArray();
}

QByteArray nameField(const DeviceRecord &record)
{
    QByteArray name = record.nameBytes.isEmpty() ? utf8Prefix(record.deviceName, NAME_BYTES)
                                                 : record.nameBytes.left(NAME_BYTES);
    // Bytes after a 0x00 would not survive a decode; the name ends there.
    const int end = name.indexOf('\0');
    if (end >= 0)
        name.truncate(end);
    return name;
}

DeviceRecord decodeReply(const QByteArray &frame, const QString &deviceIp)
{
    quint8 f[FRAME_SIZE] = {};
    const int available = qMin(frame.size(), FRAME_SIZE);
    for (int i = 0; i < available; ++i)
        f[i] = quint8(frame.at(i));

    DeviceRecord r;
    r.deviceIp = deviceIp;

    QString mac;
    mac.reserve(2 * MAC_BYTES);
    for (int i = 0; i < MAC_BYTES; ++i)
        mac += QStringLiteral("%1").arg(f[MAC_OFFSET + i], 2, 16, QLatin1Char('0')).toUpper();
    r.mac = mac;
    r.version = QStringLiteral("%1.%2").arg(f[VERSION_OFFSET] >> 4).arg(f[VERSION_OFFSET] & 0x0F);

    int nameLength = 0;
    while (nameLength < NAME_BYTES && f[NAME_OFFSET + nameLength] != 0)
        ++nameLength;
    r.nameBytes = QByteArray(reinterpret_cast<const char *>(f + NAME_OFFSET), nameLength);
    r.deviceName = nameText(r.nameBytes);

    r.ipType = f[IPTYPE_OFFSET] & 1;
    r.mode = f[MODE_OFFSET] & 3;

    r.subnet = getAddress(f + SUBNET_OFFSET);
    r.gaw = getAddress(f + GATEWAY_OFFSET);
    r.lip = getAddress(f + LIP_OFFSET);
    r.lport = QString::number(getNumber(f + LPORT_OFFSET, 2));
    r.random = decimal(r.lport) == 0;

    r.sip = getAddress(f + SIP_OFFSET);
    r.sport = QString::number(getNumber(f + SPORT_OFFSET, 2));
    r.baud = QString::number(getNumber(f + BAUD_OFFSET, 3));

    const quint8 serial = f[SERIAL_OFFSET];
    r.dataBit = (serial & 0x03) == 0x02 ? 0 : 1;
    r.stopBit = (serial >> 2) & 1;
    const quint8 parity = serial & 0x38;
    r.parity = parity == 0x08 ? 1 : parity == 0x18 ? 2 : 0;
    return r;
}

void encodeRequest(const DeviceRecord &record, QByteArray &frame)
{
    quint8 f[TAIL_OFFSET] = {};

    const QByteArray mac = QByteArray::fromHex(record.mac.toLatin1());
    for (int i = 0; i < MAC_BYTES; ++i)
        f[MAC_OFFSET + i] = i < mac.size() ? quint8(mac.at(i)) : 0;
    for (int i = 0; i < CONFIG_TAG_SIZE; ++i)
        f[CONFIG_TAG_OFFSET + i] = quint8(CONFIG_TAG[i]);

    const QByteArray name = nameField(record);
    for (int i = 0; i < NAME_BYTES; ++i)
        f[NAME_OFFSET + i] = i < name.size() ? quint8(name.at(i)) : 0;

    f[IPTYPE_OFFSET] = quint8(record.ipType & 0xFF);
    f[MODE_OFFSET] = quint8(record.mode & 0xFF);
    putAddress(record.subnet, f + SUBNET_OFFSET);
    putAddress(record.gaw, f + GATEWAY_OFFSET);
    putAddress(record.lip, f + LIP_OFFSET);
    // The random flag has no byte of its own: a local port of 0 means random.
    putNumber(record.lport, f + LPORT_OFFSET, 2);
    putAddress(record.sip, f + SIP_OFFSET);
    putNumber(record.sport, f + SPORT_OFFSET, 2);
    putNumber(record.baud, f + BAUD_OFFSET, 3);
    f[SERIAL_OFFSET] = serialSettings(record.dataBit, record.stopBit, record.parity);
    for (int i = RESERVED_OFFSET; i < CHECKSUM_OFFSET; ++i)
        f[i] = 0;
    FrameChecksum::store(f);

    if (frame.size() < FRAME_SIZE)
        frame.append(QByteArray(FRAME_SIZE - frame.size(), '\0'));
    frame.replace(0, TAIL_OFFSET, QByteArray(reinterpret_cast<const char *>(f), TAIL_OFFSET));
}

void encodeReply(const DeviceRecord &record, quint8 versionByte, QByteArray &frame)
{
    encodeRequest(record, frame);
    auto *f = reinterpret_cast<quint8 *>(frame.data());
    f[VERSION_OFFSET] = versionByte;
    for (int i = VERSION_OFFSET + 1; i < NAME_OFFSET; ++i)
        f[i] = 0;
    FrameChecksum::store(f);
}

quint8 versionByte(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    const int major = decimal(parts.value(0));
    const int minor = decimal(parts.value(1));
    return quint8(((major & 0x0F) << 4) | (minor & 0x0F));
}

QString macText(const QString &digits)
{
    QString text;
    for (int i = 0; i < digits.size(); i += 2) {
        if (i > 0)
            text += QLatin1Char(':');
        text += digits.mid(i, 2);
    }
    return text;
}

} // namespace DeviceFrame
