#pragma once

#include <QIODevice>

#include <cstdio>

// Standard output or standard error as converter-cli writes to them: UTF-8
// bytes exactly as they are (no line-end translation, so a line break inside
// a quoted CSV cell stays one byte), or, when the stream is a Windows
// console, wide characters, so that names show right whatever the console's
// code page.
class ConsoleDevice : public QIODevice
{
public:
    explicit ConsoleDevice(std::FILE *stream);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    std::FILE *stream;
    void *console = nullptr; // the console's handle on Windows, when it is one
};
