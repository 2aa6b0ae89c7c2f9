#include "input.h"

#include "phrase.h"

#include "commands.h"
#include "messages.h"

#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>

using SettingFields::Field;

namespace {

// englishRefusals: the refusals kept for later are data (watch's CSV and
// JSON events), in English whatever the language.
int readSetArguments(const QStringList &pairs, QVector<SettingFields::Change> *changes,
                     bool englishRefusals = false)
{
    for (const QString &pair : pairs) {
        const int equals = pair.indexOf(QLatin1Char('='));
        Field field;
        if (equals < 0 || !SettingFields::fromName(pair.left(equals), &field))
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "set: '%1' is not FIELD=VALUE with a known field")
                            .arg(pair));
        if (!SettingFields::isWritable(field))
            return fail(
                EXIT_BAD_INPUT,
                Phrase::translate("cli", "set: %1 is read-only").arg(SettingFields::name(field)));
        for (const SettingFields::Change &c : qAsConst(*changes)) {
            if (c.field == field)
                return fail(EXIT_BAD_INPUT, Phrase::translate("cli", "set: %1 given twice")
                                                .arg(SettingFields::name(field)));
        }
        SettingFields::Change change;
        QString message;
        const SettingFields::Verdict verdict =
            SettingFields::parse(field, pair.mid(equals + 1), &change, &message);
        if (verdict == SettingFields::Verdict::Malformed)
            return fail(EXIT_BAD_INPUT, QStringLiteral("set: ") + message);
        // A value the converter may hold but an operator may not type is
        // refused once the converter has answered, unless it holds it.
        if (verdict == SettingFields::Verdict::OutOfRange) {
            if (englishRefusals) {
                Phrase::Untranslated english;
                SettingFields::Change again;
                SettingFields::parse(field, pair.mid(equals + 1), &again, &message);
            }
            change.refusal = QStringLiteral("set: ") + message;
        }
        changes->append(change);
    }
    return EXIT_DONE;
}

int readFleetFile(const QString &path, Input *input)
{
    QFile file;
    bool opened = false;
    if (path == QLatin1String("-")) {
        input->place = Phrase::translate("cli", "(standard input)");
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        input->place = path;
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    const QString &place = input->place;
    if (!opened)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate("cli", "%1: cannot read: %2").arg(place, file.errorString()));
    // A fleet of thousands of converters is a few hundred kilobytes; a larger
    // file is not a fleet file and is not read into memory. A pipe hands
    // over what it holds at the moment, so read on to the end of input.
    constexpr qint64 MAX_FILE = 16 << 20;
    QByteArray data;
    while (data.size() <= MAX_FILE) {
        const QByteArray chunk = file.read(MAX_FILE + 1 - data.size());
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    if (data.size() > MAX_FILE)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate("cli", "%1: larger than 16 MB; not a fleet file").arg(place));
    if (file.error() != QFileDevice::NoError)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate("cli", "%1: cannot read: %2").arg(place, file.errorString()));
    QString error;
    if (!FleetFile::read(data, place, &input->entries, &error))
        return fail(EXIT_BAD_INPUT, error);
    return EXIT_DONE;
}

int readFirstAddress(const QString &text, quint32 *address)
{
    SettingFields::Change change;
    QString message;
    if (SettingFields::parse(Field::Ip, text, &change, &message) != SettingFields::Verdict::Ok)
        return fail(EXIT_BAD_INPUT, QStringLiteral("assign: ") + message);
    *address = QHostAddress(change.text).toIPv4Address();
    const quint32 last = *address & 0xFF;
    if (*address == 0 || last == 0 || last == 255)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate("cli", "assign: %1 is not a converter's address (it ends in "
                                             ".0 or .255, or is 0.0.0.0); nothing sent")
                        .arg(change.text));
    return EXIT_DONE;
}

