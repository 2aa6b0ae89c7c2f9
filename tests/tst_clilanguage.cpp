// converter-cli's choice of language from the environment, as POSIX orders
// the variables and GNU programs read LANGUAGE.
#include "language.h"

#include <QtTest>

class TestCliLanguage : public QObject
{
    Q_OBJECT

private slots:
    void chosenFromTheEnvironment_data()
    {
        QTest::addColumn<QStringList>("variables"); // NAME=VALUE
        QTest::addColumn<bool>("chinese");
        const auto row = [](const char *name, const QStringList &variables, bool chinese) {
            QTest::newRow(name) << variables << chinese;
        };
        row("nothing set", {}, false);
        row("LANG zh_CN", {"LANG=zh_CN.UTF-8"}, true);
        row("LANG zh_SG", {"LANG=zh_SG.GB2312"}, true);
        row("plain zh", {"LANG=zh"}, true);
        row("traditional", {"LANG=zh_TW.UTF-8"}, false);
        row("Hong Kong", {"LANG=zh_HK.UTF-8"}, false);
        row("modifier", {"LANG=zh_CN.UTF-8@pinyin"}, true);
        row("LC_ALL C over LANG", {"LANG=zh_CN.UTF-8", "LC_ALL=C"}, false);
        row("LC_ALL C.UTF-8 over LANG", {"LANG=zh_CN.UTF-8", "LC_ALL=C.UTF-8"}, false);
        row("LC_ALL over LC_MESSAGES", {"LC_ALL=en_US.UTF-8", "LC_MESSAGES=zh_CN.UTF-8"}, false);
        row("LC_MESSAGES over LANG", {"LC_MESSAGES=zh_CN.UTF-8", "LANG=en_GB.UTF-8"}, true);
        row("LANGUAGE first choice", {"LANG=en_US.UTF-8", "LANGUAGE=zh_CN:en"}, true);
        row("LANGUAGE English first", {"LANG=zh_CN.UTF-8", "LANGUAGE=en_US:zh_CN"}, false);
        row("LANGUAGE skips what has no catalogue", {"LANG=en_US.UTF-8", "LANGUAGE=fr:de:zh_CN"},
            true);
        row("LANGUAGE ignored under C", {"LANG=C", "LANGUAGE=zh_CN"}, false);
        row("LANGUAGE with no catalogue", {"LANG=zh_CN.UTF-8", "LANGUAGE=fr"}, false);
        row("POSIX", {"LC_ALL=POSIX"}, false);
    }

    void chosenFromTheEnvironment()
    {
        QFETCH(QStringList, variables);
        QFETCH(bool, chinese);
        const auto variable = [&](const char *name) {
            for (const QString &v : variables) {
                if (v.section(QLatin1Char('='), 0, 0) == QLatin1String(name))
                    return v.section(QLatin1Char('='), 1);
            }
            return QString();
        };
        QCOMPARE(Language::chineseFromEnvironment(variable), chinese);
    }
};

QTEST_GUILESS_MAIN(TestCliLanguage)
#include "tst_clilanguage.moc"
