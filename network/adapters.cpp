#include "adapters.h"

#include <QNetworkInterface>

namespace {

QHostAddress firstIpv4(const QNetworkInterface &adapter)
{
    for (const QNetworkAddressEntry &entry : adapter.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return entry.ip();
    }
    return QHostAddress();
}

bool canBroadcastIpv4(const QNetworkInterface &adapter)
{
    const auto flags = adapter.flags();
    if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::CanBroadcast) ||
        (flags & QNetworkInterface::IsLoopBack))
        return false;
    return !firstIpv4(adapter).isNull();
}

// Windows shows "Wi-Fi" and "Ethernet 2" where Qt's own name is
// "wireless_32768"; on Linux both are the same.
LinkInterface linkOf(const QNetworkInterface &adapter)
{
    return {adapter.index(), adapter.humanReadableName(), firstIpv4(adapter)};
}

QNetworkInterface byName(const QList<QNetworkInterface> &adapters, const QString &name)
{
    for (const QNetworkInterface &adapter : adapters) {
        if (adapter.humanReadableName().compare(name, Qt::CaseInsensitive) == 0 ||
            adapter.name() == name)
            return adapter;
    }
    return QNetworkInterface();
}

} // namespace

namespace Adapters {

QVector<LinkInterface> broadcastCapable()
{
    QVector<LinkInterface> chosen;
    for (const QNetworkInterface &adapter : QNetworkInterface::allInterfaces()) {
        if (canBroadcastIpv4(adapter))
            chosen.append(linkOf(adapter));
    }
    if (chosen.isEmpty())
        chosen.append(LinkInterface());
    return chosen;
}

bool choose(const QStringList &names, QVector<LinkInterface> *chosen, QString *error)
{
    chosen->clear();
    if (names.isEmpty()) {
        *chosen = broadcastCapable();
        return true;
    }
    const QList<QNetworkInterface> adapters = QNetworkInterface::allInterfaces();
    for (const QString &name : names) {
        const QNetworkInterface adapter = byName(adapters, name);
        if (!adapter.isValid()) {
            QStringList known;
            for (const QNetworkInterface &a : adapters)
                known << QStringLiteral("'%1'").arg(a.humanReadableName());
            *error = QStringLiteral("no network interface named '%1' (there are: %2)")
                         .arg(name, known.join(QStringLiteral(", ")));
            return false;
        }
        if (!canBroadcastIpv4(adapter)) {
            *error =
                QStringLiteral("interface '%1' is not up with an IPv4 broadcast address").arg(name);
            return false;
        }
        const LinkInterface link = linkOf(adapter);
        bool listed = false;
        for (const LinkInterface &i : qAsConst(*chosen))
            listed |= i.index == link.index;
        if (!listed)
            chosen->append(link);
    }
    return true;
}

QString displayName(int index)
{
    const QNetworkInterface adapter = QNetworkInterface::interfaceFromIndex(index);
    return adapter.isValid() ? adapter.humanReadableName() : QString();
}

} // namespace Adapters
