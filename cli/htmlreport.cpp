#include "htmlreport.h"

#include "settingfields.h"

#include "converterpast.h"

#include <QJsonObject>

#include <QHostAddress>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace HtmlReport {

namespace {

using SettingFields::Field;

// Text from converters and the journal is anyone's: always escaped.
QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString dotted(quint32 address)
{
    return QHostAddress(address).toString();
}

quint32 number(const QString &dottedText)
{
    return QHostAddress(dottedText).toIPv4Address();
}

int prefixOf(quint32 mask)
{
    int length = 0;
    while (length < 32 && (mask & (0x80000000u >> length)))
        ++length;
    return length;
}

// Ones then zeros, and not all zeros: a mask a network can have.
bool isMask(quint32 mask)
{
    const int prefix = prefixOf(mask);
    return prefix > 0 && mask == (prefix == 32 ? ~0u : ~(~0u >> prefix));
}

// "/24", or the mask as the converter reports it when it is none.
QString maskText(quint32 mask)
{
    return isMask(mask) ? QStringLiteral("/%1").arg(prefixOf(mask))
                        : QStringLiteral(" mask %1").arg(dotted(mask));
}

bool isDhcp(const FoundDevice &d)
{
    return SettingFields::text(d.plaintext, Field::IpType) == QLatin1String("dhcp");
}

QString text(const FoundDevice &d, Field field)
{
    return SettingFields::text(
        SettingFields::Report{d.plaintext, d.record.deviceIp, d.interfaceName}, field);
}

const char STYLE[] = R"(
body { font-family: "Noto Sans", "WenQuanYi Micro Hei", "Microsoft YaHei", sans-serif;
       font-size: 10pt; color: #111; margin: 1.5em; }
h1 { font-size: 16pt; margin: 0 0 .3em; }
h2 { font-size: 13pt; margin: 1.2em 0 .4em; break-after: avoid; }
h3 { font-size: 11pt; margin: .8em 0 .3em; break-after: avoid; }
dl.head { display: grid; grid-template-columns: max-content auto; gap: .1em 1em; }
dl.head dt { font-weight: bold; }
dl.head dd { margin: 0; }
table { border-collapse: collapse; width: 100%; margin-bottom: 1em; }
th, td { border: 1px solid #999; padding: 2px 4px; text-align: left; vertical-align: top; }
th { background: #e8e8e8; }
thead { display: table-header-group; }
tr, figure, .grid { break-inside: avoid; page-break-inside: avoid; }
.name { white-space: nowrap; }
p.warning { color: #8a1111; }
td.problems { background: #fde2e1; color: #8a1111; font-weight: bold; }
.mono { font-family: "DejaVu Sans Mono", Consolas, monospace; }
figure { margin: .5em 0 1em; display: inline-block; vertical-align: top; }
figcaption { font-size: 9pt; }
.legend span { display: inline-block; width: 1em; height: 1em; border: 1px solid #555;
               vertical-align: middle; margin: 0 .3em 0 1em; }
@page { size: A4 portrait; margin: 15mm; }
@media print {
  body { margin: 0; }
  a { color: inherit; text-decoration: none; }
}
)";

// Cell colours, shared by the pictures and their legend.
const char FREE[] = "#ffffff", OUTSIDE[] = "#c8c8c8", CONVERTER[] = "#4a7fd0", CLASH[] = "#d62828",
           HOST[] = "#2e9e44", GATEWAY[] = "#f0a020";

struct Subnet
{
    quint32 network = 0, mask = 0;
    QVector<int> members; // indices into the converters
};

// One /24 of a subnet as a 16 x 16 grid of its addresses.
QString grid(const Data &data, const Subnet &subnet, quint32 block,
             const QMultiMap<quint32, int> &byIp, const QSet<quint32> &gateways)
{
    constexpr int CELL = 14;
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"grid\" "
                                 "width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">")
                      .arg(16 * CELL + 1);
    for (int i = 0; i < 256; ++i) {
        const quint32 address = block | quint32(i);
        const bool inside = (address & subnet.mask) == subnet.network;
        const QList<int> here = byIp.values(address);
        // As the segment check counts: a DHCP unit's address is its lease
        // for now, no clash.
        const int holders = int(std::count_if(
            here.begin(), here.end(), [&](int k) { return !isDhcp(data.converters.at(k)); }));
        QString fill = inside ? FREE : OUTSIDE;
        QStringList title{dotted(address)};
        if (holders > 1)
            fill = CLASH;
        else if (here.size() == 1)
            fill = CONVERTER;
        else if (data.hostAddresses.contains(address))
            fill = HOST;
        else if (gateways.contains(address))
            fill = GATEWAY;
        for (const int k : here) {
            const FoundDevice &d = data.converters.at(k);
            title << QStringLiteral("%1 %2%3").arg(
                SettingFields::macText(d.record.mac), text(d, Field::Name),
                isDhcp(d) ? QStringLiteral(" (dhcp)") : QString());
        }
        if (holders > 1)
            title << QStringLiteral("clash: %1 converters at one address").arg(holders);
        if (data.hostAddresses.contains(address))
            title << QStringLiteral("this computer");
        if (gateways.contains(address))
            title << QStringLiteral("gateway");
        const int x = (i % 16) * CELL, y = (i / 16) * CELL;
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%3\" fill=\"%4\" "
                              "stroke=\"#888\" stroke-width=\"0.5\"")
                   .arg(x + 0.5)
                   .arg(y + 0.5)
                   .arg(CELL)
                   .arg(fill);
        if (title.size() > 1 || !inside)
            svg += QStringLiteral("><title>%1</title></rect>")
                       .arg(esc(title.join(QStringLiteral(" \u2014 "))));
        else
            svg += QStringLiteral("/>");
        // A gateway that is also a converter's or this computer's address
        // keeps its own mark: an orange corner.
        if (gateways.contains(address) && fill != GATEWAY)
            svg += QStringLiteral("<polygon points=\"%1,%2 %3,%2 %1,%4\" fill=\"%5\"/>")
                       .arg(x + 0.5)
                       .arg(y + 0.5)
                       .arg(x + 0.5 + CELL / 2)
                       .arg(y + 0.5 + CELL / 2)
                       .arg(GATEWAY);
    }
    return svg + QStringLiteral("</svg>");
}

QString legend()
{
    const QVector<QPair<const char *, QString>> items = {
        {FREE, QStringLiteral("free")},       {CONVERTER, QStringLiteral("converter")},
        {CLASH, QStringLiteral("clash")},     {HOST, QStringLiteral("this computer")},
        {GATEWAY, QStringLiteral("gateway")}, {OUTSIDE, QStringLiteral("outside the subnet")}};
    QString html = QStringLiteral("<p class=\"legend\">");
    for (const auto &item : items)
        html += QStringLiteral("<span style=\"background:%1\"></span>%2")
                    .arg(QLatin1String(item.first), item.second);
    return html + QStringLiteral("</p>");
}

QString addressPictures(const Data &data)
{
    QMap<QPair<quint32, quint32>, Subnet> subnets; // by network and mask
    QMultiMap<quint32, int> byIp;
    QSet<quint32> gateways;
    QStringList badMasks;
    for (int k = 0; k < data.converters.size(); ++k) {
        const FoundDevice &d = data.converters.at(k);
        const quint32 ip = number(d.record.lip), mask = number(d.record.subnet);
        // No network to draw it in: listed under its own heading.
        if (!isMask(mask)) {
            badMasks << QStringLiteral("<li><span class=\"mono\">%1</span> <span "
                                       "class=\"name\">%2</span>: %3 mask %4</li>")
                            .arg(esc(SettingFields::macText(d.record.mac)),
                                 esc(text(d, Field::Name)), esc(d.record.lip), dotted(mask));
            continue;
        }
        Subnet &s = subnets[{ip & mask, mask}];
        s.network = ip & mask;
        s.mask = mask;
        s.members << k;
        byIp.insert(ip, k); // a DHCP unit holds its address too, for now
        if (number(d.record.gaw) != 0)
            gateways.insert(number(d.record.gaw));
    }
    QString html = QStringLiteral("<h2>Addresses by subnet</h2>") + legend();
    for (const Subnet &s : qAsConst(subnets)) {
        const int prefix = prefixOf(s.mask);
        html += QStringLiteral("<h3>%1/%2 (%3 converters)</h3>")
                    .arg(dotted(s.network))
                    .arg(prefix)
                    .arg(s.members.size());
        // A longer prefix is drawn in its /24; a shorter one as each /24
        // that holds a converter.
        QVector<quint32> blocks;
        for (const int k : s.members) {
            const quint32 block = number(data.converters.at(k).record.lip) & 0xFFFFFF00u;
            if (!blocks.contains(block))
                blocks << block;
        }
        std::sort(blocks.begin(), blocks.end());
        for (const quint32 block : qAsConst(blocks))
            html += QStringLiteral("<figure>%1<figcaption>%2/24</figcaption></figure>")
                        .arg(grid(data, s, block, byIp, gateways), dotted(block));
    }
    if (!badMasks.isEmpty())
        html += QStringLiteral("<h3>bad mask (%1 converters)</h3><ul>%2</ul>")
                    .arg(badMasks.size())
                    .arg(badMasks.join(QString()));
    return html;
}

QString converterTable(const Data &data)
{
    QMultiMap<QString, const SegmentCheck::Problem *> problemsOf;
    for (const SegmentCheck::Problem &p : data.problems)
        problemsOf.insert(p.mac, &p);
    QString html = QStringLiteral(
        "<h2>Converters</h2><table><thead><tr><th>MAC</th><th>name</th><th>version</th>"
        "<th>address</th><th>gateway</th><th>mode</th><th>ports</th><th>remote</th>"
        "<th>serial</th><th>reply from</th><th>problems</th></tr></thead><tbody>");
    for (const FoundDevice &d : data.converters) {
        QStringList problems;
        const QList<const SegmentCheck::Problem *> mine = problemsOf.values(d.record.mac);
        for (auto p = mine.crbegin(); p != mine.crend(); ++p)
            problems << QStringLiteral("<b>%1</b>: %2").arg((*p)->codeName(), esc((*p)->message()));
        const QStringList cells = {
            QStringLiteral("<span class=\"mono\">%1</span>")
                .arg(esc(SettingFields::macText(d.record.mac))),
            QStringLiteral("<span class=\"name\">%1</span>").arg(esc(text(d, Field::Name))),
            esc(text(d, Field::Version)),
            esc(QStringLiteral("%1 %2%3").arg(text(d, Field::IpType), text(d, Field::Ip),
                                              maskText(number(text(d, Field::Subnet))))),
            esc(text(d, Field::Gateway)),
            esc(text(d, Field::Mode)),
            esc(QStringLiteral("local %1, remote %2")
                    .arg(text(d, Field::LocalPort), text(d, Field::RemotePort))),
            esc(text(d, Field::RemoteIp)),
            esc(QStringLiteral("%1 %2 %3 %4")
                    .arg(text(d, Field::Baud), text(d, Field::DataBits), text(d, Field::Parity),
                         text(d, Field::StopBits))),
            esc(QStringLiteral("%1 (%2)").arg(text(d, Field::ReplyFrom),
                                              text(d, Field::Interface))),
        };
        html += QStringLiteral("<tr><td>") + cells.join(QStringLiteral("</td><td>")) +
                QStringLiteral("</td>");
        html += problems.isEmpty() ? QStringLiteral("<td></td>")
                                   : QStringLiteral("<td class=\"problems\">%1</td>")
                                         .arg(problems.join(QStringLiteral("<br>")));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</tbody></table>");
}

QString lastWrites(const Data &data)
{
    QString html = QStringLiteral("<h2>Last writes</h2>");
    bool any = false;
    for (const FoundDevice &d : data.converters) {
        QVector<const JournalRecord *> mine;
        const ConverterPast past = pastOf(data.reading, d.record.mac);
        for (auto i = past.records.crbegin(); i != past.records.crend() && mine.size() < 5; ++i)
            mine << &data.reading.records.at(*i);
        if (mine.isEmpty() && past.lastTest < 0)
            continue;
        any = true;
        html += QStringLiteral("<h3><span class=\"mono\">%1</span> %2</h3>")
                    .arg(esc(SettingFields::macText(d.record.mac)), esc(text(d, Field::Name)));
        if (past.lastTest >= 0) {
            const TestRecord &t = data.reading.tests.at(past.lastTest);
            const QJsonObject &f = t.figures;
            QString figures = f.value(QLatin1String("where")).toString();
            if (f.contains(QLatin1String("sent")))
                figures += QStringLiteral(", %1 of %2 bytes back, %3 B/s (%4 of the line)")
                               .arg(f.value(QLatin1String("received")).toInt())
                               .arg(f.value(QLatin1String("sent")).toInt())
                               .arg(f.value(QLatin1String("bytes-per-second")).toInt())
                               .arg(f.value(QLatin1String("line-share")).toDouble(), 0, 'f', 2);
            if (f.contains(QLatin1String("message")))
                figures += QStringLiteral("; ") + f.value(QLatin1String("message")).toString();
            html += QStringLiteral("<p class=\"%1\">Last data-path test, %2: <b>%3</b> (%4)</p>")
                        .arg(t.result == QLatin1String("loopback-ok") ||
                                     t.result == QLatin1String("connected")
                                 ? QStringLiteral("test")
                                 : QStringLiteral("warning"),
                             esc(t.time), esc(t.result), esc(figures));
        }
        if (mine.isEmpty())
            continue;
        html += QStringLiteral("<table><thead><tr>"
                               "<th>time (UTC)</th><th>batch</th><th>program</th>"
                               "<th>change</th><th>result</th></tr></thead><tbody>");
        for (const JournalRecord *r : qAsConst(mine)) {
            QStringList changes;
            for (const Field field : SettingFields::differences(r->before, r->sent))
                changes << esc(QStringLiteral("%1 %2 \u2192 %3")
                                   .arg(SettingFields::name(field),
                                        SettingFields::text(r->before, field),
                                        SettingFields::text(r->sent, field)));
            if (!r->replaces.isEmpty())
                changes << esc(
                    QStringLiteral("replaces %1").arg(SettingFields::macText(r->replaces)));
            html += QStringLiteral("<tr><td>%1</td><td class=\"mono\">%2</td><td>%3</td><td>%4</td>"
                                   "<td>%5</td></tr>")
                        .arg(esc(r->time), esc(r->batch), esc(r->program),
                             changes.join(QStringLiteral("<br>")),
                             esc((r->result.isEmpty() ? QStringLiteral("(none)") : r->result) +
                                 (r->trial.isEmpty() || r->trial == QLatin1String("waiting")
                                      ? QString()
                                      : QStringLiteral(", ") + r->trial)));
        }
        html += QStringLiteral("</tbody></table>");
    }
    if (!any)
        html += QStringLiteral("<p>The journal holds no write of these converters.</p>");
    if (!data.reading.unreadable.isEmpty())
        html += QStringLiteral("<p class=\"warning\"><b>%1 line(s) of the journal could not be "
                               "read: the writes shown may be incomplete.</b></p>")
                    .arg(data.reading.unreadable.size());
    return html;
}

} // namespace

QString build(const Data &data)
{
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                       "<title>Converters on %1</title><style>%2</style></head><body>")
            .arg(esc(data.host), QString::fromUtf8(STYLE));
    html += QStringLiteral("<h1>Converters on the network segment of %1</h1>").arg(esc(data.host));
    QStringList adapters;
    for (const QString &a : data.adapters)
        adapters << esc(a);
    html += QStringLiteral("<dl class=\"head\"><dt>computer</dt><dd>%1</dd><dt>time</dt><dd>%2 UTC"
                           "</dd><dt>adapters searched</dt><dd>%3</dd><dt>converters answered</dt>"
                           "<dd>%4</dd><dt>journal</dt><dd class=\"mono\">%5</dd></dl>")
                .arg(esc(data.host), data.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     adapters.isEmpty() ? QStringLiteral("(none)")
                                        : adapters.join(QStringLiteral("<br>")))
                .arg(data.converters.size())
                .arg(esc(data.journal));
    if (data.converters.isEmpty()) {
        html += QStringLiteral("<p><b>No converter answered the search.</b></p>");
    } else {
        html += addressPictures(data);
        html += converterTable(data);
        html += lastWrites(data);
    }
    return html + QStringLiteral("</body></html>\n");
}

} // namespace HtmlReport
