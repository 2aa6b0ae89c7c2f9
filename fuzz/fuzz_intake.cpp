// Any datagram from any sender port and address text through the reply intake.
// Input: 2 bytes sender port, 1 byte address length, the address text, then
// the datagram.
#include "deviceframe.h"
#include "framechecksum.h"
#include "framecipher.h"
#include "fuzzcheck.h"
#include "protocolconstants.h"
#include "replyintake.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool keyed = (FrameCipher::setKey(FRAME_KEY), true);
    (void)keyed;
    if (size < 3)
        return 0;
    const quint16 port = quint16(data[0] | (data[1] << 8));
    const std::size_t addressLength = std::min<std::size_t>(data[2], size - 3);
    const QString sender =
        QString::fromLatin1(reinterpret_cast<const char *>(data + 3), int(addressLength));
    const QByteArray datagram(reinterpret_cast<const char *>(data + 3 + addressLength),
                              int(size - 3 - addressLength));

    const QString line = ReplyIntake::datagramLogLine(sender, port, datagram);
    FUZZ_CHECK(line.endsWith(QString::fromLatin1(datagram.toHex().toUpper())));

    const ReplyIntake::Result result = ReplyIntake::examine(datagram, port);
    FUZZ_CHECK(ReplyIntake::decrypted(result.verdict) == (result.plaintext.size() == FRAME_SIZE));
    if (result.verdict == ReplyIntake::Verdict::Accepted) {
        FUZZ_CHECK(port == DEVICE_PORT && datagram.size() == FRAME_SIZE);
        FUZZ_CHECK(FrameChecksum::isValid(
            reinterpret_cast<const std::uint8_t *>(result.plaintext.constData())));
        FUZZ_CHECK(result.plaintext.mid(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE) != CONFIG_TAG);
        const QString deviceIp = ReplyIntake::deviceIpFromSender(sender);
        const DeviceRecord record = DeviceFrame::decodeReply(result.plaintext, deviceIp);
        FUZZ_CHECK(record.mac.size() == 12 && record.deviceIp == deviceIp);
    }
    return 0;
}
