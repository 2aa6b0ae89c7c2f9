#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A pseudo-terminal whose device is linked at a path, so that a serial
// program opens the path as if it were a local serial port (Linux).
class PseudoTerminal : public QObject
{
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    // Removes the link.
    ~PseudoTerminal() override;

    // Creates it, raw at the line's baud, and links it; false with a
    // message. An existing link to another pseudo-terminal is replaced;
    // anything else at the path is left alone and refused.
    bool open(const QString &link, int baud, QString *error);
    void write(const QByteArray &bytes);
    // What the program reads from is held back while paused (a lost
    // connection): its writes wait in the terminal's buffer.
    void setPaused(bool paused);
    // The speed and framing the program set: "9600 8N1".
    QString lineSettings() const;

signals:
    void received(const QByteArray &bytes);
    // The program set the line to other settings.
    void lineChanged(const QString &settings);

private:
    void readMaster();
    void pollSettings();

    int master = -1;
    int slave = -1; // held open, so that the terminal lives between programs
    QString linkPath;
    QString lastSettings;
    QSocketNotifier *notifier = nullptr;
};
