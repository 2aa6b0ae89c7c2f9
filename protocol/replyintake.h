#pragma once

#include <QByteArray>
#include <QString>

// Decides whether a datagram that arrived on the device port is a converter's
// reply, and what its plaintext is. Needs no socket and no widget, so the
// window, the tests and other programs share one piece of code.
namespace ReplyIntake {

// The tests in the order they are made; each verdict but Accepted drops.
enum class Verdict {
    Probe,         // a search probe, normally our own broadcast coming back
    ForeignPort,   // not sent from the device port
    WrongSize,     // not exactly one frame long
    BadChecksum,   // decrypted, but the checksum does not hold
    ConfigureEcho, // a configure request, normally our own broadcast coming back
    Accepted,
};

struct Result
{
    Verdict verdict = Verdict::Probe;
    // The 64 decrypted bytes, for the verdicts that got as far as decryption.
    QByteArray plaintext;
};

Result examine(const QByteArray &datagram, quint16 senderPort);

// True when the verdict got as far as decryption, so the plaintext is logged.
bool decrypted(Verdict verdict);

// The debug-log line written for every datagram: "address:port[length]:HEX".
QString datagramLogLine(const QString &senderAddress, quint16 senderPort,
                        const QByteArray &datagram);

// The converter's address as the device table shows it: the dotted IPv4 part
// of an IPv4-mapped sender ("::ffff:192.168.1.7"), or the whole text when
// there is no such part (a plain IPv4 text, or an IPv6 sender).
QString deviceIpFromSender(const QString &senderAddress);

} // namespace ReplyIntake
