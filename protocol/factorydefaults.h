#pragma once

#include "devicerecord.h"

// The settings that "Factory Reset" fills in, shared by every program that
// offers a reset.
namespace FactoryDefaults {

// The device's record with its thirteen settings at their defaults: UDP,
// static 192.168.1.8/255.255.255.0 via 192.168.1.1, local port 1234, remote
// 192.168.1.254:1234, 9600 baud, 8 data bits, no parity, 1 stop bit. The
// identity (MAC, name, version, reply address) stays.
DeviceRecord applied(DeviceRecord device);

} // namespace FactoryDefaults
