// The write journal's file handling: where it lives, rotation, torn lines.
#include "converterpast.h"
#include "journal.h"
#include "journalreader.h"

#include <QJsonDocument>
#include <QJsonObject>
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
        const Journal::Write write{"02AB00000001",       "eth0",     QByteArray(64, '\1'),
                                   QByteArray(64, '\2'), "verified", {}};
        QString error;
        QVERIFY2(journal.intents({write}, &error), qPrintable(error));
        QFile full(path);
        QVERIFY(full.resize((qint64(64) << 20) + 1)); // sparse: cheap
        QVERIFY(journal.outcomes({write}, &error));
        QCOMPARE(QFileInfo(Journal::rotatedPath(path)).size(), (qint64(64) << 20) + 1);
        QCOMPARE(QFileInfo(path).size() < 1000, true);
        const JournalReading reading = readJournal(path);
        QCOMPARE(reading.records.size(), 1); // the intent before, its outcome after the move
        QCOMPARE(reading.records.first().result, QStringLiteral("verified"));
        QVERIFY(!reading.unreadable.isEmpty()); // the run of zero bytes is no journal line
    }

    // Each unreadable line is named for what it is, with what it still
    // tells of its converter, and where it stands among the writes.
    void unreadableLinesAreNamed_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<bool>("outcome");
        const QByteArray head =
            "{\"time\":\"2026-12-08T10:00:00.000Z\",\"batch\":\"b2\",\"mac\":\"02AB00000002\",";
        QTest::newRow("torn intent") << head + "\"kind\":\"inte"
                                     << "not a journal line (torn by a crash?)"
                                     << "02AB00000002" << false;
        QTest::newRow("torn outcome") << head + "\"kind\":\"outcome\",\"res"
                                      << "not a journal line (torn by a crash?)"
                                      << "02AB00000002" << true;
        QTest::newRow("unknown kind") << head + "\"kind\":\"rename\",\"version\":\"3.0.0\"}"
                                      << "kind 'rename' from version 3.0.0, which this version"
                                      << "02AB00000002" << false;
        QTest::newRow("newer intent")
            << head + "\"kind\":\"intent\",\"version\":\"9.1.0\",\"before\":{}}"
            << "kind 'intent' from version 9.1.0"
            << "02AB00000002" << false;
        QTest::newRow("damaged intent") << head + "\"kind\":\"intent\",\"version\":\"0.9.0\"}"
                                        << "a damaged intent line"
                                        << "02AB00000002" << false;
        QTest::newRow("garbage") << QByteArray(" not json") << "torn by a crash?" << QString()
                                 << false;
    }

    void unreadableLinesAreNamed()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, message);
        QFETCH(QString, mac);
        QFETCH(bool, outcome);
        QTemporaryDir dir;
        const QString path = dir.filePath("j.jsonl");
        Journal journal(path, "test");
        QString error;
        QVERIFY(journal.intents(
            {{"02AB00000001", "eth0", QByteArray(64, '\1'), QByteArray(64, '\2'), {}, {}}},
            &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(line + '\n');
        file.close();
        const JournalReading reading = readJournal(path);
        QCOMPARE(reading.records.size(), 1);
        QCOMPARE(reading.unreadable.size(), 1);
        const UnreadableLine &u = reading.unreadable.first();
        QVERIFY2(u.message.startsWith(path + ":2: ") && u.message.contains(message),
                 qPrintable(u.message));
        QCOMPARE(u.mac, mac);
        QCOMPARE(u.outcome, outcome);
        QCOMPARE(u.after, 1);
    }

    // What the journal tells of converter A, from lines written by the
    // journal itself (kind, mac, batch, time first) and in the older
    // alphabetical order, some torn as a crash leaves them. Each step is
    // "MAC RESULT [old]", "MAC torn [old]", or "B replaces A" (verified);
    // the expected numbers count the writes that could be read.
    void converterPast_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("newest");
        QTest::addColumn<int>("newestVerified");
        QTest::addColumn<QVector<int>>("laterUnverified");
        QTest::addColumn<int>("unreadableSinceVerified");
        QTest::addColumn<int>("unreadableSinceNewest");
        using V = QVector<int>;
        QTest::newRow("verified, nothing after")
            << QStringList{"A verified"} << 0 << 0 << V{} << 0 << 0;
        QTest::newRow("later writes that may have changed it")
            << QStringList{"A verified", "A differs", "B verified", "A sent", "A no-answer"} << 4
            << 0 << V{1, 3, 4} << 0 << 0;
        QTest::newRow("no outcome counts, not-sent does not")
            << QStringList{"A verified", "A not-sent", "A none"} << 2 << 0 << V{2} << 0 << 0;
        QTest::newRow("verified again starts afresh")
            << QStringList{"A differs", "A verified"} << 1 << 1 << V{} << 0 << 0;
        QTest::newRow("never verified") << QStringList{"A sent"} << 0 << -1 << V{} << 0 << 0;
        QTest::newRow("a torn line names its converter")
            << QStringList{"A verified", "B torn", "A differs", "A torn"} << 1 << 0 << V{1} << 1
            << 1;
        QTest::newRow("an old torn line may concern anyone")
            << QStringList{"A verified old", "B verified old", "B torn old"} << 0 << 0 << V{} << 1
            << 1;
        QTest::newRow("old lines read as new")
            << QStringList{"A verified old", "A differs old"} << 1 << 0 << V{1} << 0 << 0;
        QTest::newRow("a replacement is the new unit's write")
            << QStringList{"A verified", "B replaces A"} << 0 << 0 << V{} << 0 << 0;
    }

    void converterPast()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir dir;
        const QString path = dir.filePath("j.jsonl");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString a = "02AB0000000A", b = "02AB0000000B";
        for (const QString &step : steps) {
            const QStringList word = step.split(' ');
            const QString mac = word[0] == "A" ? a : b;
            const bool old = word.last() == "old";
            const QString result = word[1] == "replaces" ? "verified" : word[1];
            // The journal's own lines, in a file of their own.
            const QString own = dir.filePath("own.jsonl");
            QFile::remove(own);
            Journal journal(own, "test");
            Journal::Write w{mac,
                             "eth0",
                             QByteArray(64, '\1'),
                             QByteArray(64, '\2'),
                             result,
                             word[1] == "replaces" ? a : QString()};
            QString error;
            QVERIFY(journal.intents({w}, &error));
            if (result != "none" && result != "torn")
                QVERIFY(journal.outcomes({w}, &error));
            QFile written(own);
            QVERIFY(written.open(QIODevice::ReadOnly));
            for (QByteArray line : written.readAll().split('\n')) {
                if (line.isEmpty())
                    continue;
                if (old) // QJsonDocument sorts the keys, as lines used to be
                    line = QJsonDocument::fromJson(line).toJson(QJsonDocument::Compact);
                if (result == "torn")
                    line = line.left(90);
                file.write(line + '\n');
            }
        }
        file.close();
        const JournalReading reading = readJournal(path);
        const ConverterPast past = pastOf(reading, a);
        QTEST(past.newest, "newest");
        QTEST(past.newestVerified, "newestVerified");
        QTEST(past.laterUnverified, "laterUnverified");
        QTEST(int(past.unreadableAfter(reading, past.newestVerified).size()),
              "unreadableSinceVerified");
        QTEST(int(past.unreadableAfter(reading, past.newest).size()), "unreadableSinceNewest");
    }

    // Tests and trial verdicts are read beside the writes: a verdict marks
    // every write of its batch, the newest test is the converter's last.
    void testsAndTrials()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("j.jsonl");
        Journal journal(path, "test");
        const QString a = "02AB0000000A", b = "02AB0000000B";
        QString error;
        const QVector<Journal::Write> writes{
            {a, "eth0", QByteArray(64, '\1'), QByteArray(64, '\2'), "verified", {}},
            {b, "eth0", QByteArray(64, '\1'), QByteArray(64, '\2'), "verified", {}}};
        QVERIFY(journal.intents(writes, &error) && journal.outcomes(writes, &error));
        QVERIFY(journal.trial("waiting", &error));
        QVERIFY(journal.tests({{a, "loopback-failed", {{"sent", 10}}}}, &error));
        QVERIFY(journal.tests({{a, "loopback-ok", {{"sent", 10}, {"received", 10}}}}, &error));
        QVERIFY(journal.trial("rolled-back", &error));
        const QString batch = journal.batch();
        journal.newBatch(); // another batch's verdict leaves this one alone
        QVERIFY(journal.trial("confirmed", &error));

        const JournalReading reading = readJournal(path);
        QCOMPARE(reading.unreadable.size(), 0);
        QCOMPARE(reading.records.size(), 2);
        for (const JournalRecord &r : reading.records)
            QCOMPARE(r.trial, QStringLiteral("rolled-back"));
        QCOMPARE(reading.trials.size(), 3);
        QCOMPARE(reading.trials.at(1).batch, batch);
        const ConverterPast past = pastOf(reading, a);
        QCOMPARE(past.lastTest, 1);
        QCOMPARE(reading.tests.at(past.lastTest).figures.value("received").toInt(), 10);
        QCOMPARE(pastOf(reading, b).lastTest, -1);
        QCOMPARE(past.newestVerified, 0); // a test is no write
    }

    void unreadableJournalIsAnError()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("j.jsonl")); // a folder where the file should be
        const JournalReading folder = readJournal(dir.filePath("j.jsonl"));
        QVERIFY2(folder.error.contains("cannot read"), qPrintable(folder.error));
        QVERIFY(readJournal(dir.filePath("none.jsonl")).error.isEmpty()); // none yet: no writes
    }

    void unwritableFolderFails()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Journal journal(dir.filePath("file/j.jsonl"), "test");
        QString error;
        QVERIFY(!journal.intents({{"02AB00000001", "", {}, {}, {}, {}}}, &error));
        QVERIFY2(error.contains("cannot create the folder"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
