#include "privatenetwork.h"

#include <QFileInfo>
#include <QNetworkInterface>
#include <QStringList>

QString privateNetworkProblem()
{
    // The machine's own namespace is the one its first process runs in.
    const QString ours = QFileInfo(QStringLiteral("/proc/self/ns/net")).symLinkTarget();
    const QString machine = QFileInfo(QStringLiteral("/proc/1/ns/net")).symLinkTarget();
    if (!ours.isEmpty() && ours == machine) {
        return QStringLiteral("this test opens UDP port 1500 and broadcasts, so it must run inside "
                              "a private network namespace (run it through 'make test'), not in "
                              "the machine's own network");
    }
    // Asked of the kernel through this process's own namespace (sysfs would
    // show the namespace of whoever mounted it). Loopback and the private test
    // network's links are all a test may see.
    QStringList foreign;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const bool loopback = interface.flags() & QNetworkInterface::IsLoopBack;
        if (!loopback && !interface.name().startsWith(QLatin1String("cvl")))
            foreign << interface.name();
    }
    if (!foreign.isEmpty()) {
        return QStringLiteral("this test opens UDP port 1500 and broadcasts, so it must run inside "
                              "a private network namespace with only loopback or the test "
                              "network (run it through 'make test'); interfaces seen here: %1")
            .arg(foreign.join(QStringLiteral(", ")));
    }
    return QString();
}
