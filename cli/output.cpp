#include "output.h"

#include "csv.h"

#include "phrase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMultiHash>
#include <QStringList>

namespace Output {

using SettingFields::Field;

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
    return SettingFields::isNumeric(field) && ok ? text : jsonString(text);
}

// Columns a terminal gives the text: two for each wide (East Asian) letter.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

// Columns padded to their widest cell. A converter's name is whatever
// someone on the segment wrote, so control characters are shown as \x1B
// rather than sent to the terminal.
QString table(QVector<QStringList> rows)
{
    for (QStringList &row : rows) {
        for (QString &cell : row)
            cell = visible(cell);
    }
    QVector<int> widths;
    for (const QStringList &row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths.at(c), displayWidth(row.at(c)));
    }
    QString out;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size()
                        ? row.at(c) +
                              QString(widths.at(c) + 2 - displayWidth(row.at(c)), QLatin1Char(' '))
                        : row.at(c);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}

// Names and messages come from anyone on the segment: a cell that a
// spreadsheet would run as a formula is written as its text.
QString csv(const QVector<QStringList> &rows, bool guardFormulas = true)
{
    QString out;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row)
            cells << Csv::cell(guardFormulas && Csv::wouldRunAsFormula(cell)
                                   ? Csv::asSpreadsheetText(cell)
                                   : cell);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString visible(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x") +
                   QString::number(u, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString devices(const QVector<FoundDevice> &found, const QVector<SegmentCheck::Problem> &problems,
                Invocation::Format format)
{
    const QVector<Field> &fields = SettingFields::all();
    QMultiHash<QString, SegmentCheck::Problem> problemsOf;
    for (auto p = problems.crbegin(); p != problems.crend(); ++p)
        problemsOf.insert(p->mac, *p); // values() gives them back in order
    const auto codes = [&](const FoundDevice &d) {
        QStringList list;
        for (const SegmentCheck::Problem &p : problemsOf.values(d.record.mac))
            list << p.codeName();
        return list.join(QLatin1Char(' '));
    };
    const auto reportOf = [](const FoundDevice &d) {
        return SettingFields::Report{d.plaintext, d.record.deviceIp, d.interfaceName};
    };
    if (format == Invocation::Format::Json) {
        QStringList objects;
        for (const FoundDevice &d : found) {
            QStringList members;
            for (const Field field : fields) {
                members << jsonString(SettingFields::name(field)) + QLatin1Char(':') +
                               jsonValue(field, SettingFields::text(reportOf(d), field));
                // The name's bytes as they are, whatever their encoding.
                if (field == Field::Name)
                    members << QStringLiteral("\"name-hex\":") +
                                   jsonString(QString::fromLatin1(d.record.nameBytes.toHex()));
            }
            QStringList listed;
            for (const SegmentCheck::Problem &p : problemsOf.values(d.record.mac)) {
                QString object = QStringLiteral("{\"code\":%1,\"field\":%2")
                                     .arg(jsonString(p.codeName()), jsonString(p.field()));
                if (p.code == SegmentCheck::Code::DuplicateIp)
                    object +=
                        QStringLiteral(",\"other\":") + jsonString(SettingFields::macText(p.other));
                else if (p.code == SegmentCheck::Code::HostAddress)
                    object += QStringLiteral(",\"adapter\":") + jsonString(p.other);
                Phrase::Untranslated english; // JSON is data, the same in every language
                listed << object + QStringLiteral(",\"message\":") + jsonString(p.message()) +
                              QLatin1Char('}');
            }
            members << QStringLiteral("\"problems\":[") + listed.join(QLatin1Char(',')) +
                           QLatin1Char(']');
            objects << QLatin1Char('{') + members.join(QLatin1Char(',')) + QLatin1Char('}');
        }
        return objects.isEmpty() ? QStringLiteral("[]\n")
                                 : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) +
                                       QStringLiteral("\n]\n");
    }
    QVector<QStringList> rows;
    QStringList header;
    for (const Field field : fields)
        header << SettingFields::name(field);
    header << QStringLiteral("problems");
    rows << header;
    const bool spreadsheet = format == Invocation::Format::Csv;
    for (const FoundDevice &d : found) {
        QStringList row;
        for (const Field field : fields) {
            QString text = SettingFields::text(reportOf(d), field);
            // A fleet file goes through spreadsheets: a name such as 0012
            // and every version (1.10, or a date in some locales) would come
            // back changed.
            if (spreadsheet && (field == Field::Version || Csv::wouldRunAsFormula(text) ||
                                (field == Field::Name && Csv::spreadsheetWouldChange(text))))
                text = Csv::asSpreadsheetText(text);
            row << text;
        }
        row << codes(d);
        rows << row;
    }
    return spreadsheet ? csv(rows, false) : table(rows);
}

QString report(const QVector<Line> &lines, Invocation::Format format)
{
    if (format == Invocation::Format::Json) {
        QStringList objects;
        for (const Line &line : lines) {
            QStringList diffs;
            const bool dry = line.result == QLatin1String("dry-run");
            // A dry run shows what would change; a real write what it wrote.
            for (const Line::Difference &d : dry ? line.differences : QVector<Line::Difference>()) {
                diffs << QStringLiteral("{\"field\":%1,\"before\":%2,\"after\":%3}")
                             .arg(jsonString(SettingFields::name(d.field)),
                                  jsonValue(d.field, d.first), jsonValue(d.field, d.second));
            }
            for (const Line::Written &w : line.written) {
                QString object = QStringLiteral("{\"field\":%1,\"before\":%2,\"sent\":%3")
                                     .arg(jsonString(SettingFields::name(w.field)),
                                          jsonValue(w.field, w.before), jsonValue(w.field, w.sent));
                if (!w.reported.isNull())
                    object += QStringLiteral(",\"reported\":") + jsonValue(w.field, w.reported);
                diffs << object + QLatin1Char('}');
            }
            QString object = QStringLiteral("{\"mac\":%1,\"result\":%2,\"fields\":[%3]")
                                 .arg(jsonString(line.mac), jsonString(line.result),
                                      diffs.join(QLatin1Char(',')));
            if (!line.batch.isEmpty())
                object += QStringLiteral(",\"batch\":") + jsonString(line.batch);
            if (!line.replaces.isEmpty())
                object += QStringLiteral(",\"replaces\":") + jsonString(line.replaces);
            if (!line.frame.isEmpty())
                object += QStringLiteral(",\"frame\":%1,\"plaintext\":%2")
                              .arg(jsonString(line.frame), jsonString(line.plaintext));
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
                rows << QStringList{line.mac, line.result, SettingFields::name(d.field), d.first,
                                    d.second};
            if (!line.frame.isEmpty()) {
                rows << QStringList{line.mac, line.result, QStringLiteral("frame"), QString(),
                                    line.frame};
                rows << QStringList{line.mac, line.result, QStringLiteral("plaintext"), QString(),
                                    line.plaintext};
            }
        }
        return csv(rows);
    }
    QString out;
    for (const Line &line : lines) {
        out += visible(line.mac) + QStringLiteral("  ") + line.result + QLatin1Char('\n');
        const bool dry = line.result == QLatin1String("dry-run");
        QVector<QStringList> rows;
        for (const Line::Difference &d : line.differences) {
            rows << (dry ? QStringList{QStringLiteral("  ") + SettingFields::name(d.field), d.first,
                                       QStringLiteral("->"), d.second}
                         : QStringList{QStringLiteral("  ") + SettingFields::name(d.field),
                                       Phrase::translate("cli", "sent"), d.first,
                                       Phrase::translate("cli", "reported"), d.second});
        }
        out += table(rows);
        if (!line.frame.isEmpty()) {
            out += QStringLiteral("  frame      ") + line.frame + QLatin1Char('\n');
            out += QStringLiteral("  plaintext  ") + line.plaintext + QLatin1Char('\n');
        }
    }
    return out;
}

QVector<Line::Difference> differences(const QByteArray &first, const QByteArray &second)
{
    QVector<Line::Difference> list;
    for (const Field field : SettingFields::differences(first, second))
        list.append({field, SettingFields::text(first, field), SettingFields::text(second, field)});
    return list;
}

QVector<Line::Written> written(const QByteArray &before, const QByteArray &sent,
                               const QByteArray &reported)
{
    QVector<Line::Written> list;
    const QVector<Field> changed = SettingFields::differences(before, sent);
    const QVector<Field> differ =
        reported.isEmpty() ? QVector<Field>() : SettingFields::differences(sent, reported);
    for (const Field field : SettingFields::all()) {
        if (!changed.contains(field) && !differ.contains(field))
            continue;
        list.append({field, SettingFields::text(before, field), SettingFields::text(sent, field),
                     reported.isEmpty() ? QString() : SettingFields::text(reported, field)});
    }
    return list;
}

QString history(const QVector<HistoryRow> &rows, Invocation::Format format)
{
    if (format == Invocation::Format::Json) {
        QStringList objects;
        for (const HistoryRow &row : rows) {
            QStringList changes;
            for (const Line::Difference &d : row.changes)
                changes << QStringLiteral("{\"field\":%1,\"before\":%2,\"after\":%3}")
                               .arg(jsonString(SettingFields::name(d.field)),
                                    jsonValue(d.field, d.first), jsonValue(d.field, d.second));
            QString replaces = row.replaces.isEmpty()
                                   ? QString()
                                   : QStringLiteral(",\"replaces\":") + jsonString(row.replaces);
            if (!row.kind.isEmpty())
                replaces += QStringLiteral(",\"kind\":") + jsonString(row.kind);
            if (!row.figures.isEmpty())
                replaces +=
                    QStringLiteral(",\"figures\":") +
                    QString::fromUtf8(QJsonDocument(row.figures).toJson(QJsonDocument::Compact));
            objects << QStringLiteral("{\"time\":%1,\"batch\":%2,\"program\":%3,\"mac\":%4,"
                                      "\"result\":%5%7,\"fields\":[%6]}")
                           .arg(jsonString(row.time), jsonString(row.batch),
                                jsonString(row.program), jsonString(row.mac),
                                jsonString(row.result), changes.join(QLatin1Char(',')), replaces);
        }
        return objects.isEmpty() ? QStringLiteral("[]\n")
                                 : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) +
                                       QStringLiteral("\n]\n");
    }
    const QStringList head{"time", "batch", "program", "mac", "result"};
    if (format == Invocation::Format::Csv) {
        QVector<QStringList> grid{head + QStringList{"replaces", "field", "before", "after"}};
        for (const HistoryRow &row : rows) {
            const QStringList start{row.time, row.batch,  row.program,
                                    row.mac,  row.result, row.replaces};
            if (row.changes.isEmpty())
                grid << start + QStringList{QString(), QString(), QString()};
            for (const Line::Difference &d : row.changes)
                grid << start + QStringList{SettingFields::name(d.field), d.first, d.second};
        }
        return csv(grid);
    }
    QVector<QStringList> grid{{Phrase::translate("cli", "time"), Phrase::translate("cli", "batch"),
                               Phrase::translate("cli", "program"), QStringLiteral("mac"),
                               Phrase::translate("cli", "result"),
                               Phrase::translate("cli", "replaces"),
                               Phrase::translate("cli", "changes")}};
    for (const HistoryRow &row : rows) {
        QStringList changes;
        for (const Line::Difference &d : row.changes)
            changes << QStringLiteral("%1 %2 -> %3")
                           .arg(SettingFields::name(d.field), d.first, d.second);
        if (row.kind == QLatin1String("test"))
            changes << Phrase::translate("cli", "data-path test") + QStringLiteral(" ") +
                           row.figures.value(QLatin1String("where")).toString()
                    << row.figures.value(QLatin1String("message")).toString();
        changes.removeAll(QString());
        grid << QStringList{row.time,
                            row.batch,
                            row.program,
                            row.mac,
                            row.result.isEmpty() ? Phrase::translate("cli", "(none)") : row.result,
                            row.replaces,
                            changes.join(QStringLiteral("; "))};
    }
    return table(grid);
}

