#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for, checked for everything that needs no
// converter to answer.
struct Invocation
{
    enum class Format { Table, Csv, Json };

    QString command;       // search, show, set, reset, apply, assign, history, revert
    QStringList arguments; // what follows the command
    Format format = Format::Table;
    int timeoutMs = 1000;
    QStringList interfaces;
    int verifyTimeoutMs = 10000;
    int retries = 2;
    int rate = 200;
    bool dryRun = false;
    bool verify = true;
    bool force = false; // write even what the segment check refuses
    QStringList only;   // normalised MACs, for assign
    QString output;     // --output FILE: the results go there instead of standard output
    QString journal;    // --journal FILE
    QString batch;      // --batch ID: history and revert
    QString since;      // --since TIME: history
    // watch
    QString fromFile;      // replace --from FILE
    QString applyFile;     // --apply FILE
    QString assignFrom;    // --assign FIRST-ADDRESS
    int count = 0;         // --count N: stop after N written or refused; 0: no limit
    int forSeconds = 0;    // --for SECONDS; 0: no limit
    int intervalMs = 1000; // --interval MS between probes
    bool any = false;      // --any: assign addresses to converters off the factory address too
    // the data path: test, connect, watch --test, --try
    bool all = false;      // test --all: every converter found
    bool test = false;     // --test: test the data path after the write
    bool loopback = false; // --loopback: send a pattern and expect it back
    int bytes = 4096;      // --bytes N of the pattern
    bool hex = false;      // connect --hex
    QString pty;           // connect --pty LINK
    int trySeconds = 0;    // --try SECONDS: confirm or roll back; 0: no trial
};

enum class ParseOutcome { Run, Help, Version, Error };

// Fills the invocation; for Help and Version the text to print goes to
// output, for Error the message.
ParseOutcome parseCommandLine(const QStringList &arguments, Invocation *invocation,
                              QString *output);
