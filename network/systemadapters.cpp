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
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                a.ipv4All.append(entry.ip());
        }
        if (!a.ipv4All.isEmpty())
            a.ipv4 = a.ipv4All.first();
        const auto flags = adapter.flags();
        a.up = flags & QNetworkInterface::IsUp;
        a.canBroadcast = flags & QNetworkInterface::CanBroadcast;
        a.loopback = flags & QNetworkInterface::IsLoopBack;
        list.append(a);
    }
    return list;
}