QString watchHeader(Invocation::Format format, bool withTest)
{
    if (format != Invocation::Format::Csv)
        return QString();
    return withTest ? QStringLiteral("time,mac,event,ip,message,test,bytes-per-second,line-share\n")
                    : QStringLiteral("time,mac,event,ip,message\n");
}

QString watchEvent(const WatchEvent &e, Invocation::Format format)
{
    if (format == Invocation::Format::Json) {
        QString object =
            QStringLiteral("{\"time\":%1,\"mac\":%2,\"event\":%3,\"ip\":%4")
                .arg(jsonString(e.time), jsonString(e.mac), jsonString(e.event), jsonString(e.ip));
        if (!e.message.isEmpty())
            object += QStringLiteral(",\"message\":") + jsonString(e.message);
        if (!e.test.isEmpty())
            object += QStringLiteral(",\"test\":%1,\"bytes-per-second\":%2,\"line-share\":%3")
                          .arg(jsonString(e.test))
                          .arg(e.bytesPerSecond)
                          .arg(e.lineShare, 0, 'f', 3);
        return object + QStringLiteral("}\n");
    }
    if (format == Invocation::Format::Csv) {
        QStringList row{e.time, e.mac, e.event, e.ip, e.message};
        if (e.withTest)
            row << e.test << (e.test.isEmpty() ? QString() : QString::number(e.bytesPerSecond))
                << (e.test.isEmpty() ? QString() : QString::number(e.lineShare, 'f', 3));
        return csv({row});
    }
    // Fixed columns, so that lines printed one at a time still line up.
    QString line = e.time.leftJustified(26) + visible(e.mac).leftJustified(19) +
                   e.event.leftJustified(13) + e.ip.leftJustified(17) + visible(e.message);
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line + QLatin1Char('\n');
}

