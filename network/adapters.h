#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QVector>

// An adapter that probes and frames leave from.
struct LinkInterface
{
    int index = 0;        // 0: no particular adapter, the routing table decides
    QString name;         // as the system shows it to people ("Ethernet 2" on Windows)
    QHostAddress address; // its first IPv4 address; null on a direct cable without one
};

namespace Adapters {

// Every adapter that is up and can broadcast (on Windows: with an IPv4
// address), read afresh; a machine
// with none (loopback only) gets the one entry that leaves the choice to
// the routing table.
QVector<LinkInterface> broadcastCapable();

// The adapters named (by the name people see, or the system's own), in the
// order given, each once. False with a message for a name that no adapter
// has, which lists the adapters there are, or for one that cannot broadcast.
bool choose(const QStringList &names, QVector<LinkInterface> *chosen, QString *error);

// The name people know an adapter by, for an adapter index.
QString displayName(int index);

} // namespace Adapters
