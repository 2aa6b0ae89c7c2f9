#include "systemadapters.h"

#include <QNetworkInterface>

QVector<SystemAdapter> systemAdapters()
{
    QVector<SystemAdapter> list;
    for (const QNetworkInterface &adapter : QNetworkInterface::allInterfaces()) {
        SystemAdapter a;
        a.index = adapter.index();
        a.name = adapter.humanReadableName();
        a.systemName = adapter.name();
        for (const QNetworkAddressEntry &entry : adapter.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                a.ipv4 = entry.ip();
                break;
            }
        }
        const auto flags = adapter.flags();
        a.up = flags & QNetworkInterface::IsUp;
        a.canBroadcast = flags & QNetworkInterface::CanBroadcast;
        a.loopback = flags & QNetworkInterface::IsLoopBack;
        list.append(a);
    }
    return list;
}