QJsonObject testObject(const DataTestResult &r)
{
    QJsonObject o{{"where", r.where}};
    if (!r.message.isEmpty())
        o.insert(QStringLiteral("message"), r.message);
    if (r.sent > 0) {
        o.insert(QStringLiteral("sent"), r.sent);
        o.insert(QStringLiteral("received"), r.received);
        o.insert(QStringLiteral("first-wrong"), r.firstWrong);
        o.insert(QStringLiteral("round-trip-ms"), qRound(r.roundTripMs * 10) / 10.0);
        o.insert(QStringLiteral("bytes-per-second"), qRound(r.bytesPerSecond));
        o.insert(QStringLiteral("line-share"), qRound(r.lineShare * 1000) / 1000.0);
    }
    return o;
}

QString testFigures(const DataTestResult &r)
{
    if (r.sent == 0)
        return QString();
    QString text = Phrase::translate("cli", "%1 of %2 bytes").arg(r.received).arg(r.sent);
    if (r.received > 0)
        text += Phrase::translate("cli", ", %1 B/s, %2 of the line, first byte %3 ms")
                    .arg(qRound(r.bytesPerSecond))
                    .arg(r.lineShare, 0, 'f', 2)
                    .arg(r.roundTripMs, 0, 'f', 1);
    return text;
}

