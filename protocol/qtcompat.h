#pragma once

#include <QByteArray>
#include <QString>

class QTextStream;

// What Qt 6 dropped or changed, done the Qt 6 way under Qt 6 and the Qt 5
// way under Qt 5, so that the rest of the code reads the same on both.
namespace QtCompat {

// Text in an encoding by its name ("UTF-8", "UTF-16LE", "UTF-16BE",
// "GB18030"); ok is false for bytes that are not valid in it or end inside a
// character, and for an encoding this Qt cannot convert. A byte-order mark
// stays in the text as U+FEFF.
QString decode(const char *encoding, const QByteArray &bytes, bool *ok = nullptr);
// The same the other way; ok is false when a character has no bytes there.
QByteArray encode(const char *encoding, const QString &text, bool *ok = nullptr);

// count numbers from 0 to modulus - 1: the sequence that Qt 5's
// qsrand(seed) gives qrand() on this platform, after one discarded draw.
QByteArray seededFiller(uint seed, int count, int modulus);

// The stream writes UTF-8 whatever the system's locale.
void setUtf8(QTextStream &stream);

} // namespace QtCompat

// The window's part: only where QtWidgets is linked.
#ifdef QT_WIDGETS_LIB
#include <QApplication>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QRegularExpressionValidator>
#else
#include <QRegExpValidator>
#endif

namespace QtCompat {

// A validator that takes what the pattern matches whole.
inline QValidator *patternValidator(const QString &pattern, QObject *parent)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return new QRegularExpressionValidator(QRegularExpression(pattern), parent);
#else
    return new QRegExpValidator(QRegExp(pattern, Qt::CaseSensitive, QRegExp::RegExp), parent);
#endif
}

// Before the application exists: the form drawn scaled as a whole at 125,
// 150 or 200 % instead of cut. Qt 6 always scales; Qt 5 is asked to.
inline void enableHighDpiScaling()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
#endif
}

} // namespace QtCompat
#endif
