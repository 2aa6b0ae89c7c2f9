#include "factorydefaults.h"

namespace FactoryDefaults {

DeviceRecord applied(DeviceRecord device)
{
    device.mode = 0;
    device.ipType = 0;
    device.gaw = QStringLiteral("192.168.1.1");
    device.subnet = QStringLiteral("255.255.255.0");
    device.lip = QStringLiteral("192.168.1.8");
    device.lport = QStringLiteral("1234");
    device.random = false;
    device.sip = QStringLiteral("192.168.1.254");
    device.sport = QStringLiteral("1234");
    device.baud = QStringLiteral("9600");
    device.dataBit = 1;
    device.parity = 0;
    device.stopBit = 0;
    return device;
}

} // namespace FactoryDefaults
