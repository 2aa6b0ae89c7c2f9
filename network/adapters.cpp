#include "adapters.h"

#include "phrase.h"

#include "systemadapters.h"

namespace {

// An adapter with no IPv4 address still reaches a converter on a direct
// cable (no DHCP server there to give it one): the probe leaves from
// 0.0.0.0 and the answer comes back as a broadcast. Windows gives such an
// adapter a 169.254 address, and its sockets are bound to addresses.
bool canBroadcastIpv4(const SystemAdapter &adapter)
{
#ifdef Q_OS_WIN
    if (adapter.ipv4.isNull())
        return false;
#endif
    return adapter.up && adapter.canBroadcast && !adapter.loopback;
}

LinkInterface linkOf(const SystemAdapter &adapter)
{
    return {adapter.index, adapter.name, adapter.ipv4};
}

// By the name people see (any case, as Windows treats it) or the system's own.
const SystemAdapter *byName(const QVector<SystemAdapter> &adapters, const QString &name)
{
    for (const SystemAdapter &adapter : adapters) {
        if (adapter.name.compare(name, Qt::CaseInsensitive) == 0 || adapter.systemName == name)
            return &adapter;
    }
    return nullptr;
}

} // namespace

namespace Adapters {

QVector<LinkInterface> broadcastCapable()
{
    QVector<LinkInterface> chosen;
    for (const SystemAdapter &adapter : systemAdapters()) {
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
    const QVector<SystemAdapter> adapters = systemAdapters();
    for (const QString &name : names) {
        const SystemAdapter *adapter = byName(adapters, name);
        if (!adapter) {
            QStringList known;
            for (const SystemAdapter &a : adapters)
                known << QStringLiteral("'%1'").arg(a.name);
            *error = Phrase::translate("link", "no network interface named '%1' (there are: %2)")
                         .arg(name, known.join(QStringLiteral(", ")));
            return false;
        }
        if (!canBroadcastIpv4(*adapter)) {
            *error = Phrase::translate("link", "interface '%1' is not up and able to broadcast")
                         .arg(name);
            return false;
        }
        const LinkInterface link = linkOf(*adapter);
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
    for (const SystemAdapter &adapter : systemAdapters()) {
        if (adapter.index == index)
            return adapter.name;
    }
    return QString();
}

} // namespace Adapters
