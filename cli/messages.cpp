#include "messages.h"

#include "phrase.h"

#include "console.h"
#include "output.h"
#include "qtcompat.h"

#include <QFile>

#include <memory>

namespace {

QTextStream &stream(std::FILE *file)
{
    // One device and stream per standard stream, for the whole run.
    static ConsoleDevice outDevice(stdout);
    static ConsoleDevice errDevice(stderr);
    static QTextStream out(&outDevice);
    static QTextStream error(&errDevice);
    static const bool ready = [] {
        QtCompat::setUtf8(out);
        QtCompat::setUtf8(error);
        return true;
    }();
    Q_UNUSED(ready);
    return file == stderr ? error : out;
}

std::unique_ptr<QFile> outputFile;
bool outputWasEmpty = true;
QString outputError; // the first failure to write the results

} // namespace

QTextStream &err()
{
    return stream(stderr);
}

void warn(const QString &message)
{
    // Messages quote names and cells that anyone could have written.
    err() << "converter-cli: " << Output::visible(message) << Qt::endl;
}

int fail(int status, const QString &message)
{
    warn(message);
    return status;
}

void print(const QString &text)
{
    if (outputFile && outputError.isEmpty()) {
        const QByteArray bytes = text.toUtf8();
        if (outputFile->write(bytes) == bytes.size() && outputFile->flush())
            return;
        // What the file did not take goes to standard output, so that the
        // results of frames already sent are not lost.
        outputError = Phrase::translate("cli", "%1: cannot write: %2 (the results went to standard "
                                               "output instead)")
                          .arg(outputFile->fileName(), outputFile->errorString());
    }
    QTextStream &out = stream(stdout);
    out << text;
    out.flush();
    if (out.status() != QTextStream::Ok && outputError.isEmpty())
        outputError = Phrase::translate("cli", "cannot write the results to standard output");
}

bool setOutputFile(const QString &path, bool csv, bool append, QString *error)
{
    outputFile = std::make_unique<QFile>(path);
    if (!outputFile->open(QIODevice::WriteOnly |
                          (append ? QIODevice::Append : QIODevice::Truncate))) {
        *error =
            Phrase::translate("cli", "%1: cannot write: %2").arg(path, outputFile->errorString());
        outputFile.reset();
        return false;
    }
    outputWasEmpty = outputFile->size() == 0;
    if (csv && outputWasEmpty)
        outputFile->write("\xEF\xBB\xBF");
    return true;
}

bool outputStartsEmpty()
{
    return outputWasEmpty;
}

bool commitOutputFile(QString *error)
{
    if (outputError.isEmpty() && outputFile &&
        (!outputFile->flush() || outputFile->error() != QFileDevice::NoError))
        outputError = Phrase::translate("cli", "%1: cannot write: %2")
                          .arg(outputFile->fileName(), outputFile->errorString());
    *error = outputError;
    return outputError.isEmpty();
}
