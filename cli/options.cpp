#include "options.h"

#include "phrase.h"

#include "settingfields.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMap>

namespace {

const QStringList COMMANDS = {"search", "show",    "set",     "reset",   "apply",
                              "assign", "history", "revert",  "replace", "report",
                              "watch",  "test",    "connect", "confirm"};
// The options each command takes besides --help and --version: the one
// place that the refusal of any other option and each command's help read.
const QStringList SEARCHING = {"timeout", "interface"};
const QStringList PRINTING = {"format", "output"};
const QStringList WRITING = {"dry-run", "no-verify", "verify-timeout", "retries",
                             "rate",    "force",     "journal"};
// A trial: kept on confirmation (or a passed test), else rolled back.
const QStringList TRYING = {"try", "test", "loopback", "bytes"};
const QMap<QString, QStringList> TAKES = {
    {"search", SEARCHING + PRINTING},
    {"show", SEARCHING + PRINTING},
    {"set", SEARCHING + PRINTING + WRITING + TRYING},
    {"reset", SEARCHING + PRINTING + WRITING},
    {"apply", SEARCHING + PRINTING + WRITING + TRYING},
    {"assign", SEARCHING + PRINTING + WRITING + TRYING + QStringList{"only"}},
    {"history", PRINTING + QStringList{"journal", "batch", "since"}},
    {"revert", SEARCHING + PRINTING + WRITING + QStringList{"batch"}},
    {"replace", SEARCHING + PRINTING + WRITING + TRYING + QStringList{"from"}},
    {"report", SEARCHING + QStringList{"output", "journal"}},
    // watch writes and verifies: no dry run, no unverified writes.
    {"watch",
     SEARCHING + PRINTING +
         QStringList{"verify-timeout", "retries", "rate", "force", "journal", "apply", "assign",
                     "count", "for", "interval", "any", "test", "loopback", "bytes"}},
    {"test", SEARCHING + PRINTING + QStringList{"journal", "all", "loopback", "bytes"}},
    {"connect", SEARCHING + QStringList{"hex", "pty"}},
    {"confirm", QStringList{"journal"}},
};

// "set, reset and apply": the commands that take an option.
QString takenBy(const QString &option)
{
    QStringList commands;
    for (const QString &command : COMMANDS) {
        if (TAKES.value(command).contains(option))
            commands << command;
    }
    const QString last = commands.takeLast();
    return commands.isEmpty() ? last
                              : Phrase::translate("cli", "%1 and %2")
                                    .arg(commands.join(QStringLiteral(", ")), last);
}

const char OVERVIEW[] = QT_TRANSLATE_NOOP(
    "cli", "Usage: converter-cli [OPTION]... COMMAND [ARGUMENT]...\n"
           "Find, read and configure serial-to-Ethernet converters on the local network\n"
           "segment (UDP broadcast on port 1500). Every write is checked by reading the\n"
           "converter back.\n"
           "\n"
           "Commands:\n"
           "  search                  list every converter that answers\n"
           "  show MAC                the settings of one converter\n"
           "  set MAC FIELD=VALUE...  change some settings of one converter\n"
           "  reset MAC               write the factory defaults (name and MAC stay)\n"
           "  apply FILE              write a CSV fleet file ('-' reads standard input)\n"
           "  assign FIRST-ADDRESS    give every converter found consecutive addresses\n"
           "  history [MAC...]        the journal of writes, newest last\n"
           "  revert MAC...           undo each converter's last write (or --batch ID)\n"
           "  replace OLD-MAC [NEW-MAC]\n"
           "                          give a new unit every setting of a failed one\n"
           "  report                  an HTML page of the segment to hand over: addresses\n"
           "                          by subnet, every converter, their last writes\n"
           "  watch --apply FILE      configure each converter of a fleet file as it\n"
           "                          appears on the network, unattended\n"
           "  watch --assign FIRST-ADDRESS [FIELD=VALUE...]\n"
           "                          give each new converter at the factory address the\n"
           "                          next free address and the fields, as it appears\n"
           "  test MAC... | --all     open each converter's data path the way its mode\n"
           "                          says; with --loopback, check that data comes back\n"
           "  connect MAC             join the converter's serial line to standard input\n"
           "                          and output, or to a pseudo-terminal (--pty LINK)\n"
           "  confirm BATCH           keep a write made with --try\n"
           "\n"
           "Options:\n"
           "  --format FORMAT         table (default), csv or json\n"
           "  --timeout MS            how long a search waits for answers (default 1000)\n"
           "  --interface NAME        search and write only through this adapter\n"
           "                          (repeatable; default: every IPv4 adapter that is up\n"
           "                          and can broadcast)\n"
           "  --dry-run               show what would be sent; send no frame\n"
           "  --no-verify             send the frames and return without reading back\n"
           "  --verify-timeout MS     how long to wait for a converter to report what was\n"
           "                          written (default 10000)\n"
           "  --retries N             frames sent again to a converter that does not take\n"
           "                          one (default 2)\n"
           "  --rate N                frames per second at most (default 200)\n"
           "  --only MAC              assign: only this converter (repeatable)\n"
           "  --force                 write even what the segment check refuses (and say\n"
           "                          what was overridden); revert: fields changed since\n"
           "                          as well\n"
           "  --journal FILE          the write journal (default: $CONVERTER_JOURNAL, else\n"
           "                          ~/.local/state/converter-config/journal.jsonl; on\n"
           "                          Windows %LOCALAPPDATA%\\converter-config\\)\n"
           "  --batch ID              history, revert: the writes of one batch\n"
           "  --since TIME            history: writes from this time on (ISO 8601, UTC\n"
           "                          unless it names a zone)\n"
           "  --output FILE           write the results to FILE, byte for byte (a CSV file\n"
           "                          starts with a byte-order mark, so that spreadsheets\n"
           "                          read it as UTF-8); use it in Windows PowerShell,\n"
           "                          whose '>' re-encodes what programs print\n"
           "  --all                   test: every converter that answers\n"
           "  --loopback              test: send a pattern and expect exactly it back (a\n"
           "                          loopback plug on the converter's serial port)\n"
           "  --bytes N               the pattern's length (default 4096)\n"
           "  --test                  watch, --try: test the data path after the write\n"
           "  --try SECONDS           set, apply, assign, replace: keep the write only when\n"
           "                          confirmed ('yes', 'converter-cli confirm BATCH', or a\n"
           "                          passed --test) within SECONDS; else roll it back\n"
           "  --hex                   connect: show what arrives as hexadecimal\n"
           "  --pty LINK              connect (Linux): a pseudo-terminal linked at LINK\n"
           "  -h, --help              this help; COMMAND --help for a command\n"
           "  -V, --version           the version\n"
           "\n"
           "Fields: mac, name, version, reply-from, interface, mode (udp, tcp-client,\n"
           "udp-server, tcp-server), ip-type (static, dhcp), ip, subnet, gateway,\n"
           "local-port (0 = random), remote-ip, remote-port, baud, parity (none, odd,\n"
           "even; a converter may also report mark, space), data-bits (7, 8; also 5, 6\n"
           "as reported), stop-bits (1, 2). mac, version, reply-from and interface are\n"
           "read-only. MACs are printed as 00:1A:2B:3C:4D:5E and may be written with or\n"
           "without ':' or '-'. search and show add 'problems' (read-only): the\n"
           "segment check's codes duplicate-ip, host-address, reserved-address,\n"
           "network-address, broadcast-address, bad-subnet, gateway-outside-subnet,\n"
           "gateway-is-own-ip, gateway-not-a-host.\n"
           "\n"
           "Before any write, the settings that every converter found would have after\n"
           "it are checked: two converters at one ip, a converter at an address of\n"
           "this computer, at an address no host can have (0.0.0.0/8, 127.0.0.0/8,\n"
           "224.0.0.0/4, 240.0.0.0/4), at its subnet's network or broadcast address,\n"
           "with a mask that is not ones then zeros (or is 0.0.0.0), or with a gateway\n"
           "outside its subnet, equal to its ip or no host's address (converters using\n"
           "DHCP are left out). A write that gives a converter it writes such a\n"
           "problem is refused; a problem counts as there before only when the\n"
           "converter had it with the same value of that field (the same ip, with the\n"
           "same other converter; the same gateway; the same subnet). search and show\n"
           "print the problems there are.\n"
           "\n"
           "Exit status: 0 done (and verified); 1 search found nothing; 2 bad usage,\n"
           "bad input or refused by the segment check, nothing sent; 3 a named\n"
           "converter did not answer (or UDP port 1500 cannot be used), nothing sent;\n"
           "4 written but not verified for at least one converter; 5 the journal cannot\n"
           "be written or read, nothing sent; 6 the probe could not leave through any\n"
           "adapter (none is up with a route for broadcasts), nothing sent, or with\n"
           "--no-verify a frame left through none ('not-sent'); 7 frames were sent, but\n"
           "their outcome lines in the journal or the results (--output, standard\n"
           "output) could not be written, the message says which.\n"
           "\n"
           "Example, commissioning from a spreadsheet:\n"
           "  converter-cli search --format csv --output fleet.csv\n"
           "  (edit fleet.csv)\n"
           "  converter-cli apply fleet.csv\n");

QString commandHelp(const QString &command)
{
    if (command == QLatin1String("search"))
        return Phrase::translate(
            "cli", "Usage: converter-cli search [--format F] [--timeout MS] [--interface NAME]\n"
                   "                            [--output FILE]\n"
                   "Sends one probe and lists every converter that answers within the timeout,\n"
                   "one per MAC in order of arrival, with all its settings. The CSV it prints is\n"
                   "a fleet file for 'apply'. Exit status 1 when nothing answers.\n");
    if (command == QLatin1String("show"))
        return Phrase::translate("cli",
                                 "Usage: converter-cli show MAC [--format F]\n"
                                 "Prints the settings of one converter; exit status 3 when it "
                                 "does not answer.\n");
    if (command == QLatin1String("set"))
        return Phrase::translate(
            "cli", "Usage: converter-cli set MAC FIELD=VALUE... [--dry-run] [--no-verify]\n"
                   "Reads the converter's settings, changes the named fields and writes them in\n"
                   "one frame, then reads the converter back until it reports every value.\n"
                   "Values it already reports are not written ('unchanged'); settings the\n"
                   "command does not name are written back exactly as reported.\n"
                   "Values: addresses as four numbers 0-255; local-port 0-65535 (0 = random);\n"
                   "remote-port 1-65535; baud 100-2000000; name at most 10 bytes of UTF-8.\n"
                   "Example: converter-cli set 00:1A:2B:3C:4D:5E ip=192.168.1.50 baud=9600\n");
    if (command == QLatin1String("reset"))
        return Phrase::translate(
            "cli", "Usage: converter-cli reset MAC [--dry-run] [--no-verify]\n"
                   "Writes the factory defaults: mode udp, ip-type static, ip 192.168.1.8,\n"
                   "subnet 255.255.255.0, gateway 192.168.1.1, local-port 1234, remote-ip\n"
                   "192.168.1.254, remote-port 1234, baud 9600, parity none, data-bits 8,\n"
                   "stop-bits 1. The name and the MAC stay.\n");
    if (command == QLatin1String("apply"))
        return Phrase::translate(
            "cli", "Usage: converter-cli apply FILE [--dry-run] [--no-verify] [--rate N]\n"
                   "FILE is CSV ('-' for standard input) with a header row of field names, a\n"
                   "'mac' column and one row per converter; any subset of the fields. An empty\n"
                   "cell, or one equal to what the converter reports, changes nothing;\n"
                   "read-only columns are ignored. Every row is checked before anything is\n"
                   "sent; then each converter with changes is written and verified. Files\n"
                   "saved by spreadsheets (byte-order mark, CRLF, quoted cells) read the same.\n");
    if (command == QLatin1String("assign"))
        return Phrase::translate(
            "cli", "Usage: converter-cli assign FIRST-ADDRESS [--only MAC]... [--dry-run]\n"
                   "Gives every converter found (or those named with --only) a consecutive ip\n"
                   "from FIRST-ADDRESS on, in MAC order, and verifies. Refused, with no frame\n"
                   "sent, when the range would run past .254 of its last octet (with --only,\n"
                   "before any probe), or when FIRST-ADDRESS ends in .0 or .255.\n");
    if (command == QLatin1String("report"))
        return Phrase::translate(
            "cli", "Usage: converter-cli report [--output FILE] [--timeout MS] [--interface NAME]\n"
                   "Searches, then writes one self-contained HTML page (UTF-8, styles and\n"
                   "pictures inside, nothing loaded from elsewhere; prints on A4): this\n"
                   "computer, the adapters searched, a picture of the addresses of each subnet\n"
                   "that holds converters (used, free, clashes, this computer, gateways), every\n"
                   "converter with its problems, and each one's last five writes from the\n"
                   "journal. Exit status 0 when written, also when nothing answered.\n");
    if (command == QLatin1String("replace"))
        return Phrase::translate(
            "cli",
            "Usage: converter-cli replace OLD-MAC [NEW-MAC] [--from FILE] [--force] [--dry-run]\n"
            "Gives a new unit every writable setting of a failed one, its name included\n"
            "(its own MAC and version stay): the settings that OLD's newest verified\n"
            "write sent, from the journal, or OLD's row of a fleet file with --from (as\n"
            "'search --format csv' writes it, values only a converter reports included;\n"
            "an empty name cell means no name). NEW is the MAC given, which must answer\n"
            "at the factory address 192.168.1.8, or the one converter there that is not\n"
            "OLD (none: status 3; several: status 2). Refused while OLD still answers\n"
            "(the two would share an address), and when the journal holds a later write\n"
            "of OLD that did not verify or a line that may concern it and cannot be\n"
            "read, unless --force. The write is checked, journaled, verified and undone\n"
            "by 'revert NEW-MAC' like any.\n");
    if (command == QLatin1String("watch"))
        return Phrase::translate(
            "cli", "Usage: converter-cli watch --apply FILE [--count N] [--for SECONDS]\n"
                   "       converter-cli watch --assign FIRST-ADDRESS [FIELD=VALUE...] [--any]\n"
                   "Probes every --interval MS (1000) and configures each converter as it\n"
                   "appears: with --apply, its row of the fleet file; with --assign, the next\n"
                   "free address from FIRST-ADDRESS (never past .254, skipping every address a\n"
                   "converter seen or this computer holds) and the fields, for converters at the\n"
                   "factory address 192.168.1.8 (any converter with --any; others are 'skipped').\n"
                   "Every write is checked, journaled and verified as with apply. A converter\n"
                   "done is not written again; one that no longer reports what was written is\n"
                   "'changed' and left alone. One line per event, as it happens: found,\n"
                   "verified, differs, no-answer, unchanged, skipped, refused, not-in-file,\n"
                   "changed, conflict (a converter first seen at an address the run has just\n"
                   "given another: both get one) (--format csv or json: one object per line;\n"
                   "--output appends).\n"
                   "With --test (and --loopback, where the jig has the plug), each converter is\n"
                   "tested with its new settings right after its verified write: an event\n"
                   "'tested' or 'test-failed', with the test's result and throughput.\n"
                   "Ends when every row is handled (--apply), after --count N converters\n"
                   "written or refused, after --for SECONDS (up to a year), or on Ctrl-C; each\n"
                   "lets a write in flight finish its verification (a second Ctrl-C stops at\n"
                   "once).\n"
                   "Exit status 0 when every converter written was verified (and passed its\n"
                   "test) and none was refused or in conflict (and with --apply every row was\n"
                   "handled), 4\n"
                   "otherwise; 7 when an outcome could not be journaled.\n");
    if (command == QLatin1String("history"))
        return Phrase::translate(
            "cli",
            "Usage: converter-cli history [MAC...] [--since TIME] [--batch ID] [--format F]\n"
            "Every write in the journal, newest last: time, batch, program, MAC, result\n"
            "(empty while a write has no outcome, as after a crash), the unit it replaces\n"
            "and each field it changed, before -> after. Sends nothing.\n");
    if (command == QLatin1String("revert"))
        return Phrase::translate(
            "cli",
            "Usage: converter-cli revert MAC... | revert --batch ID [--dry-run] [--force]\n"
            "Undoes each converter's last journaled write (or every write of a batch): every\n"
            "settings byte goes back to what it was before, where the converter still\n"
            "reports what the write left. A field changed since by anything else, or a\n"
            "journal line after the write that cannot be read and may concern the\n"
            "converter, refuses the whole revert before anything is sent (status 2);\n"
            "--force reverts anyway. A revert is checked, verified and journaled like any.\n");
    if (command == QLatin1String("test"))
        return Phrase::translate(
            "cli",
            "Usage: converter-cli test MAC... | --all [--loopback [--bytes N]] [--format F]\n"
            "Searches, then opens each converter's data path from this computer the way\n"
            "its mode says: tcp-server, a connection to its local port; tcp-client, a\n"
            "listener on its remote port when its remote ip is this computer's; udp-server\n"
            "and udp, datagrams to its local port. Sends no configure frame. With\n"
            "--loopback (a plug on its serial port), sends a pseudo-random pattern and\n"
            "checks that exactly it comes back, with the throughput against the line's\n"
            "capacity. Results: connected, loopback-ok, loopback-failed, refused,\n"
            "unreachable, untested (the remote end is another host). Each test is\n"
            "journaled. Exit status 0 when every converter passed, 4 when any did not\n"
            "(untested included), 3 when a named converter did not answer.\n");
    if (command == QLatin1String("connect"))
        return Phrase::translate(
            "cli", "Usage: converter-cli connect MAC [--hex] [--pty LINK]\n"
                   "Opens the converter's data path as 'test' does and joins it to standard\n"
                   "input and output until end of input or Ctrl-C (--hex shows what arrives as\n"
                   "hexadecimal with offsets). With --pty LINK (Linux), a pseudo-terminal linked\n"
                   "at LINK that any serial program can open; it stays open across a lost\n"
                   "connection while the tool reconnects, warns when the program sets a speed\n"
                   "or framing other than the converter's, and LINK is removed at the end.\n");
    if (command == QLatin1String("confirm"))
        return Phrase::translate(
            "cli", "Usage: converter-cli confirm BATCH\n"
                   "Keeps the writes of a batch made with --try, which is waiting for this\n"
                   "confirmation (status 2 when the batch is not on trial any more).\n");
    return Phrase::translate("cli", OVERVIEW);
}

// A command's help, ending with the options it takes.
QString helpOf(const QString &command)
{
    const QString text = commandHelp(command);
    if (!TAKES.contains(command))
        return text;
    QString options;
    int column = 8;
    for (const QString &option : TAKES.value(command)) {
        if (column + option.size() + 3 > 78) {
            options += QStringLiteral("\n ");
            column = 1;
        }
        options += QStringLiteral(" --") + option;
        column += option.size() + 3;
    }
    return text + Phrase::translate("cli", "Options:%1\n(converter-cli --help says what each "
                                           "does)\n")
                      .arg(options);
}

bool number(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < min || v > max)
        return false;
    *value = v;
    return true;
}

} // namespace

