#include "configureframe.h"

#include "qtcompat.h"

#include "deviceframe.h"
#include "framechecksum.h"
#include "framecipher.h"
#include "framelayout.h"
#include "protocolconstants.h"

#include <QStringList>
#include <QTime>
#include <QtGlobal>

namespace {

constexpr int MAC_LENGTH = 12;
constexpr int RANDOM_MODULUS = 255; // keeps 0xFF out of the tail

bool decimalInRange(const QString &text, quint32 max)
{
    quint32 value = 0;
    return ConfigureFrame::plainDecimal(text, max, &value);
}

bool isAddress(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (!decimalInRange(part, 255))
            return false;
    }
    return true;
}

} // namespace

namespace ConfigureFrame {

bool plainDecimal(const QString &text, quint32 max, quint32 *value)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const qulonglong v = text.toULongLong();
    if (v > max)
        return false;
    *value = quint32(v);
    return true;
}

constexpr Field FORM_ORDER[] = {Field::Lip, Field::Subnet, Field::Gaw, Field::Lport,
                                Field::Sip, Field::Sport,  Field::Baud};

Field firstUnsendable(const DeviceRecord &record)
{
    const QVector<Field> fields = unsendableFields(record);
    return fields.isEmpty() ? Field::None : fields.first();
}

QVector<Field> unsendableFields(const DeviceRecord &record)
{
    QVector<Field> fields;
    for (const Field field : FORM_ORDER) {
        if (!canCarry(field, fieldText(record, field)))
            fields.append(field);
    }
    return fields;
}

bool canCarry(Field field, const QString &text)
{
    switch (field) {
    case Field::Lip:
    case Field::Subnet:
    case Field::Gaw:
    case Field::Sip:
        return isAddress(text);
    case Field::Lport:
    case Field::Sport:
        return decimalInRange(text, 0xFFFF);
    case Field::Baud:
        return decimalInRange(text, 0xFFFFFF);
    case Field::None:
        break;
    }
    return true;
}

QString fieldText(const DeviceRecord &record, Field field)
{
    switch (field) {
    case Field::Lip:
        return record.lip;
    case Field::Subnet:
        return record.subnet;
    case Field::Gaw:
        return record.gaw;
    case Field::Lport:
        return record.lport;
    case Field::Sip:
        return record.sip;
    case Field::Sport:
        return record.sport;
    case Field::Baud:
        return record.baud;
    case Field::None:
        break;
    }
    return QString();
}

bool hasTarget(const DeviceRecord &record)
{
    return !record.mac.isNull() && record.mac.size() == MAC_LENGTH;
}

namespace {

// Qt 5's per-thread generator, as the converters have always been sent: the
// tail is unchecked filler, so nothing stronger is needed.
void fillTail(QByteArray &frame, uint seed)
{
    frame.replace(TAIL_OFFSET, FRAME_SIZE - TAIL_OFFSET,
                  QtCompat::seededFiller(seed, FRAME_SIZE - TAIL_OFFSET, RANDOM_MODULUS));
}

} // namespace

QByteArray plaintext(const DeviceRecord &record, uint seed)
{
    QByteArray frame(FRAME_SIZE, '\0');
    DeviceFrame::encodeRequest(record, frame);
    fillTail(frame, seed);
    return frame;
}

QByteArray plaintextFrom(const QByteArray &reported, uint seed)
{
    QByteArray frame = reported.left(FRAME_SIZE);
    frame.append(QByteArray(FRAME_SIZE - frame.size(), '\0'));
    auto *f = reinterpret_cast<std::uint8_t *>(frame.data());
    for (int i = 0; i < CONFIG_TAG_SIZE; ++i)
        f[CONFIG_TAG_OFFSET + i] = std::uint8_t(CONFIG_TAG[i]);
    for (int i = FrameLayout::RESERVED_OFFSET; i < CHECKSUM_OFFSET; ++i)
        f[i] = 0;
    FrameChecksum::store(f);
    fillTail(frame, seed);
    return frame;
}

uint clockSeed()
{
    const QTime now = QTime::currentTime();
    return uint(now.msec() + 1000 * now.second());
}

QByteArray build(const DeviceRecord &record, uint seed)
{
    QByteArray frame = plaintext(record, seed);
    FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(frame.data()), FRAME_SIZE);
    return frame;
}

} // namespace ConfigureFrame
