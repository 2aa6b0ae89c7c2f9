#pragma once

#include <cstdint>

// CRC-16/MODBUS (reflected polynomial 0xA001, initial value 0xFFFF, no final
// XOR). A frame carries the value low byte first.
namespace FrameChecksum {

std::uint16_t compute(const std::uint8_t *data, std::uint16_t length);

// True when bytes 50 and 51 of a 64-byte frame hold the checksum of bytes 0 to 49.
bool isValid(const std::uint8_t *frame);

// Writes the checksum of bytes 0 to 49 into bytes 50 (low) and 51 (high).
void store(std::uint8_t *frame);

} // namespace FrameChecksum
