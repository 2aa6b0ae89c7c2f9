#include "search.h"

#include <QEventLoop>
#include <QTimer>

QVector<FoundDevice> searchDevices(DeviceLink &link, int timeoutMs, const QSet<QString> &wanted)
{
    QVector<FoundDevice> found;
    QSet<QString> macs;
    QSet<QString> missing = wanted;
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    const auto connection =
        QObject::connect(&link, &DeviceLink::replied, &loop, [&](const FoundDevice &device) {
            if (macs.contains(device.record.mac))
                return;
            macs.insert(device.record.mac);
            found.append(device);
            missing.remove(device.record.mac);
            if (!wanted.isEmpty() && missing.isEmpty())
                loop.quit();
        });
    link.sendProbe();
    loop.exec();
    QObject::disconnect(connection);
    return found;
}
