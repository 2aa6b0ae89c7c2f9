// Any bytes as a fleet file, and any line as "FIELD=VALUE": what the reader
// and the field parser accept must be sendable, and a CSV read back from its
// own cells must give the same rows.
#include "configureframe.h"
#include "csv.h"
#include "fields.h"
#include "fleetfile.h"
#include "fuzzcheck.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

DeviceRecord reported()
{
    DeviceRecord r;
    r.mac = QStringLiteral("02AB00000001");
    r.deviceName = QStringLiteral("SIM");
    r.nameBytes = "SIM";
    r.lip = QStringLiteral("10.0.0.2");
    r.subnet = QStringLiteral("255.255.0.0");
    r.gaw = QStringLiteral("0.0.0.0");
    r.lport = QStringLiteral("0");
    r.sip = QStringLiteral("10.0.0.1");
    r.sport = QStringLiteral("0"); // reported values the window could not type
    r.baud = QStringLiteral("16777215");
    return r;
}

void checkSendable(const DeviceRecord &record)
{
    FUZZ_CHECK(ConfigureFrame::firstUnsendable(record) == ConfigureFrame::Field::None);
    FUZZ_CHECK(record.nameBytes.size() <= 10);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));

    QVector<Csv::Row> rows;
    QString error;
    if (Csv::parse(bytes, &rows, &error)) {
        QStringList lines;
        for (const Csv::Row &row : rows) {
            QStringList cells;
            for (const QString &cell : row.cells)
                cells << Csv::cell(cell);
            lines << cells.join(QLatin1Char(','));
        }
        QVector<Csv::Row> again;
        FUZZ_CHECK(Csv::parse(lines.join(QLatin1Char('\n')).toUtf8(), &again, &error));
        FUZZ_CHECK(again.size() == rows.size());
        for (int i = 0; i < rows.size(); ++i)
            FUZZ_CHECK(again.at(i).cells == rows.at(i).cells);
    }

    QVector<FleetFile::Entry> entries;
    if (FleetFile::read(bytes, QStringLiteral("f.csv"), &entries, &error)) {
        for (const FleetFile::Entry &entry : entries) {
            FUZZ_CHECK(entry.mac.size() == 12);
            QVector<CliFields::Change> changes;
            if (!FleetFile::changesFor(entry, reported(), QStringLiteral("f.csv"), &changes,
                                       &error))
                continue;
            DeviceRecord record = reported();
            for (const CliFields::Change &change : changes)
                CliFields::apply(record, change);
            checkSendable(record);
        }
    }

    const QString text = QString::fromUtf8(bytes);
    const int equals = text.indexOf(QLatin1Char('='));
    CliFields::Field field;
    if (equals >= 0 && CliFields::fromName(text.left(equals), &field) &&
        CliFields::isWritable(field)) {
        CliFields::Change change;
        QString message;
        if (CliFields::parse(field, text.mid(equals + 1), &change, &message) ==
            CliFields::Verdict::Ok) {
            DeviceRecord record = reported();
            CliFields::apply(record, change);
            checkSendable(record);
            FUZZ_CHECK(CliFields::text(record, QString(), field) == change.text);
        } else {
            FUZZ_CHECK(message.startsWith(CliFields::name(field)));
        }
    }
    return 0;
}
