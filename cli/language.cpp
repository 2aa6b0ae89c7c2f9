#include "language.h"

#include <QCoreApplication>
#include <QTranslator>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Language {

namespace {

// zh_CN, zh_SG and plain zh, with any codeset or modifier.
bool simplifiedChinese(QString name)
{
    name = name.section(QLatin1Char('@'), 0, 0).section(QLatin1Char('.'), 0, 0);
    return name == QLatin1String("zh") || name == QLatin1String("zh_CN") ||
           name == QLatin1String("zh_SG");
}

} // namespace

bool chineseFromEnvironment(const std::function<QString(const char *)> &variable)
{
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = variable(name);
        if (!locale.isEmpty())
            break;
    }
    // The C locale means untranslated, whatever LANGUAGE says.
    const QString base = locale.section(QLatin1Char('.'), 0, 0);
    if (locale.isEmpty() || base == QLatin1String("C") || base == QLatin1String("POSIX"))
        return false;
    const QString priorities = variable("LANGUAGE");
    if (!priorities.isEmpty()) {
        for (const QString &entry : priorities.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            if (simplifiedChinese(entry))
                return true;
            if (entry.startsWith(QLatin1String("en")))
                return false;
            // A language without a catalogue here: the next one is tried.
        }
        return false;
    }
    return simplifiedChinese(locale);
}

bool systemIsChinese()
{
#ifdef Q_OS_WIN
    switch (GetUserDefaultUILanguage()) {
    case 0x0004: // Chinese (Simplified), neutral
    case 0x0804: // China
    case 0x1004: // Singapore
    case 0x7804: // Chinese, neutral
        return true;
    default:
        return false;
    }
#else
    return chineseFromEnvironment([](const char *name) { return qEnvironmentVariable(name); });
#endif
}

void install()
{
    if (!systemIsChinese())
        return;
    static QTranslator catalogue;
    if (catalogue.load(QStringLiteral(":/cli/converter-cli_zh.qm")))
        QCoreApplication::installTranslator(&catalogue);
}

} // namespace Language
