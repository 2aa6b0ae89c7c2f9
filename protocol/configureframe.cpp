#include "configureframe.h"

#include "deviceframe.h"
#include "framecipher.h"
#include "protocolconstants.h"

#include <QStringList>
#include <QtGlobal>

namespace {

constexpr int MAC_LENGTH = 12;
constexpr int RANDOM_MODULUS = 255; // keeps 0xFF out of the tail

// Plain decimal digits only: no sign, no blanks, nothing that the converter
// would read as another value.
bool decimalInRange(const QString &text, quint32 max)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return text.toULongLong() <= max;
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

Field firstUnsendable(const DeviceRecord &record)
{
    if (!isAddress(record.lip))
        return Field::Lip;
    if (!isAddress(record.subnet))
        return Field::Subnet;
    if (!isAddress(record.gaw))
        return Field::Gaw;
    if (!decimalInRange(record.lport, 0xFFFF))
        return Field::Lport;
    if (!isAddress(record.sip))
        return Field::Sip;
    if (!decimalInRange(record.sport, 0xFFFF))
        return Field::Sport;
    if (!decimalInRange(record.baud, 0xFFFFFF))
        return Field::Baud;
    return Field::None;
}

bool hasTarget(const DeviceRecord &record)
{
    return !record.mac.isNull() && record.mac.size() == MAC_LENGTH;
}

QByteArray plaintext(const DeviceRecord &record, uint seed)
{
    QByteArray frame(FRAME_SIZE, '\0');
    DeviceFrame::encodeRequest(record, frame);
    // Qt's per-thread generator: the tail is unchecked filler, so nothing
    // stronger is needed.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    qsrand(seed);
    qrand();
    for (int i = TAIL_OFFSET; i < FRAME_SIZE; ++i)
        frame[i] = char(qrand() % RANDOM_MODULUS);
    QT_WARNING_POP
    return frame;
}

QByteArray build(const DeviceRecord &record, uint seed)
{
    QByteArray frame = plaintext(record, seed);
    FrameCipher::encrypt(reinterpret_cast<std::uint8_t *>(frame.data()), FRAME_SIZE);
    return frame;
}

} // namespace ConfigureFrame
