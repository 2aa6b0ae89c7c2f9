#include "fleetfile.h"

#include "qtcompat.h"

#include "phrase.h"

#include "csv.h"

#include <QHash>
#include <QSet>

namespace FleetFile {

using SettingFields::Field;

namespace {

QString at(const QString &place, int line)
{
    return QStringLiteral("%1:%2: ").arg(place).arg(line);
}

} // namespace

namespace {

// Windows PowerShell 5.1 saves redirected output as UTF-16 with a byte-order
// mark; such a file reads as the same text in UTF-8.
bool fromUtf16(QByteArray *data, const QString &place, QString *error)
{
    const bool little = data->startsWith("\xFF\xFE");
    if (!little && !data->startsWith("\xFE\xFF"))
        return true;
    bool ok = false;
    const QString text = QtCompat::decode(little ? "UTF-16LE" : "UTF-16BE", data->mid(2), &ok);
    if (!ok || (data->size() % 2) != 0) {
        *error =
            Phrase::translate("cli", "%1: not UTF-16 text, though it starts like it").arg(place);
        return false;
    }
    *data = text.toUtf8();
    return true;
}

} // namespace

bool read(QByteArray data, const QString &place, QVector<Entry> *entries, QString *error)
{
    if (!fromUtf16(&data, place, error))
        return false;
    QVector<Csv::Row> rows;
    QString csvError;
    if (!Csv::parse(data, &rows, &csvError)) {
        *error = QStringLiteral("%1:%2").arg(place, csvError.mid(5)); // "line N: ..." -> "N: ..."
        return false;
    }
    if (rows.isEmpty()) {
        *error = Phrase::translate("cli", "%1: empty file").arg(place);
        return false;
    }

    const Csv::Row &header = rows.first();
    QVector<Field> columns;
    QVector<bool> ignored; // what search adds beside the fields, read-only
    QSet<int> fieldsSeen;
    int macColumn = -1;
    for (const QString &title : header.cells) {
        Field field = Field::Mac;
        const bool problems = title.trimmed() == QLatin1String("problems");
        if (!problems && !SettingFields::fromName(title.trimmed(), &field)) {
            *error =
                at(place, header.line) + Phrase::translate("cli", "unknown column '%1'").arg(title);
            return false;
        }
        const bool twice = problems ? ignored.contains(true) : fieldsSeen.contains(int(field));
        if (twice) {
            *error =
                at(place, header.line) + Phrase::translate("cli", "column '%1' twice").arg(title);
            return false;
        }
        if (field == Field::Mac && !problems)
            macColumn = columns.size();
        columns << field;
        ignored << problems;
        if (!problems)
            fieldsSeen.insert(int(field));
    }
    if (macColumn < 0) {
        *error = at(place, header.line) + Phrase::translate("cli", "no 'mac' column");
        return false;
    }
    if (rows.size() == 1) {
        *error = Phrase::translate("cli", "%1: no converters listed under the header").arg(place);
        return false;
    }

    entries->clear();
    QHash<QString, int> seen; // MAC -> line
    for (int r = 1; r < rows.size(); ++r) {
        const Csv::Row &row = rows.at(r);
        const QString here = at(place, row.line);
        if (row.cells.size() != columns.size()) {
            *error = here + Phrase::translate("cli", "%1 cells where the header has %2")
                                .arg(row.cells.size())
                                .arg(columns.size());
            return false;
        }
        Entry entry;
        entry.line = row.line;
        for (int c = 0; c < columns.size(); ++c) {
            if (!ignored.at(c) && SettingFields::isWritable(columns.at(c)))
                entry.columns << columns.at(c);
        }
        entry.mac = SettingFields::normaliseMac(
            Csv::fromSpreadsheetText(row.cells.at(macColumn)).trimmed());
        if (entry.mac.isEmpty()) {
            *error = here + Phrase::translate(
                                "cli", "mac '%1' is not a MAC address (12 hexadecimal digits)")
                                .arg(row.cells.at(macColumn));
            return false;
        }
        if (seen.contains(entry.mac)) {
            *error = here + Phrase::translate("cli", "mac %1 is also on line %2")
                                .arg(SettingFields::macText(entry.mac))
                                .arg(seen.value(entry.mac));
            return false;
        }
        seen.insert(entry.mac, row.line);
        for (int c = 0; c < columns.size(); ++c) {
            const Field field = columns.at(c);
            // Read-only columns are what the converter reported; they are
            // there because a search printed them, and change nothing.
            if (ignored.at(c) || !SettingFields::isWritable(field))
                continue;
            // A name keeps its blanks; other cells lose the spaces that
            // spreadsheets put around values.
            const QString cell = Csv::fromSpreadsheetText(row.cells.at(c));
            const QString text = field == Field::Name ? cell : cell.trimmed();
            if (text.isEmpty())
                continue;
            SettingFields::Change change;
            QString message;
            if (SettingFields::parse(field, text, &change, &message) ==
                SettingFields::Verdict::Malformed) {
                *error = here + message;
                return false;
            }
            entry.cells << Cell{field, text};
        }
        entries->append(entry);
    }
    return true;
}

bool changesFor(const Entry &entry, const QByteArray &reported, const QString &place,
                QVector<SettingFields::Change> *changes, QString *error)
{
    changes->clear();
    for (const Cell &cell : entry.cells) {
        SettingFields::Change change;
        QString message;
        const SettingFields::Verdict verdict =
            SettingFields::parse(cell.field, cell.text, &change, &message);
        // A cell as search printed it changes nothing, whatever its bytes.
        if (cell.field == Field::Name && cell.text == SettingFields::text(reported, Field::Name))
            continue;
        if (SettingFields::isNoChange(reported, change))
            continue;
        if (verdict != SettingFields::Verdict::Ok) {
            *error = at(place, entry.line) + message;
            return false;
        }
        changes->append(change);
    }
    return true;
}

} // namespace FleetFile
