#pragma once

#include <QByteArray>

// Tells whether file bytes hold binary data: a control byte other than backspace, tab, line
// feed, vertical tab, form feed, carriage return, the end-of-file mark 0x1A and escape 0x1B.
// Bytes of 0x20 and above never count, so every Shift-JIS text passes.
bool BinCheck(const QByteArray& bytes);
