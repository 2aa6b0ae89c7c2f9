#pragma once

#include <QString>
#include <QTextStream>

// Where converter-cli's words go: data to standard output or to the --output
// file (UTF-8), messages to standard error.
QTextStream &err();
// Prints "converter-cli: MESSAGE" to standard error.
void warn(const QString &message);
// The same, returning status.
int fail(int status, const QString &message);
void print(const QString &text);

// Sends what print() prints to path instead, byte for byte; a CSV file
// starts with a byte-order mark. False with a message when it cannot be
// written.
// With append, what is there stays and each print() goes to disk at once.
bool setOutputFile(const QString &path, bool csv, bool append, QString *error);
// Whether what print() writes starts a file (or goes to standard output),
// so that a header belongs at the top.
bool outputStartsEmpty();
// Finishes the --output file, if there is one; false with the first
// failure to write the results (to the file or to standard output).
bool commitOutputFile(QString *error);
