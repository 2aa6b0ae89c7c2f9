#include "messages.h"

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(int status, const QString &message)
{
    err() << "converter-cli: " << message << Qt::endl;
    return status;
}

void print(const QString &text)
{
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    out << text;
}
