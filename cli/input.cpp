#include "input.h"

#include "commands.h"
#include "messages.h"

#include <QFile>
#include <QHostAddress>

using CliFields::Field;

namespace {

int readSetArguments(const QStringList &pairs, QVector<CliFields::Change> *changes)
{
    for (const QString &pair : pairs) {
        const int equals = pair.indexOf(QLatin1Char('='));
        Field field;
        if (equals < 0 || !CliFields::fromName(pair.left(equals), &field))
            return fail(
                EXIT_BAD_INPUT,
                QStringLiteral("set: '%1' is not FIELD=VALUE with a known field").arg(pair));
        if (!CliFields::isWritable(field))
            return fail(EXIT_BAD_INPUT,
                        QStringLiteral("set: %1 is read-only").arg(CliFields::name(field)));
        for (const CliFields::Change &c : qAsConst(*changes)) {
            if (c.field == field)
                return fail(EXIT_BAD_INPUT,
                            QStringLiteral("set: %1 given twice").arg(CliFields::name(field)));
        }
        CliFields::Change change;
        QString message;
        if (CliFields::parse(field, pair.mid(equals + 1), &change, &message) !=
            CliFields::Verdict::Ok)
            return fail(EXIT_BAD_INPUT, QStringLiteral("set: ") + message);
        changes->append(change);
    }
    return EXIT_DONE;
}

int readFleetFile(const QString &path, Input *input)
{
    QFile file;
    bool opened = false;
    if (path == QLatin1String("-")) {
        input->place = QStringLiteral("(standard input)");
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        input->place = path;
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    const QString &place = input->place;
    if (!opened)
        return fail(EXIT_BAD_INPUT,
                    QStringLiteral("%1: cannot read: %2").arg(place, file.errorString()));
    // A fleet of thousands of converters is a few hundred kilobytes; a larger
    // file is not a fleet file and is not read into memory.
    constexpr qint64 MAX_FILE = 16 << 20;
    const QByteArray data = file.read(MAX_FILE + 1);
    if (data.size() > MAX_FILE)
        return fail(EXIT_BAD_INPUT,
                    QStringLiteral("%1: larger than 16 MB; not a fleet file").arg(place));
    if (file.error() != QFileDevice::NoError)
        return fail(EXIT_BAD_INPUT,
                    QStringLiteral("%1: cannot read: %2").arg(place, file.errorString()));
    QString error;
    if (!FleetFile::read(data, place, &input->entries, &error))
        return fail(EXIT_BAD_INPUT, error);
    return EXIT_DONE;
}

} // namespace

int readInput(const Invocation &inv, Input *input)
{
    const QString &command = inv.command;
    if (command == QLatin1String("show") || command == QLatin1String("set") ||
        command == QLatin1String("reset")) {
        input->mac = CliFields::normaliseMac(inv.arguments.first());
        if (input->mac.isEmpty())
            return fail(EXIT_BAD_INPUT,
                        QStringLiteral("'%1' is not a MAC address (12 hexadecimal digits)")
                            .arg(inv.arguments.first()));
    }
    if (command == QLatin1String("set"))
        return readSetArguments(inv.arguments.mid(1), &input->changes);
    if (command == QLatin1String("apply"))
        return readFleetFile(inv.arguments.first(), input);
    if (command == QLatin1String("assign")) {
        CliFields::Change change;
        QString message;
        if (CliFields::parse(Field::Ip, inv.arguments.first(), &change, &message) !=
            CliFields::Verdict::Ok)
            return fail(EXIT_BAD_INPUT, QStringLiteral("assign: ") + message);
        input->firstAddress = QHostAddress(change.text).toIPv4Address();
    }
    return EXIT_DONE;
}
