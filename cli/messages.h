#pragma once

#include <QString>
#include <QTextStream>

// Where converter-cli's words go: data to standard output (UTF-8), messages
// to standard error.
QTextStream &err();
// Prints "converter-cli: MESSAGE" to standard error and returns status.
int fail(int status, const QString &message);
void print(const QString &text);
