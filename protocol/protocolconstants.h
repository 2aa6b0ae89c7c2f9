#pragma once

#include <cstdint>

// Constants of the converter protocol. Plain C++ so that the cipher and
// checksum, which need nothing of Qt, can share them.

// Bind port, destination port and the required source port of replies.
constexpr std::uint16_t DEVICE_PORT = 1500;

// Every datagram goes to the limited broadcast address so that a converter is
// reachable even when its address does not fit the operator's subnet.
constexpr char BROADCAST_ADDRESS[] = "255.255.255.255";

// The plain-text search probe.
constexpr char SEARCH_PROBE[] = "FFFF";
constexpr int SEARCH_PROBE_SIZE = 4;

// Marks a frame as a configure request (bytes 6 to 9); the tool drops its own
// configure broadcast when it comes back by this tag.
constexpr char CONFIG_TAG[] = "1111";
constexpr int CONFIG_TAG_OFFSET = 6;
constexpr int CONFIG_TAG_SIZE = 4;

// Every frame, in both directions, is exactly this long.
constexpr int FRAME_SIZE = 64;

// The checksum covers bytes 0 to 49 and sits at 50 (low) and 51 (high).
constexpr int CHECKSUM_COVERED = 50;
constexpr int CHECKSUM_OFFSET = 50;

// Bytes 52 to 63 of a configure frame are random filler.
constexpr int TAIL_OFFSET = 52;

// The key under which every frame is encrypted.
constexpr std::uint8_t FRAME_KEY[16] = {0x3A, 0x71, 0xC2, 0x09, 0x5E, 0xD4, 0x18, 0xB7,
                                        0x66, 0x0F, 0xA3, 0x9C, 0x24, 0xE8, 0x51, 0x7D};
