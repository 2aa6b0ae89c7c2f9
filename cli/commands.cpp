#include "commands.h"

#include "phrase.h"

#include "command.h"
#include "input.h"
#include "messages.h"
#include "session.h"
#include "trial.h"

std::unique_ptr<Command> commandNamed(const QString &name)
{
    if (name == QLatin1String("search"))
        return std::make_unique<SearchCommand>();
    if (name == QLatin1String("show"))
        return std::make_unique<ShowCommand>();
    if (name == QLatin1String("set") || name == QLatin1String("reset"))
        return std::make_unique<SetCommand>(name == QLatin1String("reset"));
    if (name == QLatin1String("apply"))
        return std::make_unique<ApplyCommand>();
    if (name == QLatin1String("assign"))
        return std::make_unique<AssignCommand>();
    if (name == QLatin1String("history"))
        return std::make_unique<HistoryCommand>();
    if (name == QLatin1String("revert"))
        return std::make_unique<RevertCommand>();
    if (name == QLatin1String("report"))
        return std::make_unique<ReportCommand>();
    if (name == QLatin1String("replace"))
        return std::make_unique<ReplaceCommand>();
    if (name == QLatin1String("watch"))
        return std::make_unique<WatchCommand>();
    if (name == QLatin1String("test"))
        return std::make_unique<TestCommand>();
    if (name == QLatin1String("connect"))
        return std::make_unique<ConnectCommand>();
    if (name == QLatin1String("confirm"))
        return std::make_unique<ConfirmCommand>();
    return nullptr;
}

namespace {

int runChecked(const Invocation &inv, int *framesSent)
{
    Input input;
    if (const int status = readInput(inv, &input))
        return status;
    const std::unique_ptr<Command> command = commandNamed(inv.command);
    if (!command)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate("cli", "unknown command '%1'").arg(inv.command));
    Session session(inv);
    if (command->opensPort()) {
        if (const int status = session.open())
            return status;
    }
    int status = command->run(session, input);
    if (inv.trySeconds > 0)
        status = Trial::run(session, status);
    *framesSent = session.link.framesSent();
    return status;
}

} // namespace

int runCommand(const Invocation &inv)
{
    int framesSent = 0;
    const int status = runChecked(inv, &framesSent);
    QString error;
    if (commitOutputFile(&error))
        return status;
    // Once frames have left, a lost report must not read as "nothing sent".
    if (framesSent > 0)
        return fail(EXIT_NOT_RECORDED, error + Phrase::translate("cli", "; the frames were sent"));
    return fail(status != EXIT_DONE ? status : EXIT_BAD_INPUT, error);
}
