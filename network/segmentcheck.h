#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

// Addressing mistakes that cut a converter off its network: two converters
// at one address, a converter at this computer's address, at an address no
// host can have, at its subnet's network or broadcast address, with a broken
// mask, or with a gateway it cannot reach or that is no host. Converters
// using DHCP are left out: the server decides.
namespace SegmentCheck {

enum class Code {
    DuplicateIp,
    HostAddress,
    NetworkAddress,
    BroadcastAddress,
    BadSubnet,
    GatewayOutsideSubnet,
    GatewayIsOwnIp,
    ReservedAddress,
    GatewayNotAHost,
};

// A converter as it holds or would hold its settings: the 64 plaintext
// bytes of a reply or a configure frame.
struct Converter
{
    QString mac; // 12 digits
    QByteArray settings;
};

struct HostAddress
{
    quint32 address = 0;
    QString adapter;
};

struct Problem
{
    QString mac;
    Code code = Code::DuplicateIp;
    quint32 ip = 0;
    quint32 subnet = 0;
    quint32 gateway = 0;
    QString other; // the other converter's MAC (duplicate-ip) or the adapter (host-address)

    // The stable name scripts see: "duplicate-ip", "host-address", ...
    QString codeName() const;
    // The setting at fault: ip, subnet or gateway.
    QString field() const;
    // "02:AB:00:00:00:02: ip 10.77.16.50 is also the ip of 02:AB:00:00:00:01"
    QString message() const;
    // The same problem as another when kind and other converter agree and
    // the field it is about holds the same value: a clash of the same two
    // converters at a new address is a new problem.
    bool sameAs(const Problem &other) const;
};

// Every IPv4 address of every adapter of this computer except loopback,
// read afresh; adapters that are down count too.
QVector<HostAddress> hostAddresses();

// Every problem of every converter, in the converters' order.
QVector<Problem> find(const QVector<Converter> &converters, const QVector<HostAddress> &host);

// The problems that the converters written would have after the writes and
// did not have before. writes maps a MAC to the settings it would hold;
// every converter of before counts, written or not.
QVector<Problem> introduced(const QVector<Converter> &before,
                            const QHash<QString, QByteArray> &writes,
                            const QVector<HostAddress> &host);

} // namespace SegmentCheck
