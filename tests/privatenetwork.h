#pragma once

#include <QString>

// Tests that open the device port or send must never touch the machine's real
// network. Returns an empty string inside a private network namespace that
// holds nothing but loopback, otherwise a message that says what is wrong.
QString privateNetworkProblem();

// For use in initTestCase().
#define REQUIRE_PRIVATE_NETWORK()                                                                  \
    do {                                                                                           \
        const QString problem = privateNetworkProblem();                                           \
        if (!problem.isEmpty())                                                                    \
            QFAIL(qPrintable(problem));                                                            \
    } while (false)
