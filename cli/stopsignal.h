#pragma once

#include <QObject>

// Ctrl-C and its kin as a Qt signal on the main thread: SIGINT and SIGTERM
// on Linux, the console's Ctrl-C, Ctrl-Break and close events on Windows.
class StopSignal : public QObject
{
    Q_OBJECT

public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

signals:
    void requested();

private slots:
    void deliver();
};

// Closing the console window, logging off or shutting down gives a Windows
// program a few seconds before the system ends it. The console handler
// holds the process until the run says it has finished (its results and
// journal written) or those seconds are nearly up, and meanwhile tells the
// main thread to stop waiting for verification, so that a write in flight
// gets its outcome journaled. Elsewhere nothing closes a run this way.
class CloseGuard : public QObject
{
    Q_OBJECT

public:
    // Once, at the start of the program.
    static void install();
    // The one guard, living on the main thread.
    static CloseGuard *instance();
    // Whether the console is closing: nothing new should be sent.
    static bool closing();
    // The run's record is written: the handler may let the system end it.
    static void finished();

signals:
    // Delivered on the main thread when the console closes.
    void closeRequested();

private slots:
    void deliver();
};
