#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// The number a track or genre cell holds, as one byte; the editor's track
// field reads the same way. The number is the longest prefix of the text,
// after leading blanks, that reads as a decimal number (sign, digits, a
// fraction, an exponent), rounded to the nearest whole number with a half
// going to the even neighbour. Text that starts with no number, or a number
// outside 0 to 255, reads as 0.
quint8 cellNumber(const QString &text);

// True for the digits 0 to 9 (not their full-width forms).
inline bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Where the run of ASCII digits that starts at from ends: the first position
// at or after from that holds no digit (from itself when it holds none).
inline qsizetype digitRunEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && isAsciiDigit(text[from]))
        ++from;
    return from;
}
