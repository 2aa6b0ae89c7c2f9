#pragma once

#include <QByteArray>
#include <QObject>

// Standard input, read on a thread of its own and delivered on the main
// thread as it comes: the same for a terminal, a pipe or a file, on Linux
// and on Windows (where a console handle cannot be watched by the event
// loop). One for the program's life, since a blocked read cannot be undone.
class StdinReader : public QObject
{
    Q_OBJECT

public:
    // Starts reading on first use.
    static StdinReader *instance();
    // Whether standard input is a terminal (someone may type).
    static bool isTerminal();

signals:
    void received(const QByteArray &bytes);
    void ended();

private:
    StdinReader() = default;
};