ParseOutcome parseCommandLine(const QStringList &arguments, Invocation *inv, QString *output)
{
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, QString());
    const QCommandLineOption version({"V", "version"}, QString());
    const QCommandLineOption format("format", QString(), "format");
    const QCommandLineOption timeout("timeout", QString(), "ms");
    const QCommandLineOption interface("interface", QString(), "name");
    const QCommandLineOption dryRun("dry-run", QString());
    const QCommandLineOption noVerify("no-verify", QString());
    const QCommandLineOption verifyTimeout("verify-timeout", QString(), "ms");
    const QCommandLineOption retries("retries", QString(), "n");
    const QCommandLineOption rate("rate", QString(), "n");
    const QCommandLineOption only("only", QString(), "mac");
    const QCommandLineOption outputFile("output", QString(), "file");
    const QCommandLineOption force("force", QString());
    const QCommandLineOption journal("journal", QString(), "file");
    const QCommandLineOption batch("batch", QString(), "id");
    const QCommandLineOption since("since", QString(), "time");
    const QCommandLineOption applyFile("apply", QString(), "file");
    const QCommandLineOption assignFrom("assign", QString(), "address");
    const QCommandLineOption count("count", QString(), "n");
    const QCommandLineOption forSeconds("for", QString(), "seconds");
    const QCommandLineOption interval("interval", QString(), "ms");
    const QCommandLineOption any("any", QString());
    const QCommandLineOption from("from", QString(), "file");
    const QCommandLineOption all("all", QString());
    const QCommandLineOption test("test", QString());
    const QCommandLineOption loopback("loopback", QString());
    const QCommandLineOption bytes("bytes", QString(), "n");
    const QCommandLineOption hex("hex", QString());
    const QCommandLineOption pty("pty", QString(), "link");
    const QCommandLineOption trySeconds("try", QString(), "seconds");
    parser.addOptions({help,     version,       format,   timeout, interface, dryRun,
                       noVerify, verifyTimeout, retries,  rate,    only,      outputFile,
                       force,    journal,       batch,    since,   applyFile, assignFrom,
                       count,    forSeconds,    interval, any,     from,      all,
                       test,     loopback,      bytes,    hex,     pty,       trySeconds});
    if (!parser.parse(arguments)) {
        *output = parser.errorText();
        return ParseOutcome::Error;
    }
    const QStringList positional = parser.positionalArguments();
    inv->command = positional.value(0);
    inv->arguments = positional.mid(1);

    if (parser.isSet(version)) {
        *output = QStringLiteral("converter-cli %1\n").arg(QCoreApplication::applicationVersion());
        return ParseOutcome::Version;
    }
    if (!inv->command.isEmpty() && !COMMANDS.contains(inv->command)) {
        *output = Phrase::translate("cli", "unknown command '%1'").arg(inv->command);
        return ParseOutcome::Error;
    }
    if (parser.isSet(help)) {
        *output = helpOf(inv->command);
        return ParseOutcome::Help;
    }
    if (inv->command.isEmpty()) {
        *output = Phrase::translate("cli", "no command given");
        return ParseOutcome::Error;
    }

    for (const QString &option : parser.optionNames()) {
        if (!TAKES.value(inv->command).contains(option)) {
            *output = Phrase::translate("cli", "--%1 is for %2, not %3")
                          .arg(option, takenBy(option), inv->command);
            return ParseOutcome::Error;
        }
    }

    const QString fmt = parser.value(format);
    if (fmt.isEmpty() || fmt == QLatin1String("table"))
        inv->format = Invocation::Format::Table;
    else if (fmt == QLatin1String("csv"))
        inv->format = Invocation::Format::Csv;
    else if (fmt == QLatin1String("json"))
        inv->format = Invocation::Format::Json;
    else {
        *output = Phrase::translate("cli", "--format '%1' is not one of table, csv, json").arg(fmt);
        return ParseOutcome::Error;
    }
    struct NumberOption
    {
        const QCommandLineOption &option;
        int min, max;
        int *value;
    };
    const NumberOption numbers[] = {
        {timeout, 0, 600000, &inv->timeoutMs},
        {verifyTimeout, 0, 3600000, &inv->verifyTimeoutMs},
        {retries, 0, 100, &inv->retries},
        {rate, 1, 100000, &inv->rate},
        {count, 1, 1000000, &inv->count},
        {forSeconds, 1, 31536000, &inv->forSeconds},
        {interval, 100, 3600000, &inv->intervalMs},
        {bytes, 1, 16777216, &inv->bytes},
        {trySeconds, 1, 86400, &inv->trySeconds},
    };
    for (const NumberOption &n : numbers) {
        if (parser.isSet(n.option) && !number(parser.value(n.option), n.min, n.max, n.value)) {
            *output = Phrase::translate("cli", "--%1 '%2' is not a number from %3 to %4")
                          .arg(n.option.names().first(), parser.value(n.option))
                          .arg(n.min)
                          .arg(n.max);
            return ParseOutcome::Error;
        }
    }
    inv->interfaces = parser.values(interface);
    inv->output = parser.value(outputFile);
    if (parser.isSet(outputFile) && inv->output.isEmpty()) {
        *output = Phrase::translate("cli", "--output needs a file name");
        return ParseOutcome::Error;
    }
    inv->dryRun = parser.isSet(dryRun);
    inv->verify = !parser.isSet(noVerify);
    inv->force = parser.isSet(force);
    inv->journal = parser.value(journal);
    inv->batch = parser.value(batch);
    inv->since = parser.value(since);
    for (const QCommandLineOption *option : {&journal, &batch, &since, &from}) {
        if (parser.isSet(*option) && parser.value(*option).isEmpty()) {
            *output = Phrase::translate("cli", "--%1 needs a value").arg(option->names().first());
            return ParseOutcome::Error;
        }
    }
    inv->fromFile = parser.value(from);
    inv->all = parser.isSet(all);
    inv->test = parser.isSet(test);
    inv->loopback = parser.isSet(loopback);
    inv->hex = parser.isSet(hex);
    inv->pty = parser.value(pty);
    if (parser.isSet(pty) && inv->pty.isEmpty()) {
        *output = Phrase::translate("cli", "--pty needs a path for the link");
        return ParseOutcome::Error;
    }
