#include "console.h"

#include <QString>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

ConsoleDevice::ConsoleDevice(std::FILE *stream) : stream(stream)
{
#ifdef Q_OS_WIN
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode))
        console = handle;
    else
        _setmode(_fileno(stream), _O_BINARY); // a file or a pipe gets the bytes as they are
#endif
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ConsoleDevice::writeData(const char *data, qint64 size)
{
#ifdef Q_OS_WIN
    if (console) {
        // Each write is whole characters: the text stream encodes whole strings.
        const QString text = QString::fromUtf8(data, int(size));
        DWORD written = 0;
        WriteConsoleW(console, reinterpret_cast<const wchar_t *>(text.utf16()), DWORD(text.size()),
                      &written, nullptr);
        return size;
    }
#endif
    const size_t written = std::fwrite(data, 1, size_t(size), stream);
    std::fflush(stream);
    return written == size_t(size) ? size : -1;
}
