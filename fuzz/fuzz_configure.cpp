// Configure frames built from records with arbitrary field texts: the frame is
// always whole and sealed, and a record that may be sent arrives unchanged.
#include "configureframe.h"
#include "deviceframe.h"
#include "framechecksum.h"
#include "framecipher.h"
#include "fuzzcheck.h"
#include "protocolconstants.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

quint32 octets(const QString &address)
{
    quint32 value = 0;
    for (const QString &part : address.split(QLatin1Char('.')))
        value = (value << 8) | part.toUInt();
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool keyed = (FrameCipher::setKey(FRAME_KEY), true);
    (void)keyed;
    if (size < 6)
        return 0;
    DeviceRecord r;
    r.mode = data[0] - 128;
    r.ipType = data[1] - 128;
    r.parity = data[2] % 5 - 1;
    r.dataBit = data[3] % 4 - 1;
    r.stopBit = data[4] % 4 - 1;
    const uint seed = data[5];
    const QStringList fields =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 6), int(size - 6))
            .split(QLatin1Char('\n'));
    QString *texts[] = {&r.mac, &r.lip,   &r.subnet, &r.gaw,       &r.lport,
                        &r.sip, &r.sport, &r.baud,   &r.deviceName};
    for (int i = 0; i < 9; ++i)
        *texts[i] = fields.value(i);

    const QByteArray wire = ConfigureFrame::build(r, seed);
    FUZZ_CHECK(wire.size() == FRAME_SIZE);
    QByteArray plain = wire;
    FrameCipher::decrypt(reinterpret_cast<std::uint8_t *>(plain.data()), FRAME_SIZE);
    FUZZ_CHECK(plain == ConfigureFrame::plaintext(r, seed));
    FUZZ_CHECK(FrameChecksum::isValid(reinterpret_cast<const std::uint8_t *>(plain.constData())));
    FUZZ_CHECK(plain.mid(CONFIG_TAG_OFFSET, CONFIG_TAG_SIZE) == CONFIG_TAG);
    FUZZ_CHECK(!plain.mid(TAIL_OFFSET).contains('\xFF'));

    if (ConfigureFrame::firstUnsendable(r) == ConfigureFrame::Field::None) {
        const DeviceRecord back = DeviceFrame::decodeReply(plain, QString());
        FUZZ_CHECK(octets(back.lip) == octets(r.lip));
        FUZZ_CHECK(octets(back.subnet) == octets(r.subnet));
        FUZZ_CHECK(octets(back.gaw) == octets(r.gaw));
        FUZZ_CHECK(octets(back.sip) == octets(r.sip));
        FUZZ_CHECK(back.lport.toUInt() == r.lport.toUInt());
        FUZZ_CHECK(back.sport.toUInt() == r.sport.toUInt());
        FUZZ_CHECK(back.baud.toUInt() == r.baud.toUInt());
    }
    return 0;
}
