#pragma once

#include <QByteArray>

// With PARMRK the terminal driver marks a byte received with a parity or
// framing error (or a break) as FF 00 x, and doubles a real FF to FF FF.
// The line delivers "?" for a damaged byte, so every mark becomes 0x3F.
//
// A mark may be split across two reads: the bytes of an unfinished mark wait
// in `carry` (at most two) until the next chunk. Clear `carry` when the port
// closes.
QByteArray unescapeParityMarks(const QByteArray &chunk, QByteArray &carry);
