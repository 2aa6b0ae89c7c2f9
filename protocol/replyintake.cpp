#include "replyintake.h"

#include "framechecksum.h"
#include "framecipher.h"
#include "protocolconstants.h"

#include <QStringList>

namespace ReplyIntake {

Result examine(const QByteArray &datagram, quint16 senderPort)
{
    Result result;
    if (datagram.startsWith(QByteArray::fromRawData(SEARCH_PROBE, SEARCH_PROBE_SIZE))) {
        result.verdict = Verdict::Probe;
        return result;
    }
    if (senderPort != DEVICE_PORT) {
        result.verdict = Verdict::ForeignPort;
        return result;
    }
    if (datagram.size() != FRAME_SIZE) {
        result.verdict = Verdict::WrongSize;
        return result;
    }

    result.plaintext = datagram;
    auto *frame = reinterpret_cast<std::uint8_t *>(result.plaintext.data());
    FrameCipher::decrypt(frame, FRAME_SIZE);
    if (!FrameChecksum::isValid(frame)) {
        result.verdict = Verdict::BadChecksum;
        return result;
    }
    if (result.plaintext.mid(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE) ==
        QByteArray::fromRawData(CONFIG_TAG, CONFIG_TAG_SIZE)) {
        result.verdict = Verdict::ConfigureEcho;
        return result;
    }
    result.verdict = Verdict::Accepted;
    return result;
}

bool decrypted(Verdict verdict)
{
    return verdict == Verdict::BadChecksum || verdict == Verdict::ConfigureEcho ||
           verdict == Verdict::Accepted;
}

QString datagramLogLine(const QString &senderAddress, quint16 senderPort,
                        const QByteArray &datagram)
{
    // All four at once: chained arg() calls would also replace a "%1" inside
    // the address text, which an IPv6 scope such as "fe80::1%1" contains.
    return QStringLiteral("%1:%2[%3]:%4")
        .arg(senderAddress, QString::number(senderPort), QString::number(datagram.size()),
             QString::fromLatin1(datagram.toHex().toUpper()));
}

QString deviceIpFromSender(const QString &senderAddress)
{
    const QStringList parts = senderAddress.split(QStringLiteral("ffff:"));
    return parts.size() >= 2 ? parts.at(1) : senderAddress;
}

} // namespace ReplyIntake
