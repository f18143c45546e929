#pragma once

#include <QString>
#include <QtGlobal>

// The number a track or genre cell holds, as one byte: the digits at the start
// of the text after leading blanks. Text that starts with no digits, or a
// number outside 0 to 255, reads as 0.
quint8 cellNumber(const QString &text);
