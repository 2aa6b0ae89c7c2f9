#pragma once

#include <QHostAddress>
#include <QString>
#include <QVector>

// One network adapter as the operating system lists it.
struct SystemAdapter
{
    int index = 0;
    QString name;       // as people see it: "Wi-Fi", "Ethernet 2", "eth0"
    QString systemName; // the system's own, where it differs
    QHostAddress ipv4;  // the first IPv4 address; null when there is none
    QVector<QHostAddress> ipv4All; // every IPv4 address, the first one first
    bool up = false;
    bool canBroadcast = false;
    bool loopback = false;
};

// Every adapter, read afresh.
QVector<SystemAdapter> systemAdapters();
