// The write journal's file handling: where it lives, rotation, torn lines.
#include "journal.h"
#include "journalreader.h"

#include <QTemporaryDir>
#include <QtTest>

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void pathPrecedence_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("option wins")
            << "/o/j.jsonl" << QByteArray("/v/j.jsonl") << QByteArray("/s") << "/o/j.jsonl";
        QTest::newRow("then the variable")
            << QString() << QByteArray("/v/j.jsonl") << QByteArray("/s") << "/v/j.jsonl";
        QTest::newRow("then the state folder")
            << QString() << QByteArray() << QByteArray("/s") << "/s/converter-config/journal.jsonl";
        // A relative XDG_STATE_HOME is invalid and ignored, as the XDG base
        // directory rules say.
        QTest::newRow("relative state folder")
            << QString() << QByteArray() << QByteArray("rel")
            << QDir::homePath() + "/.local/state/converter-config/journal.jsonl";
    }

    void pathPrecedence()
    {
        QFETCH(QString, given);
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, stateHome);
        QFETCH(QString, expected);
        qputenv("CONVERTER_JOURNAL", variable);
        qputenv("XDG_STATE_HOME", stateHome);
        QCOMPARE(Journal::choosePath(given), expected);
    }

    // Past 64 MiB the file moves aside, one kept, and reading takes both.
    void rotatesPast64MiB()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("j.jsonl");
        Journal journal(path, "test");
        const Journal::Write write{"02AB00000001", "eth0", QByteArray(64, '\1'),
                                   QByteArray(64, '\2'), "verified"};
        QString error;
        QVERIFY2(journal.intents({write}, &error), qPrintable(error));
        QFile full(path);
        QVERIFY(full.resize((qint64(64) << 20) + 1)); // sparse: cheap
        QVERIFY(journal.outcomes({write}, &error));
        QCOMPARE(QFileInfo(Journal::rotatedPath(path)).size(), (qint64(64) << 20) + 1);
        QCOMPARE(QFileInfo(path).size() < 1000, true);
        QStringList warnings;
        const QVector<JournalRecord> records = readJournal(path, &warnings);
        QCOMPARE(records.size(), 1); // the intent before, its outcome after the move
        QCOMPARE(records.first().result, QStringLiteral("verified"));
        QVERIFY(!warnings.isEmpty()); // the run of zero bytes is no journal line
    }

    void unwritableFolderFails()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Journal journal(dir.filePath("file/j.jsonl"), "test");
        QString error;
        QVERIFY(!journal.intents({{"02AB00000001", "", {}, {}, {}}}, &error));
        QVERIFY2(error.contains("cannot create the folder"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
