#pragma once

#include "options.h"

// Exit statuses of converter-cli.
enum ExitStatus {
    EXIT_DONE = 0,
    EXIT_NOTHING_FOUND = 1,
    EXIT_BAD_INPUT = 2,
    EXIT_NOT_ANSWERED = 3,
    EXIT_NOT_VERIFIED = 4,
    EXIT_JOURNAL = 5,
    EXIT_NO_ADAPTER = 6,
    EXIT_NOT_RECORDED = 7, // frames left, but their record could not be kept
};

// Runs a parsed command; messages go to standard error, data to standard
// output. Returns the exit status.
int runCommand(const Invocation &invocation);
