#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "output.h"
#include "session.h"

namespace {

// Problems go to standard error, one line each, beside the data.
void warnAbout(const QVector<SegmentCheck::Problem> &problems)
{
    for (const SegmentCheck::Problem &problem : problems)
        warn(problem.message());
}

} // namespace

int SearchCommand::run(Session &session, const Input &)
{
    if (const int status = session.searchAll())
        return status;
    const QVector<FoundDevice> &found = session.everyone;
    const QVector<SegmentCheck::Problem> problems = session.problems();
    print(Output::devices(found, problems, session.inv.format));
    warnAbout(problems);
    if (found.isEmpty())
        return fail(EXIT_NOTHING_FOUND,
                    Phrase::translate("cli", "no converter answered within %1 ms")
                        .arg(session.inv.timeoutMs));
    return EXIT_DONE;
}

int ShowCommand::run(Session &session, const Input &input)
{
    QMap<QString, FoundDevice> found;
    if (const int status = session.find({input.mac}, &found))
        return status;
    QVector<SegmentCheck::Problem> own;
    for (const SegmentCheck::Problem &problem : session.problems()) {
        if (problem.mac == input.mac)
            own << problem;
    }
    print(Output::devices({found.value(input.mac)}, own, session.inv.format));
    warnAbout(own);
    return EXIT_DONE;
}
