#include "stdinreader.h"

#include <thread>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#define READ_STDIN(buffer, size) _read(0, buffer, unsigned(size))
#define STDIN_IS_TERMINAL() _isatty(0)
#else
#include <unistd.h>
#define READ_STDIN(buffer, size) ::read(0, buffer, size_t(size))
#define STDIN_IS_TERMINAL() ::isatty(0)
#endif

StdinReader *StdinReader::instance()
{
    static StdinReader *reader = [] {
        auto *r = new StdinReader;
#ifdef Q_OS_WIN
        _setmode(0, _O_BINARY); // bytes as they are, CR LF included
#endif
        std::thread([r] {
            char buffer[4096];
            for (;;) {
                const auto n = READ_STDIN(buffer, sizeof buffer);
                if (n <= 0)
                    break;
                const QByteArray bytes(buffer, int(n));
                QMetaObject::invokeMethod(
                    r, [r, bytes] { emit r->received(bytes); }, Qt::QueuedConnection);
            }
            QMetaObject::invokeMethod(
                r, [r] { emit r->ended(); }, Qt::QueuedConnection);
        }).detach();
        return r;
    }();
    return reader;
}

bool StdinReader::isTerminal()
{
    return STDIN_IS_TERMINAL() != 0;
}
