#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"

#include <QElapsedTimer>

int TestCommand::run(Session &session, const Input &input)
{
    QVector<FoundDevice> devices;
    if (session.inv.all) {
        if (const int status = session.searchAll())
            return status;
        devices = session.everyone;
        if (devices.isEmpty())
            return fail(EXIT_NOTHING_FOUND,
                        Phrase::translate("cli", "no converter answered within %1 ms")
                            .arg(session.inv.timeoutMs));
    } else {
        QMap<QString, FoundDevice> found;
        if (const int status = session.find(input.macs, &found))
            return status;
        for (const QString &mac : input.macs)
            devices << found.value(mac);
    }
    QVector<DataTestResult> results;
    QElapsedTimer clock;
    clock.start();
    const int journaled = session.testData(devices, &results);
    const qint64 elapsed = clock.elapsed();
    print(Output::tests(results, session.inv.format));
    int passed = 0;
    for (const DataTestResult &r : qAsConst(results))
        passed += r.passed() ? 1 : 0;
    warn(Phrase::translate("cli", "%1 of %2 converter(s) passed in %3 ms; journal batch %4")
             .arg(passed)
             .arg(results.size())
             .arg(elapsed)
             .arg(session.journal.batch()));
    if (journaled != EXIT_DONE)
        return journaled;
    return passed == results.size() ? EXIT_DONE : EXIT_NOT_VERIFIED;
}
