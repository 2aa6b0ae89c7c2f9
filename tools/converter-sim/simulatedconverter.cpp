#include "simulatedconverter.h"

#include "deviceframe.h"
#include "framechecksum.h"
#include "framecipher.h"
#include "framelayout.h"
#include "protocolconstants.h"

namespace {

// Any key but the frame key: what a converter of another make would use.
constexpr std::uint8_t OTHER_KEY[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                        0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};

struct FaultName
{
    Fault fault;
    const char *name;
};

constexpr FaultName FAULT_NAMES[] = {
    {Fault::AnswerTwice, "twice"},
    {Fault::WrongKey, "wrong-key"},
    {Fault::BadChecksum, "bad-checksum"},
    {Fault::Short, "short"},
    {Fault::Long, "long"},
    {Fault::ForeignPort, "foreign-port"},
    {Fault::Restart, "restart"},
    {Fault::IgnoreWrites, "ignore-writes"},
    {Fault::Partial, "partial"},
    {Fault::DataClosed, "closed"},
    {Fault::Garbled, "garbled"},
    {Fault::Dropped, "dropped"},
    {Fault::Reset, "reset"},
};

std::uint8_t *bytes(QByteArray &array)
{
    return reinterpret_cast<std::uint8_t *>(array.data());
}

} // namespace

QString faultName(Fault fault)
{
    for (const FaultName &f : FAULT_NAMES) {
        if (f.fault == fault)
            return QString::fromLatin1(f.name);
    }
    return QString();
}

bool faultFromName(const QString &name, Fault *fault)
{
    for (const FaultName &f : FAULT_NAMES) {
        if (name == QLatin1String(f.name)) {
            *fault = f.fault;
            return true;
        }
    }
    return false;
}

QList<Fault> allFaults()
{
    QList<Fault> list;
    for (const FaultName &f : FAULT_NAMES)
        list << f.fault;
    return list;
}

void SimulatedConverter::bytesFromSettings()
{
    typeByte = quint8(settings.ipType);
    modeByte = quint8(settings.mode);
    serialByte = DeviceFrame::serialSettings(settings.dataBit, settings.stopBit, settings.parity);
}

void SimulatedConverter::settingsFromBytes()
{
    QByteArray frame(FRAME_SIZE, '\0');
    frame[FrameLayout::IPTYPE_OFFSET] = char(typeByte);
    frame[FrameLayout::MODE_OFFSET] = char(modeByte);
    frame[FrameLayout::SERIAL_OFFSET] = char(serialByte);
    const DeviceRecord decoded = DeviceFrame::decodeReply(frame, QString());
    settings.ipType = decoded.ipType;
    settings.mode = decoded.mode;
    settings.parity = decoded.parity;
    settings.dataBit = decoded.dataBit;
    settings.stopBit = decoded.stopBit;
}

QByteArray SimulatedConverter::plaintext() const
{
    QByteArray frame(FRAME_SIZE, '\0');
    DeviceFrame::encodeReply(settings, DeviceFrame::versionByte(settings.version), frame);
    frame[FrameLayout::IPTYPE_OFFSET] = char(typeByte);
    frame[FrameLayout::MODE_OFFSET] = char(modeByte);
    frame[FrameLayout::SERIAL_OFFSET] = char(serialByte);
    return frame;
}

QByteArray SimulatedConverter::replyDatagram() const
{
    QByteArray frame = plaintext();
    FrameChecksum::store(bytes(frame));
    if (faults.contains(Fault::BadChecksum))
        frame[CHECKSUM_OFFSET] = char(frame.at(CHECKSUM_OFFSET) ^ 0x5A);
    if (faults.contains(Fault::WrongKey)) {
        FrameCipher::setKey(OTHER_KEY);
        FrameCipher::encrypt(bytes(frame), FRAME_SIZE);
        FrameCipher::setKey(FRAME_KEY);
    } else {
        FrameCipher::encrypt(bytes(frame), FRAME_SIZE);
    }
    if (faults.contains(Fault::Short))
        frame.chop(1);
    else if (faults.contains(Fault::Long))
        frame.append('\0');
    return frame;
}

bool SimulatedConverter::applyConfigure(const QByteArray &plaintext)
{
    if (plaintext.size() != FRAME_SIZE)
        return false;
    const DeviceRecord sent = DeviceFrame::decodeReply(plaintext, settings.deviceIp);
    if (sent.mac != settings.mac)
        return false;
    ++configureCount;
    if (faults.contains(Fault::IgnoreWrites))
        return true;
    // The name, like every other field, is taken exactly as it came.
    DeviceRecord next = sent;
    next.version = settings.version;
    const auto at = [&](int offset) { return quint8(plaintext.at(offset)); };
    typeByte = at(FrameLayout::IPTYPE_OFFSET);
    modeByte = at(FrameLayout::MODE_OFFSET);
    if (faults.contains(Fault::Partial)) {
        next.baud = settings.baud;
    } else {
        serialByte = at(FrameLayout::SERIAL_OFFSET);
    }
    settings = next;
    settingsFromBytes();
    return true;
}

QByteArray configurePlaintext(const QByteArray &datagram)
{
    if (datagram.size() != FRAME_SIZE)
        return QByteArray();
    QByteArray plain = datagram;
    FrameCipher::decrypt(bytes(plain), FRAME_SIZE);
    if (!FrameChecksum::isValid(bytes(plain)))
        return QByteArray();
    if (plain.mid(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE) !=
        QByteArray::fromRawData(CONFIG_TAG, CONFIG_TAG_SIZE))
        return QByteArray();
    return plain;
}
