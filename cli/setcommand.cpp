#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include "factorydefaults.h"

int SetCommand::run(Session &session, const Input &input)
{
    QMap<QString, FoundDevice> found;
    if (const int status = session.find({input.mac}, &found))
        return status;
    const FoundDevice device = found.value(input.mac);
    QVector<SettingFields::Change> changes;
    if (reset) {
        changes = SettingFields::settingsOf(FactoryDefaults::applied(device.record));
    } else {
        for (const SettingFields::Change &change : input.changes) {
            if (SettingFields::isNoChange(device.plaintext, change))
                continue;
            if (!change.refusal.isEmpty())
                return fail(EXIT_BAD_INPUT,
                            change.refusal + Phrase::translate("cli", "; nothing sent"));
            changes << change;
        }
    }
    return session.write({planChanges(device, changes)});
}
