#include "trial.h"

#include "phrase.h"

#include "command.h"
#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"
#include "stdinreader.h"
#include "stopsignal.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace {

constexpr int POLL_MS = 200;
constexpr int RETEST_MS = 1000;

// A confirm from another shell: a trial line of the batch appended to the
// journal since offset.
bool confirmedSince(const QString &path, const QString &batch, qint64 *offset)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < *offset || !file.seek(*offset))
        return false;
    const QByteArray tail = file.readAll();
    const int complete = tail.lastIndexOf('\n') + 1; // a line still being written waits
    *offset += complete;
    bool confirmed = false;
    for (const QByteArray &line : tail.left(complete).split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        confirmed |= o.value(QLatin1String("kind")).toString() == QLatin1String("trial") &&
                     o.value(QLatin1String("batch")).toString() == batch &&
                     o.value(QLatin1String("result")).toString() == QLatin1String("confirmed");
    }
    return confirmed;
}

int rollBack(Session &session, const QString &why)
{
    const QString batch = session.journal.batch();
    warn(why + Phrase::translate("cli", "; rolling back batch %1").arg(batch));
    Invocation revert = session.inv;
    revert.command = QStringLiteral("revert");
    revert.batch = batch;
    revert.arguments.clear();
    revert.force = false;
    revert.trySeconds = 0;
    revert.test = false;
    Session again(revert);
    int status = again.open();
    if (status == EXIT_DONE)
        status = RevertCommand().run(again, Input());
    QString error;
    if (!session.journal.trial(status == EXIT_DONE ? QStringLiteral("rolled-back")
                                                   : QStringLiteral("rollback-failed"),
                               &error))
        warn(error);
    warn(status == EXIT_DONE
             ? Phrase::translate("cli", "batch %1 rolled back").arg(batch)
             : Phrase::translate("cli", "batch %1 could not be rolled back, as above").arg(batch));
    return status == EXIT_DONE ? EXIT_NOT_VERIFIED : status;
}

} // namespace

namespace Trial {

int run(Session &session, int status)
{
    const Invocation &inv = session.inv;
    const QString batch = session.journal.batch();
    if (session.written.isEmpty())
        return status; // nothing was written: nothing to keep or undo
    if (status != EXIT_DONE)
        return rollBack(session, Phrase::translate("cli", "not every write verified"));
    // Ctrl-C from the moment the trial is journaled rolls back.
    StopSignal stop;
    QString error;
    if (!session.journal.trial(QStringLiteral("waiting"), &error))
        return rollBack(session, error);
    qint64 offset = QFile(session.journal.path()).size();

    QEventLoop loop;
    QString ending; // why the wait ended without a confirmation
    bool confirmed = false;
    bool journaled = false; // confirm from another shell wrote the verdict already
    const auto confirm = [&] {
        confirmed = true;
        loop.quit();
    };
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        ending = Phrase::translate("cli", "no confirmation within %1 s").arg(inv.trySeconds);
        loop.quit();
    });
    deadline.start(inv.trySeconds * 1000);
    QObject::connect(&stop, &StopSignal::requested, &loop, [&] {
        ending = Phrase::translate("cli", "stopped");
        loop.quit();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (confirmedSince(session.journal.path(), batch, &offset)) {
            journaled = true;
            confirm();
        }
    });
    poll.start(POLL_MS);
    QByteArray typed;
    QObject::connect(
        StdinReader::instance(), &StdinReader::received, &loop, [&](const QByteArray &bytes) {
            typed += bytes;
            while (typed.contains('\n')) {
                const int end = typed.indexOf('\n');
                const QByteArray line = typed.left(end).trimmed().toLower();
                typed.remove(0, end + 1);
                if (line == "yes")
                    return confirm();
                if (!line.isEmpty())
                    warn(Phrase::translate("cli", "type yes to keep batch %1").arg(batch));
            }
        });
    // With --test, a passed test of the new settings is the confirmation;
    // a failed one is tried again until the time is up.
    QVector<DataTestResult> lastTest;
    QTimer retest;
    retest.setSingleShot(true);
    QObject::connect(&retest, &QTimer::timeout, &loop, [&] {
        QMap<QString, FoundDevice> found;
        if (session.find(session.written, &found) == EXIT_DONE) {
            QVector<FoundDevice> devices;
            for (const QString &mac : qAsConst(session.written))
                devices << found.value(mac);
            lastTest = testDataPaths(devices, session.testOptions());
            if (std::all_of(lastTest.begin(), lastTest.end(),
                            [](const DataTestResult &r) { return r.passed(); }))
                return confirm();
        }
        if (loop.isRunning())
            retest.start(RETEST_MS);
    });
    if (inv.test)
        retest.start(0);

    warn(Phrase::translate("cli", "batch %1 is on trial for %2 s: type yes, or run "
                                  "'converter-cli confirm %1', to keep it; otherwise it is "
                                  "rolled back")
             .arg(batch)
             .arg(inv.trySeconds));
    loop.exec();
    if (!lastTest.isEmpty()) {
        for (const QString &line : Output::tests(lastTest, Invocation::Format::Table).split('\n'))
            if (!line.isEmpty())
                warn(line);
        session.journalTests(lastTest);
    }
    if (!confirmed && confirmedSince(session.journal.path(), batch, &offset))
        confirmed = journaled = true; // a confirm that came as the time ran out
    if (!confirmed)
        return rollBack(session, ending);
    if (!journaled && !session.journal.trial(QStringLiteral("confirmed"), &error))
        return fail(EXIT_NOT_RECORDED, error);
    warn(Phrase::translate("cli", "batch %1 confirmed").arg(batch));
    return EXIT_DONE;
}

} // namespace Trial
