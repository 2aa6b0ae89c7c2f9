#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

int ApplyCommand::run(Session &session, const Input &input)
{
    QStringList macs;
    for (const FleetFile::Entry &entry : input.entries)
        macs << entry.mac;
    QMap<QString, FoundDevice> found;
    if (const int status = session.find(macs, &found))
        return status;
    QVector<Plan> plans;
    for (const FleetFile::Entry &entry : input.entries) {
        const FoundDevice device = found.value(entry.mac);
        QVector<SettingFields::Change> changes;
        QString error;
        if (!FleetFile::changesFor(entry, device.plaintext, input.place, &changes, &error))
            return fail(EXIT_BAD_INPUT, error + Phrase::translate("cli", "; nothing sent"));
        plans.append(planChanges(device, changes));
    }
    return session.write(plans);
}
