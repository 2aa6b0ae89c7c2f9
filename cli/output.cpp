#include "output.h"

#include "csv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

namespace Output {

using CliFields::Field;

namespace {

QString jsonString(const QString &text)
{
    // Qt's own escaping, without the array around the one value.
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString jsonValue(Field field, const QString &text)
{
    bool ok = false;
    text.toUInt(&ok);
    return CliFields::isNumeric(field) && ok ? text : jsonString(text);
}

// Columns padded to their widest cell.
QString table(const QVector<QStringList> &rows)
{
    QVector<int> widths;
    for (const QStringList &row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths.at(c), row.at(c).size());
    }
    QString out;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths.at(c) + 2) : row.at(c);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}

QString csv(const QVector<QStringList> &rows)
{
    QString out;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row)
            cells << Csv::cell(cell);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString devices(const QVector<FoundDevice> &found, Invocation::Format format)
{
    const QVector<Field> &fields = CliFields::all();
    if (format == Invocation::Format::Json) {
        QStringList objects;
        for (const FoundDevice &d : found) {
            QStringList members;
            for (const Field field : fields) {
                members << jsonString(CliFields::name(field)) + QLatin1Char(':') +
                               jsonValue(field, CliFields::text(d.record, d.interfaceName, field));
            }
            objects << QLatin1Char('{') + members.join(QLatin1Char(',')) + QLatin1Char('}');
        }
        return objects.isEmpty() ? QStringLiteral("[]\n")
                                 : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) +
                                       QStringLiteral("\n]\n");
    }
    QVector<QStringList> rows;
    QStringList header;
    for (const Field field : fields)
        header << CliFields::name(field);
    rows << header;
    for (const FoundDevice &d : found) {
        QStringList row;
        for (const Field field : fields)
            row << CliFields::text(d.record, d.interfaceName, field);
        rows << row;
    }
    return format == Invocation::Format::Csv ? csv(rows) : table(rows);
}

QString report(const QVector<Line> &lines, Invocation::Format format)
{
    if (format == Invocation::Format::Json) {
        QStringList objects;
        for (const Line &line : lines) {
            QStringList diffs;
            const bool dry = line.result == QLatin1String("dry-run");
            const QString first = dry ? QStringLiteral("before") : QStringLiteral("sent");
            const QString second = dry ? QStringLiteral("after") : QStringLiteral("reported");
            for (const Line::Difference &d : line.differences) {
                diffs << QStringLiteral("{\"field\":%1,\"%2\":%3,\"%4\":%5}")
                             .arg(jsonString(CliFields::name(d.field)), first,
                                  jsonValue(d.field, d.first), second,
                                  jsonValue(d.field, d.second));
            }
            QString object = QStringLiteral("{\"mac\":%1,\"result\":%2,\"fields\":[%3]")
                                 .arg(jsonString(line.mac), jsonString(line.result),
                                      diffs.join(QLatin1Char(',')));
            if (!line.frame.isEmpty())
                object += QStringLiteral(",\"frame\":%1").arg(jsonString(line.frame));
            objects << object + QLatin1Char('}');
        }
        return objects.isEmpty() ? QStringLiteral("[]\n")
                                 : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) +
                                       QStringLiteral("\n]\n");
    }
    if (format == Invocation::Format::Csv) {
        QVector<QStringList> rows{{"mac", "result", "field", "first", "second"}};
        for (const Line &line : lines) {
            if (line.differences.isEmpty())
                rows << QStringList{line.mac, line.result, QString(), QString(), QString()};
            for (const Line::Difference &d : line.differences)
                rows << QStringList{line.mac, line.result, CliFields::name(d.field), d.first,
                                    d.second};
            if (!line.frame.isEmpty())
                rows << QStringList{line.mac, line.result, QStringLiteral("frame"), QString(),
                                    line.frame};
        }
        return csv(rows);
    }
    QString out;
    for (const Line &line : lines) {
        out += line.mac + QStringLiteral("  ") + line.result + QLatin1Char('\n');
        const bool dry = line.result == QLatin1String("dry-run");
        QVector<QStringList> rows;
        for (const Line::Difference &d : line.differences) {
            rows << (dry ? QStringList{QStringLiteral("  ") + CliFields::name(d.field), d.first,
                                       QStringLiteral("->"), d.second}
                         : QStringList{QStringLiteral("  ") + CliFields::name(d.field),
                                       QStringLiteral("sent"), d.first, QStringLiteral("reported"),
                                       d.second});
        }
        out += table(rows);
        if (!line.frame.isEmpty())
            out += QStringLiteral("  frame  ") + line.frame + QLatin1Char('\n');
    }
    return out;
}

} // namespace Output