// A whole date, or date and time to the minute, second or millisecond, in
// UTC unless it names a zone. Read field by field, never through the local
// time zone, whose daylight-saving gaps would move or drop a time.
QDateTime parseSince(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ](\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3}))?)?"
        "(Z|[+-]\\d{2}:?\\d{2})?)?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {};
    const auto number = [&](int group) { return m.captured(group).toInt(); };
    const QDate date(number(1), number(2), number(3));
    const QString fraction = m.captured(7);
    const QTime time(number(4), number(5), number(6),
                     fraction.isEmpty() ? 0 : fraction.leftJustified(3, QLatin1Char('0')).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    int offset = 0;
    const QString zone = m.captured(8);
    if (zone.size() > 1) {
        const QString digits = zone.mid(1).remove(QLatin1Char(':'));
        const int hours = digits.left(2).toInt(), minutes = digits.right(2).toInt();
        if (hours > 14 || minutes > 59)
            return {};
        offset = (zone.at(0) == QLatin1Char('-') ? -1 : 1) * (hours * 3600 + minutes * 60);
    }
    return QDateTime(date, time, Qt::UTC).addSecs(-offset);
}

} // namespace

int readInput(const Invocation &inv, Input *input)
{
    const QString &command = inv.command;
    if (command == QLatin1String("show") || command == QLatin1String("set") ||
        command == QLatin1String("reset") || command == QLatin1String("connect")) {
        input->mac = SettingFields::normaliseMac(inv.arguments.first());
        if (input->mac.isEmpty())
            return fail(
                EXIT_BAD_INPUT,
                Phrase::translate("cli", "'%1' is not a MAC address (12 hexadecimal digits)")
                    .arg(inv.arguments.first()));
    }
    if (command == QLatin1String("history") || command == QLatin1String("revert") ||
        command == QLatin1String("replace") || command == QLatin1String("test")) {
        for (const QString &argument : inv.arguments) {
            const QString mac = SettingFields::normaliseMac(argument);
            if (mac.isEmpty())
                return fail(
                    EXIT_BAD_INPUT,
                    Phrase::translate("cli", "'%1' is not a MAC address (12 hexadecimal digits)")
                        .arg(argument));
            input->macs << mac;
        }
    }
    if (!inv.since.isEmpty()) {
        input->since = parseSince(inv.since);
        if (!input->since.isValid())
            return fail(EXIT_BAD_INPUT,
                        Phrase::translate("cli", "--since '%1' is not a time (2026-12-08 or "
                                                 "2026-12-08T10:30:00, UTC unless it names a zone)")
                            .arg(inv.since));
    }
    // Every command reads its input to the end, so that --output below is
    // opened for each of them.
    if (command == QLatin1String("set")) {
        if (const int status = readSetArguments(inv.arguments.mid(1), &input->changes))
            return status;
    }
    if (command == QLatin1String("apply")) {
        if (const int status = readFleetFile(inv.arguments.first(), input))
            return status;
    }
    if (command == QLatin1String("replace") && !inv.fromFile.isEmpty()) {
        if (const int status = readFleetFile(inv.fromFile, input))
            return status;
    }
    if (command == QLatin1String("assign")) {
        if (const int status = readFirstAddress(inv.arguments.first(), &input->firstAddress))
            return status;
        // With --only the count is known before any probe.
        const quint32 last = input->firstAddress & 0xFF;
        if (last + quint32(inv.only.size()) - 1 > 254 && !inv.only.isEmpty())
            return fail(
                EXIT_BAD_INPUT,
                Phrase::translate("cli",
                                  "assign: %1 converters from %2 would run past .254; nothing sent")
                    .arg(inv.only.size())
                    .arg(QHostAddress(input->firstAddress).toString()));
    }
    if (command == QLatin1String("watch")) {
        if (!inv.applyFile.isEmpty()) {
            if (const int status = readFleetFile(inv.applyFile, input))
                return status;
        } else {
            if (const int status = readFirstAddress(inv.assignFrom, &input->firstAddress))
                return status;
            if (const int status = readSetArguments(inv.arguments, &input->changes,
                                                    inv.format != Invocation::Format::Table))
                return status;
            for (const SettingFields::Change &change : qAsConst(input->changes)) {
                if (change.field == Field::Ip || change.field == Field::Name)
                    return fail(EXIT_BAD_INPUT,
                                Phrase::translate("cli",
                                                  "watch: --assign gives each converter its own "
                                                  "%1; it cannot be a field")
                                    .arg(SettingFields::name(change.field)));
            }
        }
    }
    if (!inv.output.isEmpty()) {
        QString error;
        if (!setOutputFile(inv.output, inv.format == Invocation::Format::Csv,
                           command == QLatin1String("watch"), &error))
            return fail(EXIT_BAD_INPUT, error);
    }
    return EXIT_DONE;
}
