#include "qtcompat.h"

#include <QTextStream>

#include <cstdlib>
#include <limits>
#include <random>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

namespace QtCompat {

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

QString decode(const char *encoding, const QByteArray &bytes, bool *ok)
{
    // GB18030 comes from ICU, which Debian's Qt 6 is built with.
    // Stateless: bytes that end inside a character are an error, not kept.
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom |
                                         QStringConverter::Flag::Stateless);
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString();
    // Qt 6 lets a lone last byte of UTF-16 pass; Qt 5 counts it as cut short.
    const bool cut = qstrncmp(encoding, "UTF-16", 6) == 0 && bytes.size() % 2 != 0;
    if (ok)
        *ok = decoder.isValid() && !decoder.hasError() && !cut;
    return text;
}

QByteArray encode(const char *encoding, const QString &text, bool *ok)
{
    QStringEncoder encoder(encoding);
    const QByteArray bytes = encoder.isValid() ? QByteArray(encoder.encode(text)) : QByteArray();
    if (ok)
        *ok = encoder.isValid() && !encoder.hasError();
    return bytes;
}

// Qt 6 has no qrand: what Qt 5.15's does, per platform (the C library's
// rand on Windows, the minimal standard generator elsewhere).
QByteArray seededFiller(uint seed, int count, int modulus)
{
    QByteArray bytes(count, '\0');
#ifdef Q_OS_WIN
    std::srand(seed);
    std::rand();
    for (char &byte : bytes)
        byte = char(std::rand() % modulus);
#else
    static_assert(RAND_MAX == std::numeric_limits<int>::max(), "values as Qt 5 gave them");
    std::minstd_rand engine(seed);
    engine();
    for (char &byte : bytes)
        byte = char(engine() % uint(modulus));
#endif
    return bytes;
}

void setUtf8(QTextStream &stream)
{
    stream.setEncoding(QStringConverter::Utf8);
}

#else

QString decode(const char *encoding, const QByteArray &bytes, bool *ok)
{
    QTextCodec *codec = QTextCodec::codecForName(encoding);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text =
        codec ? codec->toUnicode(bytes.constData(), bytes.size(), &state) : QString();
    if (ok)
        *ok = codec && state.invalidChars == 0 && state.remainingChars == 0;
    return text;
}

QByteArray encode(const char *encoding, const QString &text, bool *ok)
{
    QTextCodec *codec = QTextCodec::codecForName(encoding);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray bytes =
        codec ? codec->fromUnicode(text.constData(), text.size(), &state) : QByteArray();
    if (ok)
        *ok = codec && state.invalidChars == 0;
    return bytes;
}

QByteArray seededFiller(uint seed, int count, int modulus)
{
    QByteArray bytes(count, '\0');
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    qsrand(seed);
    qrand();
    for (char &byte : bytes)
        byte = char(qrand() % modulus);
    QT_WARNING_POP
    return bytes;
}

void setUtf8(QTextStream &stream)
{
    stream.setCodec("UTF-8");
}

#endif

} // namespace QtCompat
