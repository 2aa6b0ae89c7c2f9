#pragma once

#include "devicelink.h"

#include <QString>
#include <QVector>

// What a test of one converter's data path found.
struct DataTestResult
{
    QString mac;     // 12 digits
    QString ip;      // the converter's address
    QString result;  // connected, loopback-ok, loopback-failed, refused, unreachable, untested
    QString where;   // the port the test used: "10.0.0.5:4001/tcp"
    QString message; // why it failed, or what it could not test
    // With a loopback: bytes sent and received, the first offset whose byte
    // came back wrong (-1: none), the first byte's round trip, and the
    // throughput, also as a share of what the line can carry.
    int sent = 0;
    int received = 0;
    int firstWrong = -1;
    double roundTripMs = -1;
    double bytesPerSecond = 0;
    double lineShare = 0;

    bool passed() const
    {
        return result == QLatin1String("connected") || result == QLatin1String("loopback-ok");
    }
};

struct DataTestOptions
{
    bool loopback = false; // send a pattern and expect it back
    int bytes = 4096;
    int timeoutMs = 1000; // to open the path; the pattern may take its line time more
    int parallel = 256;   // converters tested at once
};

// The pseudo-random pattern a loopback test sends to a converter: the same
// for the same MAC, different between converters.
QByteArray testPattern(int size, const QString &mac);

// Opens each converter's data path from this computer, the way its mode
// says, and with a loopback sends the pattern and checks the echo; many at
// once. Results in the order of devices.
QVector<DataTestResult> testDataPaths(const QVector<FoundDevice> &devices,
                                      const DataTestOptions &options);
