#include "fields.h"

#include "configureframe.h"

#include <QRegularExpression>
#include <QStringList>

namespace CliFields {

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

// Choices by combo-box index.
const QStringList MODES = {"udp", "tcp-client", "udp-server", "tcp-server"};
const QStringList IP_TYPES = {"static", "dhcp"};
const QStringList PARITIES = {"none", "odd", "even"};
const QStringList DATA_BITS = {"7", "8"};
const QStringList STOP_BITS = {"1", "2"};

constexpr int NAME_BYTES = 10;

struct Range
{
    quint32 low;  // the lowest value an operator may write
    quint32 high; // the highest value an operator may write
    quint32 wire; // the highest value the frame can carry
};

const QStringList *choices(Field field)
{
    switch (field) {
    case Field::Mode:
        return &MODES;
    case Field::IpType:
        return &IP_TYPES;
    case Field::Parity:
        return &PARITIES;
    case Field::DataBits:
        return &DATA_BITS;
    case Field::StopBits:
        return &STOP_BITS;
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

QString choiceText(const QStringList &list, int index)
{
    return index >= 0 && index < list.size() ? list.at(index) : QString::number(index);
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

QString text(const DeviceRecord &r, const QString &interfaceName, Field field)
{
    switch (field) {
    case Field::Mac:
        return r.mac;
    case Field::Name:
        return r.deviceName;
    case Field::Version:
        return r.version;
    case Field::ReplyFrom:
        return r.deviceIp;
    case Field::Interface:
        return interfaceName;
    case Field::Mode:
        return choiceText(MODES, r.mode);
    case Field::IpType:
        return choiceText(IP_TYPES, r.ipType);
    case Field::Ip:
        return r.lip;
    case Field::Subnet:
        return r.subnet;
    case Field::Gateway:
        return r.gaw;
    case Field::LocalPort:
        return r.lport;
    case Field::RemoteIp:
        return r.sip;
    case Field::RemotePort:
        return r.sport;
    case Field::Baud:
        return r.baud;
    case Field::Parity:
        return choiceText(PARITIES, r.parity);
    case Field::DataBits:
        return choiceText(DATA_BITS, r.dataBit);
    case Field::StopBits:
        return choiceText(STOP_BITS, r.stopBit);
    }
    return QString();
}

Verdict parse(Field field, const QString &value, Change *change, QString *message)
{
    change->field = field;
    const QString quoted = QStringLiteral("%1 '%2'").arg(name(field), value);
    if (field == Field::Name) {
        const QByteArray bytes = value.toUtf8();
        if (bytes.size() > NAME_BYTES || bytes.contains('\0')) {
            *message =
                QStringLiteral("%1 is longer than %2 bytes in UTF-8").arg(quoted).arg(NAME_BYTES);
            return Verdict::Malformed;
        }
        change->text = value;
        change->nameBytes = bytes;
        return Verdict::Ok;
    }
    if (const QStringList *list = choices(field)) {
        const int index = list->indexOf(value.toLower());
        if (index < 0) {
            *message =
                QStringLiteral("%1 is not one of %2").arg(quoted, list->join(QStringLiteral(", ")));
            return Verdict::Malformed;
        }
        change->index = index;
        change->text = list->at(index);
        return Verdict::Ok;
    }
    if (isAddressField(field)) {
        const QStringList parts = value.split(QLatin1Char('.'));
        QStringList canonical;
        quint32 octet = 0;
        for (const QString &part : parts) {
            if (parts.size() != 4 || !decimal(part, 255, &octet)) {
                *message = QStringLiteral("%1 is not an IPv4 address (four numbers from 0 to 255)")
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
        const QString expected = QStringLiteral("%1 is not a number from %2 to %3")
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
    *message = QStringLiteral("%1 is read-only").arg(name(field));
    return Verdict::Malformed;
}

void apply(DeviceRecord &r, const Change &change)
{
    switch (change.field) {
    case Field::Name:
        r.deviceName = change.text;
        r.nameBytes = change.nameBytes;
        break;
    case Field::Mode:
        r.mode = change.index;
        break;
    case Field::IpType:
        r.ipType = change.index;
        break;
    case Field::Ip:
        r.lip = change.text;
        break;
    case Field::Subnet:
        r.subnet = change.text;
        break;
    case Field::Gateway:
        r.gaw = change.text;
        break;
    case Field::LocalPort:
        r.lport = change.text;
        r.random = change.text == QLatin1String("0");
        break;
    case Field::RemoteIp:
        r.sip = change.text;
        break;
    case Field::RemotePort:
        r.sport = change.text;
        break;
    case Field::Baud:
        r.baud = change.text;
        break;
    case Field::Parity:
        r.parity = change.index;
        break;
    case Field::DataBits:
        r.dataBit = change.index;
        break;
    case Field::StopBits:
        r.stopBit = change.index;
        break;
    default:
        break;
    }
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

QVector<Field> differences(const DeviceRecord &sent, const DeviceRecord &reported)
{
    QVector<Field> fields;
    for (const Field field : all()) {
        if (!isWritable(field))
            continue;
        const bool differs = field == Field::Name
                                 ? sent.nameBytes != reported.nameBytes
                                 : text(sent, QString(), field) != text(reported, QString(), field);
        if (differs)
            fields << field;
    }
    return fields;
}

} // namespace CliFields
