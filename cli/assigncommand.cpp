#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include <QHostAddress>

#include <algorithm>

int AssignCommand::run(Session &session, const Input &input)
{
    const Invocation &inv = session.inv;
    QVector<FoundDevice> devices;
    if (inv.only.isEmpty()) {
        if (const int status = session.searchAll())
            return status;
        devices = session.everyone;
        if (devices.isEmpty())
            return fail(
                EXIT_NOTHING_FOUND,
                Phrase::translate("cli", "no converter answered within %1 ms").arg(inv.timeoutMs));
    } else {
        QMap<QString, FoundDevice> found;
        if (const int status = session.find(inv.only, &found))
            return status;
        devices = found.values().toVector();
    }
    std::sort(devices.begin(), devices.end(), [](const FoundDevice &a, const FoundDevice &b) {
        return a.record.mac < b.record.mac;
    });
    if ((input.firstAddress & 0xFF) + quint32(devices.size()) - 1 > 254)
        return fail(EXIT_BAD_INPUT,
                    Phrase::translate(
                        "cli", "assign: %1 converters from %2 would run past .254; nothing sent")
                        .arg(devices.size())
                        .arg(QHostAddress(input.firstAddress).toString()));
    QVector<Plan> plans;
    for (int i = 0; i < devices.size(); ++i) {
        SettingFields::Change ip;
        ip.field = SettingFields::Field::Ip;
        ip.text = QHostAddress(input.firstAddress + quint32(i)).toString();
        plans.append(planChanges(devices.at(i), {ip}));
    }
    return session.write(plans);
}
