#include "stopsignal.h"

#include <QMetaObject>

#include <atomic>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

StopSignal *instance = nullptr;
std::atomic<bool> closingNow{false};

#ifdef Q_OS_WIN
HANDLE finishedEvent = nullptr;
// Windows ends the process 5 s after a close event; the rest is kept for the
// system's own work.
constexpr DWORD CLOSE_WAIT_MS = 4500;

// Runs on a thread of the system's: hand the event to the main thread.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        if (!instance)
            return FALSE;
        QMetaObject::invokeMethod(instance, "deliver", Qt::QueuedConnection);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        closingNow = true;
        if (instance)
            QMetaObject::invokeMethod(instance, "deliver", Qt::QueuedConnection);
        QMetaObject::invokeMethod(CloseGuard::instance(), "deliver", Qt::QueuedConnection);
        if (finishedEvent)
            WaitForSingleObject(finishedEvent, CLOSE_WAIT_MS);
        return TRUE; // the system ends the process now
    default:
        return FALSE;
    }
}
#else
int pipeEnds[2] = {-1, -1};

// Only what is safe in a signal handler: one byte into a socket.
void onSignal(int)
{
    const char byte = 1;
    (void)!::write(pipeEnds[1], &byte, 1);
}
#endif

} // namespace

StopSignal::StopSignal(QObject *parent) : QObject(parent)
{
    instance = this;
#ifndef Q_OS_WIN
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0)
        return;
    auto *notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [] {
        char byte;
        (void)!::read(pipeEnds[0], &byte, 1);
        if (instance)
            instance->deliver();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

StopSignal::~StopSignal()
{
#ifndef Q_OS_WIN
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
#endif
    instance = nullptr;
}

void StopSignal::deliver()
{
    emit requested();
}

void CloseGuard::install()
{
    instance();
#ifdef Q_OS_WIN
    finishedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#endif
}

CloseGuard *CloseGuard::instance()
{
    static CloseGuard guard;
    return &guard;
}

bool CloseGuard::closing()
{
    return closingNow;
}

void CloseGuard::finished()
{
#ifdef Q_OS_WIN
    if (finishedEvent)
        SetEvent(finishedEvent);
#endif
}

void CloseGuard::deliver()
{
    emit closeRequested();
}