QString tests(const QVector<DataTestResult> &results, Invocation::Format format)
{
    const QStringList keys{"mac",
                           "ip",
                           "result",
                           "where",
                           "sent",
                           "received",
                           "first-wrong",
                           "round-trip-ms",
                           "bytes-per-second",
                           "line-share",
                           "message"};
    QVector<QStringList> grid;
    QStringList objects;
    for (const DataTestResult &r : results) {
        const QJsonObject figures = testObject(r);
        QStringList row{SettingFields::macText(r.mac), r.ip, r.result};
        for (const QString &key : keys.mid(3))
            row << (figures.contains(key) ? figures.value(key).toVariant().toString() : QString());
        grid << row;
        QJsonObject object = figures;
        object.insert(QStringLiteral("mac"), row.at(0));
        object.insert(QStringLiteral("ip"), r.ip);
        object.insert(QStringLiteral("result"), r.result);
        objects << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }
    if (format == Invocation::Format::Json)
        return objects.isEmpty() ? QStringLiteral("[]\n")
                                 : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) +
                                       QStringLiteral("\n]\n");
    if (format == Invocation::Format::Csv)
        return csv(QVector<QStringList>{keys} + grid);
    QVector<QStringList> lines{
        {QStringLiteral("mac"), QStringLiteral("ip"), Phrase::translate("cli", "result"),
         Phrase::translate("cli", "port"), Phrase::translate("cli", "figures")}};
    for (int i = 0; i < results.size(); ++i) {
        const DataTestResult &r = results.at(i);
        QString figures = testFigures(r);
        if (!r.message.isEmpty())
            figures += (figures.isEmpty() ? QString() : QStringLiteral("; ")) + r.message;
        lines << QStringList{grid.at(i).at(0), r.ip, r.result, r.where, figures};
    }
    return table(lines);
}

} // namespace Output
