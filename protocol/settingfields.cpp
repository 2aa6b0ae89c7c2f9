#include "settingfields.h"

#include "phrase.h"

#include "configureframe.h"
#include "deviceframe.h"
#include "framelayout.h"
#include "protocolconstants.h"

#include <QRegularExpression>
#include <QStringList>

namespace SettingFields {

namespace {

struct FieldName
{
    Field field;
    const char *name;
};

constexpr FieldName NAMES[] = {
    {Field::Mac, "mac"},
    {Field::Name, "name"},
    {Field::Version, "version"},
    {Field::ReplyFrom, "reply-from"},
    {Field::Interface, "interface"},
    {Field::Mode, "mode"},
    {Field::IpType, "ip-type"},
    {Field::Ip, "ip"},
    {Field::Subnet, "subnet"},
    {Field::Gateway, "gateway"},
    {Field::LocalPort, "local-port"},
    {Field::RemoteIp, "remote-ip"},
    {Field::RemotePort, "remote-port"},
    {Field::Baud, "baud"},
    {Field::Parity, "parity"},
    {Field::DataBits, "data-bits"},
    {Field::StopBits, "stop-bits"},
};

using namespace FrameLayout;

// Choices by combo-box index; an operator may write the first `writable` of
// each, and a converter may report them all.
struct Choices
{
    QStringList names;
    int writable;
    unsigned char mask;          // the bits of its byte the field owns
    QVector<unsigned char> bits; // each choice's bits
    int offset;
};

const Choices MODE_CHOICES = {
    {"udp", "tcp-client", "udp-server", "tcp-server"}, 4, MODE_BITS, {0, 1, 2, 3}, MODE_OFFSET};
const Choices IP_TYPE_CHOICES = {{"static", "dhcp"}, 2, IPTYPE_BITS, {0, 1}, IPTYPE_OFFSET};
// Parity as a serial controller's line-control bits: enable, even, stick.
const Choices PARITY_CHOICES = {{"none", "odd", "even", "mark", "space"},
                                3,
                                PARITY_BITS,
                                {0x00, 0x08, 0x18, 0x28, 0x38},
                                SERIAL_OFFSET};
// The window offers 7 and 8 bits (index 0 and 1); converters also know 5 and 6.
const Choices DATA_BIT_CHOICES = {
    {"7", "8", "5", "6"}, 2, FrameLayout::DATA_BITS, {2, 3, 0, 1}, SERIAL_OFFSET};
const Choices STOP_BIT_CHOICES = {{"1", "2"}, 2, FrameLayout::STOP_BITS, {0, 4}, SERIAL_OFFSET};

struct Range
{
    quint32 low;  // the lowest value an operator may write
    quint32 high; // the highest value an operator may write
    quint32 wire; // the highest value the frame can carry
};

const Choices *choices(Field field)
{
    switch (field) {
    case Field::Mode:
        return &MODE_CHOICES;
    case Field::IpType:
        return &IP_TYPE_CHOICES;
    case Field::Parity:
        return &PARITY_CHOICES;
    case Field::DataBits:
        return &DATA_BIT_CHOICES;
    case Field::StopBits:
        return &STOP_BIT_CHOICES;
    default:
        return nullptr;
    }
}

bool numberRange(Field field, Range *range)
{
    switch (field) {
    case Field::LocalPort: // 0 asks for a random port
        *range = {0, 65535, 65535};
        return true;
    case Field::RemotePort:
        *range = {1, 65535, 65535};
        return true;
    case Field::Baud:
        *range = {100, 2000000, 0xFFFFFF};
        return true;
    default:
        return false;
    }
}

bool isAddressField(Field field)
{
    return field == Field::Ip || field == Field::Subnet || field == Field::Gateway ||
           field == Field::RemoteIp;
}

bool decimal(const QString &text, quint32 max, quint32 *value)
{
    return ConfigureFrame::plainDecimal(text, max, value);
}

// The choice whose bits the frame's byte holds; parity bits without the
// enable bit mean no parity.
QString choiceText(const Choices &c, const QByteArray &frame)
{
    const unsigned char bits = quint8(frame.at(c.offset)) & c.mask;
    const int index = c.bits.indexOf(bits);
    return index >= 0 ? c.names.at(index) : c.names.first();
}

const quint8 *bytesAt(const QByteArray &frame, int offset)
{
    return reinterpret_cast<const quint8 *>(frame.constData()) + offset;
}

quint8 *bytesAt(QByteArray &frame, int offset)
{
    return reinterpret_cast<quint8 *>(frame.data()) + offset;
}

QByteArray nameBytes(const QByteArray &frame)
{
    QByteArray name = frame.mid(NAME_OFFSET, NAME_BYTES);
    const int end = name.indexOf('\0');
    if (end >= 0)
        name.truncate(end);
    return name;
}

int addressOffset(Field field)
{
    switch (field) {
    case Field::Ip:
        return LIP_OFFSET;
    case Field::Subnet:
        return SUBNET_OFFSET;
    case Field::Gateway:
        return GATEWAY_OFFSET;
    default:
        return SIP_OFFSET;
    }
}

// Offset and width of a number field.
void numberPlace(Field field, int *offset, int *width)
{
    *offset = field == Field::LocalPort    ? LPORT_OFFSET
              : field == Field::RemotePort ? SPORT_OFFSET
                                           : BAUD_OFFSET;
    *width = field == Field::Baud ? BAUD_BYTES : 2;
}

} // namespace

const QVector<Field> &all()
{
    static const QVector<Field> fields = [] {
        QVector<Field> list;
        for (const FieldName &n : NAMES)
            list << n.field;
        return list;
    }();
    return fields;
}

QString name(Field field)
{
    for (const FieldName &n : NAMES) {
        if (n.field == field)
            return QString::fromLatin1(n.name);
    }
    return QString();
}

bool fromName(const QString &text, Field *field)
{
    for (const FieldName &n : NAMES) {
        if (text == QLatin1String(n.name)) {
            *field = n.field;
            return true;
        }
    }
    return false;
}

bool isWritable(Field field)
{
    return field != Field::Mac && field != Field::Version && field != Field::ReplyFrom &&
           field != Field::Interface;
}

bool isNumeric(Field field)
{
    return field == Field::LocalPort || field == Field::RemotePort || field == Field::Baud ||
           field == Field::DataBits || field == Field::StopBits;
}

QString macText(const QString &digits)
{
    return DeviceFrame::macText(digits);
}

QString text(const QByteArray &f, Field field)
{
    if (f.size() < RESERVED_OFFSET)
        return QString();
    if (const Choices *c = choices(field))
        return choiceText(*c, f);
    if (isAddressField(field))
        return DeviceFrame::getAddress(bytesAt(f, addressOffset(field)));
    int offset = 0, width = 0;
    switch (field) {
    case Field::Mac:
        return macText(QString::fromLatin1(f.left(MAC_BYTES).toHex().toUpper()));
    case Field::Name:
        return DeviceFrame::nameText(nameBytes(f));
    case Field::Version:
        return QStringLiteral("%1.%2")
            .arg(quint8(f.at(VERSION_OFFSET)) >> 4)
            .arg(quint8(f.at(VERSION_OFFSET)) & 0x0F);
    case Field::LocalPort:
    case Field::RemotePort:
    case Field::Baud:
        numberPlace(field, &offset, &width);
        return QString::number(DeviceFrame::getNumber(bytesAt(f, offset), width));
    default:
        return QString();
    }
}

QString text(const Report &report, Field field)
{
    if (field == Field::ReplyFrom)
        return report.replyFrom;
    if (field == Field::Interface)
        return report.interfaceName;
    return text(report.frame, field);
}

Verdict parse(Field field, const QString &value, Change *change, QString *message)
{
    change->field = field;
    const QString quoted = QStringLiteral("%1 '%2'").arg(name(field), value);
    if (field == Field::Name) {
        const QByteArray bytes = value.toUtf8();
        change->text = value;
        change->nameBytes = bytes;
        if (bytes.contains('\0')) {
            *message = Phrase::translate("fields", "%1 holds a zero character").arg(quoted);
            return Verdict::Malformed;
        }
        // A name that another tool wrote in another encoding can be longer
        // in UTF-8; as a cell equal to what search printed it is no change.
        if (bytes.size() > NAME_BYTES) {
            *message = Phrase::translate("fields", "%1 is longer than %2 bytes in UTF-8")
                           .arg(quoted)
                           .arg(NAME_BYTES);
            return Verdict::OutOfRange;
        }
        return Verdict::Ok;
    }
    if (const Choices *c = choices(field)) {
        const int index = c->names.indexOf(value.toLower());
        const QString offered = c->names.mid(0, c->writable).join(QStringLiteral(", "));
        if (index < 0) {
            *message = Phrase::translate("fields", "%1 is not one of %2").arg(quoted, offered);
            return Verdict::Malformed;
        }
        change->index = index;
        change->text = c->names.at(index);
        if (index >= c->writable) {
            *message = Phrase::translate("fields", "%1 is not one of %2").arg(quoted, offered);
            return Verdict::OutOfRange;
        }
        return Verdict::Ok;
    }
    if (isAddressField(field)) {
        const QStringList parts = value.split(QLatin1Char('.'));
        QStringList canonical;
        quint32 octet = 0;
        for (const QString &part : parts) {
            if (parts.size() != 4 || !decimal(part, 255, &octet)) {
                *message = Phrase::translate(
                               "fields", "%1 is not an IPv4 address (four numbers from 0 to 255)")
                               .arg(quoted);
                return Verdict::Malformed;
            }
            canonical << QString::number(octet);
        }
        change->text = canonical.join(QLatin1Char('.'));
        return Verdict::Ok;
    }
    Range range;
    if (numberRange(field, &range)) {
        quint32 number = 0;
        const QString expected = Phrase::translate("fields", "%1 is not a number from %2 to %3")
                                     .arg(quoted)
                                     .arg(range.low)
                                     .arg(range.high);
        if (!decimal(value, range.wire, &number)) {
            *message = expected;
            return Verdict::Malformed;
        }
        change->text = QString::number(number);
        if (number < range.low || number > range.high) {
            *message = expected;
            return Verdict::OutOfRange;
        }
        return Verdict::Ok;
    }
    *message = Phrase::translate("fields", "%1 is read-only").arg(name(field));
    return Verdict::Malformed;
}

void put(QByteArray &frame, const Change &change)
{
    if (frame.size() < RESERVED_OFFSET)
        frame.append(QByteArray(RESERVED_OFFSET - frame.size(), '\0'));
    const Field field = change.field;
    if (field == Field::Name) {
        QByteArray name = change.nameBytes.left(NAME_BYTES);
        name.append(QByteArray(NAME_BYTES - name.size(), '\0'));
        frame.replace(NAME_OFFSET, NAME_BYTES, name);
    } else if (const Choices *c = choices(field)) {
        quint8 &byte = *bytesAt(frame, c->offset);
        byte = quint8((byte & ~c->mask) | c->bits.at(change.index));
    } else if (isAddressField(field)) {
        DeviceFrame::putAddress(change.text, bytesAt(frame, addressOffset(field)));
    } else {
        int offset = 0, width = 0;
        numberPlace(field, &offset, &width);
        DeviceFrame::putNumber(change.text, bytesAt(frame, offset), width);
    }
}

void copyField(QByteArray &to, const QByteArray &from, Field field)
{
    if (to.size() < RESERVED_OFFSET)
        to.append(QByteArray(RESERVED_OFFSET - to.size(), '\0'));
    if (from.size() < RESERVED_OFFSET || !isWritable(field))
        return;
    int offset = 0, width = 0;
    if (field == Field::Name) {
        offset = NAME_OFFSET;
        width = NAME_BYTES;
    } else if (const Choices *c = choices(field)) {
        quint8 &byte = *bytesAt(to, c->offset);
        byte = quint8((byte & ~c->mask) | (quint8(from.at(c->offset)) & c->mask));
        return;
    } else if (isAddressField(field)) {
        offset = addressOffset(field);
        width = 4;
    } else {
        numberPlace(field, &offset, &width);
    }
    to.replace(offset, width, from.mid(offset, width));
}

bool isNoChange(const QByteArray &reported, const Change &change)
{
    if (change.text == text(reported, change.field))
        return true;
    return change.field == Field::Name && change.nameBytes == nameBytes(reported);
}

QVector<Change> settingsOf(const DeviceRecord &record)
{
    QByteArray frame(FRAME_SIZE, '\0');
    DeviceFrame::encodeRequest(record, frame);
    QVector<Change> changes;
    for (const Field field : all()) {
        if (!isWritable(field) || field == Field::Name)
            continue;
        Change change;
        QString ignored;
        parse(field, text(frame, field), &change, &ignored);
        changes << change;
    }
    return changes;
}

QString normaliseMac(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^[0-9A-Fa-f]{12}$|^[0-9A-Fa-f]{2}([:-])[0-9A-Fa-f]{2}(\\1[0-9A-Fa-f]{2}){4}$"));
    if (!pattern.match(text).hasMatch())
        return QString();
    QString digits = text;
    digits.remove(QLatin1Char(':')).remove(QLatin1Char('-'));
    return digits.toUpper();
}

QVector<Field> differences(const QByteArray &first, const QByteArray &second)
{
    QVector<Field> fields;
    for (const Field field : all()) {
        if (!isWritable(field))
            continue;
        const bool differs = field == Field::Name ? nameBytes(first) != nameBytes(second)
                                                  : text(first, field) != text(second, field);
        if (differs)
            fields << field;
    }
    return fields;
}

} // namespace SettingFields
