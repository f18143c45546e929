#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Tag text lives in files as CP932 (Windows-31J), whatever the locale of the
// machine. Everything that turns text into those bytes, or counts them, goes
// through here so the file, the editor's length check and the settings file
// agree byte for byte.
namespace Cp932 {

// False when this Qt has no CP932 converter (built without ICU); then no tag
// text can be read or written faithfully.
bool isAvailable();

// Bytes of the text as CP932. An escape gives back its byte. Any other
// character with no CP932 form becomes one "?", as the Windows conversion
// writes it; the JIS forms that Linux input methods type (WAVE DASH and
// friends) become their CP932 counterparts.
QByteArray encode(QStringView text);

// The longest prefix of encode(text) that fits into maxBytes, never splitting a
// double-byte character.
QByteArray encodeCut(QStringView text, qsizetype maxBytes);

// The longest prefix of text whose bytes fit into maxBytes, never ending
// inside a character: encode(cutText(text, n)) == encodeCut(text, n). A
// character with no CP932 form stays as it is and counts as its "?".
QString cutText(QStringView text, qsizetype maxBytes);

// True when some character of text has no CP932 form, so that encode writes
// "?" for it.
bool hasCharacterWithoutForm(QStringView text);

// The characters of text that have a CP932 form, in order: what a field
// meant for CP932 keeps of a typed or pasted text.
QString heldCharacters(QStringView text);

// Number of bytes encode(text) gives.
qsizetype byteLength(QStringView text);

// Text of CP932 bytes. ASCII bytes stay ASCII (0x5C is the backslash, 0x7E the
// tilde); every pair CP932 defines is its character, whichever of its two
// codes a doubly coded character comes in; a byte that is no part of a valid
// character becomes its escape (ByteEscape). So encode(decode(bytes)) gives
// the bytes back, but for a doubly coded character in the code Windows does
// not write, which comes back in the one it writes; either way the byte count
// is the same.
QString decode(QByteArrayView bytes);

// True for the first byte of a double-byte character.
bool isLeadByte(unsigned char byte);

// Length of the longest prefix of bytes that fits into maxBytes without ending
// inside a double-byte character (as decode reads the bytes).
qsizetype cutLength(QByteArrayView bytes, qsizetype maxBytes);

}  // namespace Cp932
