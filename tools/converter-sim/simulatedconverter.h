#pragma once

#include "devicerecord.h"

#include <QByteArray>
#include <QHostAddress>
#include <QSet>
#include <QString>

// Ways a converter can misbehave on demand.
enum class Fault {
    AnswerTwice,  // every reply is sent twice
    WrongKey,     // replies are encrypted under another key
    BadChecksum,  // replies carry a wrong checksum
    Short,        // replies are 63 bytes long
    Long,         // replies are 65 bytes long
    ForeignPort,  // replies leave from port 1501
    Restart,      // after a write, silent for the restart time, then answers anew
    IgnoreWrites, // takes configure frames but keeps its settings
    Partial,      // applies a write's network settings but not its serial ones
    DataClosed,   // its data port refuses connections and datagrams
    Garbled,      // its serial side runs at another baud: every byte comes back wrong
    Dropped,      // its serial side loses one byte in 97
    Reset,        // a data connection is reset after its first 1024 bytes
};

inline uint qHash(Fault fault, uint seed = 0)
{
    return ::qHash(int(fault), seed);
}

QString faultName(Fault fault);
bool faultFromName(const QString &name, Fault *fault);
QList<Fault> allFaults();

// One converter: its identity, its settings as a record, and its faults.
struct SimulatedConverter
{
    DeviceRecord settings; // mac, version and nameBytes included
    // The type, mode and serial bytes as the converter holds them, bits that
    // no tool shows included; the indices in settings are read from them.
    quint8 typeByte = 0;
    quint8 modeByte = 1;
    quint8 serialByte = 0x03;
    QHostAddress replyFrom; // the address its replies leave from
    QSet<Fault> faults;
    bool loopback = false; // a loopback plug on its serial port: what it sends comes back
    int configureCount = 0; // configure frames applied since the state began

    // Sets the three bytes from the indices in settings.
    void bytesFromSettings();
    // Sets the indices in settings from the three bytes.
    void settingsFromBytes();

    // Its settings as the 64 bytes of a reply, before the checksum.
    QByteArray plaintext() const;
    // The datagram it sends in answer to a probe.
    QByteArray replyDatagram() const;

    // Applies a decrypted, checksum-valid configure frame addressed to it,
    // as far as its faults let it. Returns false (and changes nothing) for
    // any other plaintext.
    bool applyConfigure(const QByteArray &plaintext);
};

// The plaintext of a datagram when it is a configure request with a valid
// checksum; an empty array otherwise.
QByteArray configurePlaintext(const QByteArray &datagram);
