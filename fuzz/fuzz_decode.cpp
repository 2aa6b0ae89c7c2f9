// Any 64 plaintext bytes decoded, then encoded again: every field the decoder
// reads comes back in the same bytes.
#include "deviceframe.h"
#include "fuzzcheck.h"
#include "protocolconstants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray frame(reinterpret_cast<const char *>(data), int(std::min<std::size_t>(size, 64)));
    const DeviceRecord record = DeviceFrame::decodeReply(frame, QStringLiteral("10.0.0.1"));
    frame.append(QByteArray(FRAME_SIZE - frame.size(), '\0'));

    QByteArray request(FRAME_SIZE, '\0');
    DeviceFrame::encodeRequest(record, request);
    FUZZ_CHECK(request.left(6) == frame.left(6));
    // Addresses, ports and baud rate, bytes 22 to 44.
    FUZZ_CHECK(request.mid(22, 23) == frame.mid(22, 23));
    const int nameEnd = frame.mid(10, 10).indexOf('\0');
    const QByteArray name = frame.mid(10, nameEnd < 0 ? 10 : nameEnd);
    FUZZ_CHECK(request.mid(10, name.size()) == name);
    FUZZ_CHECK(request.mid(10 + name.size(), 10 - name.size()) ==
               QByteArray(10 - name.size(), '\0'));
    FUZZ_CHECK(DeviceFrame::decodeReply(request, QString()).mac == record.mac);
    FUZZ_CHECK(record.random == (record.lport == QLatin1String("0")));
    return 0;
}
