#include "segmentcheck.h"

#include "phrase.h"

#include "deviceframe.h"
#include "framelayout.h"
#include "systemadapters.h"

#include <QHostAddress>
#include <QMultiHash>

#include <algorithm>

namespace SegmentCheck {

namespace {

using namespace FrameLayout;

struct Addressing
{
    bool dhcp = false;
    quint32 ip = 0, subnet = 0, gateway = 0;
};

Addressing addressing(const QByteArray &settings)
{
    Addressing a;
    if (settings.size() < RESERVED_OFFSET)
        return a;
    const auto *bytes = reinterpret_cast<const quint8 *>(settings.constData());
    a.dhcp = bytes[IPTYPE_OFFSET] & IPTYPE_BITS;
    a.ip = DeviceFrame::getNumber(bytes + LIP_OFFSET, 4);
    a.subnet = DeviceFrame::getNumber(bytes + SUBNET_OFFSET, 4);
    a.gateway = DeviceFrame::getNumber(bytes + GATEWAY_OFFSET, 4);
    return a;
}

// Ones then zeros: the inverted mask plus one is a power of two.
bool contiguous(quint32 mask)
{
    const quint32 hosts = ~mask;
    return (hosts & (hosts + 1)) == 0;
}

QString dotted(quint32 address)
{
    return QHostAddress(address).toString();
}

// The ranges no host address can come from (this network, loopback,
// multicast, reserved and the limited broadcast), with their names.
QString reservedRange(quint32 address)
{
    const quint32 top = address >> 24;
    if (top == 0)
        return Phrase::translate("segment", "0.0.0.0/8, this network");
    if (top == 127)
        return Phrase::translate("segment", "127.0.0.0/8, loopback");
    if (top >= 224 && top < 240)
        return Phrase::translate("segment", "224.0.0.0/4, multicast");
    if (top >= 240)
        return Phrase::translate("segment", "240.0.0.0/4, reserved");
    return QString();
}

// Whether address is the network or broadcast address of the subnet that
// address and mask make; a /31 or /32 has neither.
QString networkOrBroadcast(quint32 address, quint32 mask)
{
    if (~mask <= 1)
        return QString();
    if ((address & ~mask) == 0)
        return QStringLiteral("network");
    if ((address & ~mask) == ~mask)
        return QStringLiteral("broadcast");
    return QString();
}

int prefixLength(quint32 mask)
{
    int length = 0;
    while (length < 32 && (mask & (0x80000000u >> length)))
        ++length;
    return length;
}

} // namespace

QString Problem::codeName() const
{
    switch (code) {
    case Code::DuplicateIp:
        return QStringLiteral("duplicate-ip");
    case Code::HostAddress:
        return QStringLiteral("host-address");
    case Code::NetworkAddress:
        return QStringLiteral("network-address");
    case Code::BroadcastAddress:
        return QStringLiteral("broadcast-address");
    case Code::BadSubnet:
        return QStringLiteral("bad-subnet");
    case Code::GatewayOutsideSubnet:
        return QStringLiteral("gateway-outside-subnet");
    case Code::GatewayIsOwnIp:
        return QStringLiteral("gateway-is-own-ip");
    case Code::ReservedAddress:
        return QStringLiteral("reserved-address");
    case Code::GatewayNotAHost:
        return QStringLiteral("gateway-not-a-host");
    }
    return QString();
}

QString Problem::field() const
{
    switch (code) {
    case Code::BadSubnet:
        return QStringLiteral("subnet");
    case Code::GatewayOutsideSubnet:
    case Code::GatewayIsOwnIp:
    case Code::GatewayNotAHost:
        return QStringLiteral("gateway");
    default:
        return QStringLiteral("ip");
    }
}

QString Problem::message() const
{
    const QString who = DeviceFrame::macText(mac) + QStringLiteral(": ");
    const QString net = QStringLiteral("%1/%2").arg(dotted(ip & subnet)).arg(prefixLength(subnet));
    switch (code) {
    case Code::DuplicateIp:
        return who + Phrase::translate("segment", "ip %1 is also the ip of %2")
                         .arg(dotted(ip), DeviceFrame::macText(other));
    case Code::HostAddress:
        return who +
               Phrase::translate("segment", "ip %1 is an address of this computer (adapter %2)")
                   .arg(dotted(ip), other);
    case Code::NetworkAddress:
        return who + Phrase::translate("segment", "ip %1 is the network address of its subnet %2")
                         .arg(dotted(ip), net);
    case Code::BroadcastAddress:
        return who + Phrase::translate("segment", "ip %1 is the broadcast address of its subnet %2")
                         .arg(dotted(ip), net);
    case Code::BadSubnet:
        if (subnet == 0)
            return who + Phrase::translate("segment",
                                           "subnet 0.0.0.0 makes every address its own network");
        return who + Phrase::translate("segment", "subnet %1 is not a mask (ones, then zeros)")
                         .arg(dotted(subnet));
    case Code::GatewayOutsideSubnet:
        return who + Phrase::translate("segment", "gateway %1 is outside its subnet %2 (ip %3)")
                         .arg(dotted(gateway), net, dotted(ip));
    case Code::GatewayIsOwnIp:
        return who + Phrase::translate("segment", "gateway %1 is its own ip").arg(dotted(gateway));
    case Code::ReservedAddress:
        return who + Phrase::translate("segment", "ip %1 is in %2, which no host can have")
                         .arg(dotted(ip), reservedRange(ip));
    case Code::GatewayNotAHost: {
        const QString range = reservedRange(gateway);
        if (!range.isEmpty())
            return who + Phrase::translate("segment", "gateway %1 is in %2, which no host can have")
                             .arg(dotted(gateway), range);
        if (networkOrBroadcast(gateway, subnet) == QLatin1String("network"))
            return who + Phrase::translate("segment",
                                           "gateway %1 is the network address of its subnet %2")
                             .arg(dotted(gateway), net);
        return who +
               Phrase::translate("segment", "gateway %1 is the broadcast address of its subnet %2")
                   .arg(dotted(gateway), net);
    }
    }
    return who;
}

bool Problem::sameAs(const Problem &o) const
{
    if (mac != o.mac || code != o.code || other != o.other)
        return false;
    const QString about = field();
    if (about == QLatin1String("gateway"))
        return gateway == o.gateway;
    if (about == QLatin1String("subnet"))
        return subnet == o.subnet;
    return ip == o.ip;
}

QVector<HostAddress> hostAddresses()
{
    QVector<HostAddress> list;
    for (const SystemAdapter &adapter : systemAdapters()) {
        if (adapter.loopback)
            continue;
        for (const QHostAddress &address : adapter.ipv4All)
            list.append({address.toIPv4Address(), adapter.name});
    }
    return list;
}

QVector<Problem> find(const QVector<Converter> &converters, const QVector<HostAddress> &host)
{
    QVector<Addressing> all;
    QMultiHash<quint32, int> byIp; // static converters only
    for (int i = 0; i < converters.size(); ++i) {
        all.append(addressing(converters.at(i).settings));
        if (!all.last().dhcp)
            byIp.insert(all.last().ip, i);
    }
    QVector<Problem> problems;
    for (int i = 0; i < converters.size(); ++i) {
        const Addressing &a = all.at(i);
        if (a.dhcp)
            continue;
        Problem p;
        p.mac = converters.at(i).mac;
        p.ip = a.ip;
        p.subnet = a.subnet;
        p.gateway = a.gateway;
        const auto add = [&](Code code, const QString &other = QString()) {
            p.code = code;
            p.other = other;
            problems.append(p);
        };
        QVector<int> same = byIp.values(a.ip).toVector();
        std::sort(same.begin(), same.end());
        for (const int j : qAsConst(same)) {
            if (j != i && converters.at(j).mac != p.mac)
                add(Code::DuplicateIp, converters.at(j).mac);
        }
        for (const HostAddress &h : host) {
            if (h.address == a.ip) {
                add(Code::HostAddress, h.adapter);
                break;
            }
        }
        const bool reserved = !reservedRange(a.ip).isEmpty();
        if (reserved)
            add(Code::ReservedAddress);
        if (!contiguous(a.subnet) || a.subnet == 0) {
            // Network, broadcast and gateway mean nothing under a broken mask.
            add(Code::BadSubnet);
            continue;
        }
        // An address no host can have says more than network or broadcast.
        const QString place = networkOrBroadcast(a.ip, a.subnet);
        if (!reserved && place == QLatin1String("network"))
            add(Code::NetworkAddress);
        else if (!reserved && place == QLatin1String("broadcast"))
            add(Code::BroadcastAddress);
        if (a.gateway != 0) { // 0.0.0.0: no gateway
            if (a.gateway == a.ip)
                add(Code::GatewayIsOwnIp);
            else if (!reservedRange(a.gateway).isEmpty())
                add(Code::GatewayNotAHost);
            else if ((a.gateway & a.subnet) != (a.ip & a.subnet))
                add(Code::GatewayOutsideSubnet);
            else if (!networkOrBroadcast(a.gateway, a.subnet).isEmpty())
                add(Code::GatewayNotAHost);
        }
    }
    return problems;
}

QVector<Problem> introduced(const QVector<Converter> &before,
                            const QHash<QString, QByteArray> &writes,
                            const QVector<HostAddress> &host)
{
    QVector<Converter> after = before;
    for (Converter &c : after) {
        if (writes.contains(c.mac))
            c.settings = writes.value(c.mac);
    }
    const QVector<Problem> old = find(before, host);
    QVector<Problem> added;
    for (const Problem &p : find(after, host)) {
        if (!writes.contains(p.mac))
            continue;
        const bool known =
            std::any_of(old.begin(), old.end(), [&](const Problem &o) { return o.sameAs(p); });
        if (!known)
            added.append(p);
    }
    return added;
}

} // namespace SegmentCheck
