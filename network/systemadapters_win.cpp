#include "systemadapters.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <vector>

// Qt's own adapter list comes back empty under Wine; the system's call that
// ipconfig uses gives the same adapters on Windows and under Wine.
QVector<SystemAdapter> systemAdapters()
{
    QVector<SystemAdapter> list;
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    std::vector<char> buffer;
    ULONG status = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        status =
            GetAdaptersAddresses(AF_INET, flags, nullptr,
                                 reinterpret_cast<IP_ADAPTER_ADDRESSES *>(buffer.data()), &size);
    }
    if (status != NO_ERROR)
        return list;
    for (auto *adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES *>(buffer.data()); adapter;
         adapter = adapter->Next) {
        SystemAdapter a;
        a.index = int(adapter->IfIndex);
        a.name = QString::fromWCharArray(adapter->FriendlyName);
        a.systemName = QString::fromLocal8Bit(adapter->AdapterName);
        for (auto *unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
            const sockaddr *address = unicast->Address.lpSockaddr;
            if (address && address->sa_family == AF_INET) {
                const auto *in = reinterpret_cast<const sockaddr_in *>(address);
                a.ipv4All.append(QHostAddress(quint32(ntohl(in->sin_addr.s_addr))));
            }
        }
        if (!a.ipv4All.isEmpty())
            a.ipv4 = a.ipv4All.first();
        a.up = adapter->OperStatus == IfOperStatusUp;
        a.loopback = adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
        // Point-to-point links (dial-up, tunnels) and layer-3 VPN adapters
        // (type 53, "proprietary virtual", as such drivers report themselves) carry no
        // broadcast; Linux says the same of a tun device.
        a.canBroadcast = !a.loopback && adapter->IfType != IF_TYPE_PPP &&
                         adapter->IfType != IF_TYPE_TUNNEL &&
                         adapter->IfType != IF_TYPE_PROP_VIRTUAL;
        list.append(a);
    }
    return list;
}
