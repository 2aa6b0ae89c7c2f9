#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads comma-separated values as spreadsheets save them: an optional UTF-8
// byte-order mark, LF or CRLF line ends, cells quoted with '"' (a quote inside
// doubled, line breaks inside allowed). A header without commas but with
// semicolons makes ';' the separator, as some locales save. Blank lines are
// skipped.
namespace Csv {

struct Row
{
    int line = 0; // where the row starts, from 1
    QStringList cells;
};

// False with a message ("line 3: ...") when the text is not well-formed CSV:
// not UTF-8, or a quote that is never closed or followed by other text.
bool parse(const QByteArray &data, QVector<Row> *rows, QString *error);

// A cell as written: quoted when it holds a separator, a quote, a line break,
// a byte-order mark or blanks at either end.
QString cell(const QString &text);

// Text that a spreadsheet would otherwise turn into something else (a number
// such as 0012 or 1E5, a date such as 3/4, a truth value, a formula) as a
// formula that gives the text: ="0012". Excel and LibreOffice show the text,
// and save it back as it was.
QString asSpreadsheetText(const QString &text);
// Whether a spreadsheet would read the text as something else.
bool spreadsheetWouldChange(const QString &text);
// Whether a spreadsheet would run the text as a formula.
bool wouldRunAsFormula(const QString &text);
// The text of a cell written by asSpreadsheetText; any other cell as it is.
QString fromSpreadsheetText(const QString &cell);

} // namespace Csv
