#include "framechecksum.h"

#include "protocolconstants.h"

namespace {

struct CrcTable
{
    std::uint16_t entry[256] = {};
};

// The byte-wise table of the reflected polynomial, built by the compiler.
constexpr CrcTable buildTable()
{
    CrcTable t;
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = std::uint16_t(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
        t.entry[i] = crc;
    }
    return t;
}

constexpr CrcTable TABLE = buildTable();

} // namespace

namespace FrameChecksum {

std::uint16_t compute(const std::uint8_t *data, std::uint16_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint16_t i = 0; i < length; ++i)
        crc = std::uint16_t((crc >> 8) ^ TABLE.entry[(crc ^ data[i]) & 0xFF]);
    return crc;
}

bool isValid(const std::uint8_t *frame)
{
    const std::uint16_t crc = compute(frame, CHECKSUM_COVERED);
    return frame[CHECKSUM_OFFSET] == (crc & 0xFF) && frame[CHECKSUM_OFFSET + 1] == (crc >> 8);
}

void store(std::uint8_t *frame)
{
    const std::uint16_t crc = compute(frame, CHECKSUM_COVERED);
    frame[CHECKSUM_OFFSET] = std::uint8_t(crc & 0xFF);
    frame[CHECKSUM_OFFSET + 1] = std::uint8_t(crc >> 8);
}

} // namespace FrameChecksum
