#pragma once

#include <QString>

// Whether converter-cli can share UDP port 1500 with whoever holds it.
namespace PortHolders {

// Windows lets a socket that asks for address sharing bind a port that
// another program holds without sharing it, and then hands each answer to
// only one of the two, so a search there would silently miss converters.
// False with a message naming the program when a program other than ours
// holds the port. Elsewhere the bind itself fails in that case: always true.
bool check(QString *error);

} // namespace PortHolders
