#pragma once

#include "devicelink.h"

#include <QSet>
#include <QVector>

// One probe, then the first answer of every converter, in order of arrival,
// until timeoutMs has passed; sooner once every MAC in wanted has answered.
QVector<FoundDevice> searchDevices(DeviceLink &link, int timeoutMs,
                                   const QSet<QString> &wanted = QSet<QString>());
