#include "stopsignal.h"

#include <QMetaObject>

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

#ifdef Q_OS_WIN
// Runs on a thread of the system's: hand the event to the main thread.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (!instance ||
        (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT))
        return FALSE;
    QMetaObject::invokeMethod(instance, "deliver", Qt::QueuedConnection);
    return TRUE;
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
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
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
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
#else
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
#endif
    instance = nullptr;
}

void StopSignal::deliver()
{
    emit requested();
}
