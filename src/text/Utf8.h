#pragma once

#include <QByteArrayView>

// How far the bytes start a well-formed UTF-8 character: the number of bytes
// its first byte calls for (0 when that byte starts none), and how many of
// the bytes, from the first, fit the forms the Unicode standard allows (no
// overlong forms, no surrogates, nothing past U+10FFFF). The character is
// whole when the two are equal.
struct Utf8Start {
    qsizetype needed = 0;
    qsizetype fitting = 0;
};
Utf8Start utf8Start(QByteArrayView bytes);
