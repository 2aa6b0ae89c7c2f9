#pragma once

#include <QByteArray>

// The serial line a converter's settings describe, as a wire carries it.
namespace SerialLine {

// Bits on the wire per character: a start bit, the data bits, a parity bit
// unless there is none, the stop bits.
int bitsPerCharacter(const QByteArray &frame);
// Characters per second at the frame's baud and framing; 0 for a baud that
// is not a number.
double charactersPerSecond(const QByteArray &frame);

} // namespace SerialLine
