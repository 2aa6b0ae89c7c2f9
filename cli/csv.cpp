#include "csv.h"

#include "qtcompat.h"

#include "phrase.h"

#include <QRegularExpression>

namespace Csv {

namespace {

bool decodeUtf8(const QByteArray &data, QString *text, int *badLine)
{
    bool ok = false;
    *text = QtCompat::decode("UTF-8", data, &ok);
    if (ok)
        return true;
    const int bad = text->indexOf(QChar::ReplacementCharacter);
    *badLine =
        1 + (bad < 0 ? text->count(QLatin1Char('\n')) : text->left(bad).count(QLatin1Char('\n')));
    return false;
}

// ';' when the first line has semicolons but no commas outside quotes.
QChar separatorOf(const QString &text)
{
    bool quoted = false, comma = false, semicolon = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            comma = true;
        else if (!quoted && c == QLatin1Char(';'))
            semicolon = true;
    }
    return semicolon && !comma ? QLatin1Char(';') : QLatin1Char(',');
}

} // namespace

bool parse(const QByteArray &data, QVector<Row> *rows, QString *error)
{
    QString text;
    int badLine = 0;
    if (!decodeUtf8(data, &text, &badLine)) {
        *error =
            (QStringLiteral("line %1: ") + Phrase::translate("cli", "not UTF-8 text")).arg(badLine);
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QChar separator = separatorOf(text);

    rows->clear();
    Row row;
    QString cell;
    int line = 1;
    row.line = 1;
    bool quoted = false;     // inside a quoted cell
    bool afterQuote = false; // a quoted cell has just closed
    bool pending = false;    // the current line has something in it
    int quoteLine = 0;
    auto endCell = [&] {
        row.cells << cell;
        cell.clear();
        afterQuote = false;
    };
    auto endRow = [&] {
        endCell();
        // A line with one empty cell, quoted or not, is a blank line.
        if (row.cells.size() > 1 || !row.cells.first().isEmpty())
            rows->append(row);
        row = Row();
        row.line = line;
        pending = false;
    };

    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            pending = true;
        if (c == separator) {
            endCell();
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++line;
            endRow();
        } else if (afterQuote) {
            *error = (QStringLiteral("line %1: ") +
                      Phrase::translate("cli", "text after a closing quote"))
                         .arg(line);
            return false;
        } else if (c == QLatin1Char('"') && cell.isEmpty()) {
            quoted = true;
            quoteLine = line;
        } else {
            cell += c;
        }
    }
    if (quoted) {
        *error =
            (QStringLiteral("line %1: ") + Phrase::translate("cli", "a quote that is never closed"))
                .arg(quoteLine);
        return false;
    }
    if (pending)
        endRow();
    return true;
}

QString cell(const QString &text)
{
    // A byte-order mark is quoted too: at the start of a file it would be
    // taken for the file's own.
    static const QString special = QStringLiteral(",;\"\r\n\uFEFF");
    bool quote = text != text.trimmed();
    for (const QChar c : special)
        quote |= text.contains(c);
    if (!quote)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool spreadsheetWouldChange(const QString &text)
{
    static const QRegularExpression numberOrDate(
        QStringLiteral("^[\\s0-9.,:/+\\-%$()Ee']*[0-9][\\s0-9.,:/+\\-%$()Ee']*$"));
    static const QRegularExpression formulaOrTruth(QStringLiteral("^([=+\\-@]|(true|false)$)"),
                                                   QRegularExpression::CaseInsensitiveOption);
    return numberOrDate.match(text).hasMatch() || formulaOrTruth.match(text).hasMatch();
}

bool wouldRunAsFormula(const QString &text)
{
    static const QRegularExpression formula(QStringLiteral("^[=+\\-@\t\r]"));
    return formula.match(text).hasMatch();
}

QString asSpreadsheetText(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QStringLiteral("=\"%1\"").arg(inner);
}

QString fromSpreadsheetText(const QString &cell)
{
    if (cell.size() < 3 || !cell.startsWith(QLatin1String("=\"")) ||
        !cell.endsWith(QLatin1Char('"')))
        return cell;
    const QString inner = cell.mid(2, cell.size() - 3);
    // Inside the formula's string a quote is doubled; a lone one means the
    // cell is some other formula.
    QString text;
    for (int i = 0; i < inner.size(); ++i) {
        if (inner.at(i) == QLatin1Char('"')) {
            if (i + 1 >= inner.size() || inner.at(i + 1) != QLatin1Char('"'))
                return cell;
            ++i;
        }
        text += inner.at(i);
    }
    return text;
}

} // namespace Csv
