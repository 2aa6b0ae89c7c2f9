#include "privatenetwork.h"

#include <QNetworkInterface>
#include <QStringList>

QString privateNetworkProblem()
{
    // Asked of the kernel through this process's own namespace (sysfs would
    // show the namespace of whoever mounted it).
    QStringList foreign;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        if (!(interface.flags() & QNetworkInterface::IsLoopBack))
            foreign << interface.name();
    }
    if (!foreign.isEmpty()) {
        return QStringLiteral("this test opens UDP port 1500 and broadcasts, so it must run inside "
                              "a private network namespace with only loopback (run it through "
                              "'make test'); interfaces seen here: %1")
            .arg(foreign.join(QStringLiteral(", ")));
    }
    return QString();
}
