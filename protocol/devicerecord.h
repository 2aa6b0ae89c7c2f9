#pragma once

#include <QByteArray>
#include <QString>

// One converter's settings as the tool holds them: texts ready for the form's
// line edits and combo-box indices. Numbers are converted only at the frame
// boundary.
struct DeviceRecord
{
    QString mac;     // 12 upper-case hexadecimal digits; the converter's identity
    QString version; // "major.minor"
    QString lip;     // the converter's own address
    QString sip;     // remote address
    QString subnet;
    QString gaw; // gateway
    QString lport;
    QString sport;
    QString baud;
    QString deviceName;
    int mode = 0;
    int ipType = 0;
    bool random = false;
    int parity = 0;
    int dataBit = 0;
    int stopBit = 0;
    QString deviceIp; // where the reply came from; not in the frame

    // The name bytes exactly as the converter reported them, so that a
    // configure frame gives the converter back its own name whatever the
    // encoding. Empty for a record that was not decoded from a reply.
    QByteArray nameBytes;
};
