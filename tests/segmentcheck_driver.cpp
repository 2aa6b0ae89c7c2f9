// Runs the segment check on cases read from standard input, one JSON object
// per line, for the randomized judge (segmentcheck_judge.py):
//   {"host": [[address, adapter]...],
//    "before": [[mac, ip, subnet, gateway, dhcp]...], "writes": [...]}
// and prints per case {"found": [[mac, code, other]...], "introduced": ...}.
// Settings go into frames through the tool's own field encoder.
#include "segmentcheck.h"
#include "settingfields.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace {

using SettingFields::Field;

SegmentCheck::Converter converter(const QJsonArray &row)
{
    QByteArray frame(64, '\0');
    const QPair<Field, QString> values[] = {
        {Field::Ip, row.at(1).toString()},
        {Field::Subnet, row.at(2).toString()},
        {Field::Gateway, row.at(3).toString()},
        {Field::IpType, row.at(4).toBool() ? QStringLiteral("dhcp") : QStringLiteral("static")},
    };
    for (const auto &value : values) {
        SettingFields::Change change;
        QString message;
        if (SettingFields::parse(value.first, value.second, &change, &message) ==
            SettingFields::Verdict::Malformed) {
            std::fprintf(stderr, "segmentcheck_driver: %s\n", qPrintable(message));
            std::exit(2);
        }
        SettingFields::put(frame, change);
    }
    return {row.at(0).toString(), frame};
}

QJsonArray described(const QVector<SegmentCheck::Problem> &problems)
{
    QJsonArray list;
    for (const SegmentCheck::Problem &p : problems)
        list.append(QJsonArray{p.mac, p.codeName(), p.other});
    return list;
}

} // namespace

int main()
{
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line)) {
        const QJsonObject c = QJsonDocument::fromJson(line.toUtf8()).object();
        QVector<SegmentCheck::HostAddress> host;
        for (const QJsonValue &h : c.value(QLatin1String("host")).toArray())
            host.append({QHostAddress(h.toArray().at(0).toString()).toIPv4Address(),
                         h.toArray().at(1).toString()});
        QVector<SegmentCheck::Converter> before;
        for (const QJsonValue &row : c.value(QLatin1String("before")).toArray())
            before.append(converter(row.toArray()));
        QHash<QString, QByteArray> writes;
        for (const QJsonValue &row : c.value(QLatin1String("writes")).toArray()) {
            const SegmentCheck::Converter w = converter(row.toArray());
            writes.insert(w.mac, w.settings);
        }
        const QJsonObject result{
            {"found", described(SegmentCheck::find(before, host))},
            {"introduced", described(SegmentCheck::introduced(before, writes, host))}};
        out << QJsonDocument(result).toJson(QJsonDocument::Compact) << '\n';
    }
    return 0;
}
