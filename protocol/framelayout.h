#pragma once

// Where each field sits in the 64-byte plaintext frame, and which bits of the
// shared bytes belong to which setting.
namespace FrameLayout {

constexpr int MAC_OFFSET = 0;
constexpr int MAC_BYTES = 6;
constexpr int VERSION_OFFSET = 6;
constexpr int NAME_OFFSET = 10;
constexpr int NAME_BYTES = 10;
constexpr int IPTYPE_OFFSET = 20;
constexpr int MODE_OFFSET = 21;
constexpr int SUBNET_OFFSET = 22;
constexpr int GATEWAY_OFFSET = 26;
constexpr int LIP_OFFSET = 30;
constexpr int LPORT_OFFSET = 34;
constexpr int SIP_OFFSET = 36;
constexpr int SPORT_OFFSET = 40;
constexpr int BAUD_OFFSET = 42;
constexpr int BAUD_BYTES = 3;
constexpr int SERIAL_OFFSET = 45;
constexpr int RESERVED_OFFSET = 46;

// The settings run from the name to the serial byte.
constexpr int SETTINGS_FROM = NAME_OFFSET;
constexpr int SETTINGS_TO = RESERVED_OFFSET;

constexpr unsigned char IPTYPE_BITS = 0x01;
constexpr unsigned char MODE_BITS = 0x03;
constexpr unsigned char DATA_BITS = 0x03; // 0: 5 bits, 1: 6, 2: 7, 3: 8
constexpr unsigned char STOP_BITS = 0x04;
constexpr unsigned char PARITY_BITS = 0x38; // enable, even, stick

} // namespace FrameLayout
