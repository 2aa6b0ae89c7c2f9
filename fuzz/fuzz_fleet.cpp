// Any bytes as a fleet file, and any line as "FIELD=VALUE": what the reader
// and the field parser accept must be sendable, and a CSV read back from its
// own cells must give the same rows.
#include "csv.h"
#include "deviceframe.h"
#include "settingfields.h"
#include "fleetfile.h"
#include "framelayout.h"
#include "fuzzcheck.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

// A reply with settings the window could not type and bits outside the
// vocabulary: 5 data bits, mark parity, high bits in the type and mode bytes.
QByteArray reported()
{
    DeviceRecord r;
    r.mac = QStringLiteral("02AB00000001");
    r.nameBytes = "SIM";
    r.lip = QStringLiteral("10.0.0.2");
    r.subnet = QStringLiteral("255.255.0.0");
    r.gaw = QStringLiteral("0.0.0.0");
    r.lport = QStringLiteral("0");
    r.sip = QStringLiteral("10.0.0.1");
    r.sport = QStringLiteral("0"); // reported values the window could not type
    r.baud = QStringLiteral("16777215");
    QByteArray frame(64, '\0');
    DeviceFrame::encodeReply(r, 0x12, frame);
    frame[FrameLayout::IPTYPE_OFFSET] = char(0xF0);
    frame[FrameLayout::MODE_OFFSET] = char(0xA5);
    frame[FrameLayout::SERIAL_OFFSET] = char(0xE8);
    return frame;
}

// A change touches its own field only: every other field reads as before,
// the bits no field owns stay, and nothing outside the settings moves.
void checkOnly(const QByteArray &frame, const QVector<SettingFields::Field> &changed)
{
    const QByteArray before = reported();
    FUZZ_CHECK(frame.size() == before.size());
    for (const SettingFields::Field field : SettingFields::differences(before, frame))
        FUZZ_CHECK(changed.contains(field));
    FUZZ_CHECK(frame.left(FrameLayout::SETTINGS_FROM) == before.left(FrameLayout::SETTINGS_FROM));
    FUZZ_CHECK(frame.mid(FrameLayout::SETTINGS_TO) == before.mid(FrameLayout::SETTINGS_TO));
    const auto kept = [&](int offset, int mask) {
        return (quint8(frame.at(offset)) & mask) == (quint8(before.at(offset)) & mask);
    };
    FUZZ_CHECK(kept(FrameLayout::IPTYPE_OFFSET, 0xFE));
    FUZZ_CHECK(kept(FrameLayout::MODE_OFFSET, 0xFC));
    FUZZ_CHECK(kept(FrameLayout::SERIAL_OFFSET, 0xC0));
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
            QVector<SettingFields::Change> changes;
            if (!FleetFile::changesFor(entry, reported(), QStringLiteral("f.csv"), &changes,
                                       &error))
                continue;
            QByteArray frame = reported();
            QVector<SettingFields::Field> fields;
            for (const SettingFields::Change &change : changes) {
                SettingFields::put(frame, change);
                fields << change.field;
            }
            checkOnly(frame, fields);
        }
    }

    const QString text = QString::fromUtf8(bytes);
    // Whatever a name is, its guarded form reads back as the same text.
    FUZZ_CHECK(Csv::fromSpreadsheetText(Csv::asSpreadsheetText(text)) == text);
    const int equals = text.indexOf(QLatin1Char('='));
    SettingFields::Field field;
    if (equals >= 0 && SettingFields::fromName(text.left(equals), &field) &&
        SettingFields::isWritable(field)) {
        SettingFields::Change change;
        QString message;
        if (SettingFields::parse(field, text.mid(equals + 1), &change, &message) ==
            SettingFields::Verdict::Ok) {
            QByteArray frame = reported();
            SettingFields::put(frame, change);
            checkOnly(frame, {field});
            if (field != SettingFields::Field::Name)
                FUZZ_CHECK(SettingFields::text(frame, field) == change.text);
        } else {
            FUZZ_CHECK(message.startsWith(SettingFields::name(field)));
        }
    }
    return 0;
}