#ifdef Q_OS_WIN
    if (parser.isSet(pty)) {
        *output = Phrase::translate("cli", "--pty is for Linux; on Windows use connect without it "
                                           "or a virtual serial port driver");
        return ParseOutcome::Error;
    }
#endif
    // A write on trial ends with a confirmation, or with a passed test.
    const bool writing = TAKES.value(inv->command).contains(QLatin1String("try"));
    if (writing && (parser.isSet(test) || parser.isSet(loopback) || parser.isSet(bytes)) &&
        !parser.isSet(trySeconds)) {
        *output = Phrase::translate("cli", "%1: --test, --loopback and --bytes go with --try "
                                           "SECONDS")
                      .arg(inv->command);
        return ParseOutcome::Error;
    }
    if ((parser.isSet(loopback) || parser.isSet(bytes)) && inv->command != QLatin1String("test") &&
        !parser.isSet(test)) {
        *output = Phrase::translate("cli", "--loopback and --bytes go with --test");
        return ParseOutcome::Error;
    }
    if (parser.isSet(bytes) && !parser.isSet(loopback)) {
        *output = Phrase::translate("cli", "--bytes goes with --loopback");
        return ParseOutcome::Error;
    }
    if (inv->trySeconds > 0 && (inv->dryRun || !inv->verify)) {
        *output = Phrase::translate("cli", "--try needs a verified write: not with --dry-run or "
                                           "--no-verify");
        return ParseOutcome::Error;
    }
    const bool watching = inv->command == QLatin1String("watch");
    inv->applyFile = parser.value(applyFile);
    inv->assignFrom = parser.value(assignFrom);
    inv->any = parser.isSet(any);
    if (watching && parser.isSet(applyFile) == parser.isSet(assignFrom)) {
        *output = Phrase::translate("cli", "watch: give --apply FILE or --assign FIRST-ADDRESS");
        return ParseOutcome::Error;
    }
    for (const QString &mac : parser.values(only)) {
        const QString normal = SettingFields::normaliseMac(mac);
        if (normal.isEmpty()) {
            *output =
                Phrase::translate("cli", "--only '%1' is not a MAC address (12 hexadecimal digits)")
                    .arg(mac);
            return ParseOutcome::Error;
        }
        if (!inv->only.contains(normal))
            inv->only << normal;
    }

    // Arguments after the command: at least, at most (-1: any number).
    int least = 1, most = 1;
    if (inv->command == QLatin1String("search"))
        least = most = 0;
    else if (inv->command == QLatin1String("set"))
        least = 2, most = -1;
    else if (inv->command == QLatin1String("history"))
        least = 0, most = -1;
    else if (inv->command == QLatin1String("revert"))
        least = parser.isSet(batch) ? 0 : 1, most = parser.isSet(batch) ? 0 : -1;
    else if (watching)
        least = 0, most = parser.isSet(assignFrom) ? -1 : 0;
    else if (inv->command == QLatin1String("replace"))
        least = 1, most = 2;
    else if (inv->command == QLatin1String("report"))
        least = most = 0;
    else if (inv->command == QLatin1String("test"))
        least = inv->all ? 0 : 1, most = inv->all ? 0 : -1;
    const int given = inv->arguments.size();
    if (given < least || (most >= 0 && given > most)) {
        *output =
            Phrase::translate("cli", "%1: wrong number of arguments\n%2")
                .arg(inv->command, commandHelp(inv->command).section(QLatin1Char('\n'), 0, 0));
        return ParseOutcome::Error;
    }
    return ParseOutcome::Run;
}
