#include "command.h"

#include "phrase.h"

#include "commands.h"
#include "htmlreport.h"
#include "input.h"
#include "messages.h"
#include "session.h"

#include <QNetworkInterface>
#include <QSysInfo>

namespace {

// The adapters a search goes out of, with their addresses.
QStringList searchedAdapters(const QStringList &named)
{
    QStringList list;
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        if (!(flags & QNetworkInterface::IsUp) || (flags & QNetworkInterface::IsLoopBack))
            continue;
        if (!named.isEmpty() && !named.contains(i.name()) && !named.contains(i.humanReadableName()))
            continue;
        QStringList addresses;
        for (const QNetworkAddressEntry &e : i.addressEntries()) {
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol)
                addresses << QStringLiteral("%1/%2").arg(e.ip().toString()).arg(e.prefixLength());
        }
        list << QStringLiteral("%1 %2").arg(
            i.humanReadableName(), addresses.isEmpty() ? QStringLiteral("(no IPv4 address)")
                                                       : addresses.join(QStringLiteral(", ")));
    }
    return list;
}

} // namespace

int ReportCommand::run(Session &session, const Input &)
{
    if (const int status = session.searchAll())
        return status;
    const JournalReading reading = readJournal(session.journal.path());
    if (!reading.unreadable.isEmpty())
        warn(Phrase::translate("cli", "%1 line(s) of the journal could not be read: the writes "
                                      "the report shows may be incomplete")
                 .arg(reading.unreadable.size()));
    // A document for the customer, in English whatever the system's language.
    Phrase::Untranslated english;
    HtmlReport::Data data;
    data.host = QSysInfo::machineHostName();
    data.time = QDateTime::currentDateTimeUtc();
    data.adapters = searchedAdapters(session.inv.interfaces);
    data.journal = session.journal.path();
    data.converters = session.everyone;
    data.problems = session.problems();
    for (const SegmentCheck::HostAddress &h : SegmentCheck::hostAddresses())
        data.hostAddresses << h.address;
    data.reading = reading;
    if (!reading.error.isEmpty())
        data.journal += QStringLiteral(" (cannot be read: %1)").arg(reading.error);
    print(HtmlReport::build(data));
    return EXIT_DONE;
}
