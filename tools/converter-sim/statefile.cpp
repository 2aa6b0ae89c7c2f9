#include "statefile.h"

#include "configureframe.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

constexpr int NAME_BYTES = 10;

QJsonObject converterToJson(const SimulatedConverter &c)
{
    const DeviceRecord &s = c.settings;
    QJsonArray faults;
    for (Fault fault : allFaults()) {
        if (c.faults.contains(fault))
            faults.append(faultName(fault));
    }
    return QJsonObject{
        {"mac", s.mac},
        {"version", s.version},
        {"name", QString::fromUtf8(s.nameBytes)},
        {"nameHex", QString::fromLatin1(s.nameBytes.toHex().toUpper())},
        {"replyFrom", c.replyFrom.toString()},
        {"ipType", s.ipType},
        {"mode", s.mode},
        {"lip", s.lip},
        {"subnet", s.subnet},
        {"gaw", s.gaw},
        {"lport", s.lport},
        {"sip", s.sip},
        {"sport", s.sport},
        {"baud", s.baud},
        {"parity", s.parity},
        {"dataBit", s.dataBit},
        {"stopBit", s.stopBit},
        {"typeByte", c.typeByte},
        {"modeByte", c.modeByte},
        {"serialByte", c.serialByte},
        {"faults", faults},
        {"serial", c.loopback ? "loopback" : "none"},
        {"configureCount", c.configureCount},
    };
}

class Reader
{
public:
    Reader(const QJsonObject &object, int index) : object(object), index(index) {}

    QString text(const char *key, const QString &fallback = QString())
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            return fallback;
        if (!value.isString())
            fail(key, "must be a string");
        return value.toString();
    }

    int integer(const char *key, int min, int max, int fallback)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            return fallback;
        const double number = value.toDouble(-1e300);
        // The range first: a double beyond int cannot be converted to one.
        if (!value.isDouble() || number < min || number > max || number != int(number))
            fail(key,
                 qPrintable(
                     QStringLiteral("must be a whole number from %1 to %2").arg(min).arg(max)));
        return int(number);
    }

    void fail(const char *key, const char *why)
    {
        if (error.isEmpty())
            error = QStringLiteral("converter %1: \"%2\" %3").arg(index).arg(key).arg(why);
    }

    QString error;

private:
    QJsonObject object;
    int index;
};

bool converterFromJson(const QJsonObject &object, int index, SimulatedConverter *c, QString *error)
{
    Reader r(object, index);
    DeviceRecord &s = c->settings;
    s.mac = r.text("mac").toUpper();
    if (!QRegularExpression(QStringLiteral("^[0-9A-F]{12}$")).match(s.mac).hasMatch())
        r.fail("mac", "must be 12 hexadecimal digits");
    s.version = r.text("version", QStringLiteral("1.2"));
    if (object.contains(QLatin1String("nameHex"))) {
        const QString hex = r.text("nameHex");
        if (!QRegularExpression(QStringLiteral("^([0-9A-Fa-f]{2})*$")).match(hex).hasMatch())
            r.fail("nameHex", "must be pairs of hexadecimal digits");
        s.nameBytes = QByteArray::fromHex(hex.toLatin1());
    } else {
        s.nameBytes = r.text("name").toUtf8();
    }
    if (s.nameBytes.size() > NAME_BYTES || s.nameBytes.contains('\0'))
        r.fail("name", "must be at most 10 bytes without a zero byte");
    s.deviceName = QString::fromUtf8(s.nameBytes);
    if (!c->replyFrom.setAddress(r.text("replyFrom")) ||
        c->replyFrom.protocol() != QAbstractSocket::IPv4Protocol)
        r.fail("replyFrom", "must be an IPv4 address");
    s.ipType = r.integer("ipType", 0, 1, 0);
    s.mode = r.integer("mode", 0, 3, 1);
    s.lip = r.text("lip", c->replyFrom.toString());
    s.subnet = r.text("subnet", QStringLiteral("255.255.255.0"));
    s.gaw = r.text("gaw", QStringLiteral("0.0.0.0"));
    s.lport = r.text("lport", QStringLiteral("4001"));
    s.random = s.lport.toInt() == 0;
    s.sip = r.text("sip", QStringLiteral("0.0.0.0"));
    s.sport = r.text("sport", QStringLiteral("4001"));
    s.baud = r.text("baud", QStringLiteral("115200"));
    s.parity = r.integer("parity", 0, 2, 0);
    s.dataBit = r.integer("dataBit", 0, 1, 1);
    s.stopBit = r.integer("stopBit", 0, 1, 0);
    c->bytesFromSettings();
    // Wire bytes, when given, win over the indices: a converter can hold
    // settings (5 data bits, mark parity, other bits) that no index names.
    const int typeByte = r.integer("typeByte", 0, 255, c->typeByte);
    const int modeByte = r.integer("modeByte", 0, 255, c->modeByte);
    const int serialByte = r.integer("serialByte", 0, 255, c->serialByte);
    c->typeByte = quint8(typeByte);
    c->modeByte = quint8(modeByte);
    c->serialByte = quint8(serialByte);
    c->settingsFromBytes();
    c->configureCount = r.integer("configureCount", 0, 2147483647, 0);
    const QJsonValue faults = object.value(QLatin1String("faults"));
    if (!faults.isUndefined() && !faults.isArray())
        r.fail("faults", "must be a list");
    for (const QJsonValue &value : faults.toArray()) {
        Fault fault;
        if (!faultFromName(value.toString(), &fault))
            r.fail("faults", "holds an unknown fault");
        else
            c->faults.insert(fault);
    }
    const QString serial = r.text("serial", QStringLiteral("none"));
    if (serial != QLatin1String("none") && serial != QLatin1String("loopback"))
        r.fail("serial", "must be none or loopback");
    c->loopback = serial == QLatin1String("loopback");
    if (ConfigureFrame::firstUnsendable(s) != ConfigureFrame::Field::None)
        r.fail("settings", "hold an address, port or baud rate that a frame cannot carry");
    *error = r.error;
    return error->isEmpty();
}

} // namespace

namespace StateFile {

QByteArray toJson(const QList<SimulatedConverter> &converters)
{
    QJsonArray list;
    for (const SimulatedConverter &c : converters)
        list.append(converterToJson(c));
    return QJsonDocument(QJsonObject{{"converters", list}}).toJson(QJsonDocument::Indented);
}

bool fromJson(const QByteArray &json, QList<SimulatedConverter> *converters, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonValue list = document.object().value(QLatin1String("converters"));
    if (!document.isObject() || !list.isArray()) {
        *error = QStringLiteral("expected an object with a list \"converters\"");
        return false;
    }
    QList<SimulatedConverter> loaded;
    QSet<QString> macs;
    int index = 0;
    for (const QJsonValue &value : list.toArray()) {
        SimulatedConverter c;
        if (!value.isObject()) {
            *error = QStringLiteral("converter %1 is not an object").arg(index);
            return false;
        }
        if (!converterFromJson(value.toObject(), index, &c, error))
            return false;
        if (macs.contains(c.settings.mac)) {
            *error =
                QStringLiteral("converter %1: MAC %2 is used twice").arg(index).arg(c.settings.mac);
            return false;
        }
        macs.insert(c.settings.mac);
        loaded << c;
        ++index;
    }
    *converters = loaded;
    return true;
}

bool load(const QString &path, QList<SimulatedConverter> *converters, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (!fromJson(file.readAll(), converters, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }
    return true;
}

bool save(const QString &path, const QList<SimulatedConverter> &converters, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson(converters)) < 0 || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace StateFile
