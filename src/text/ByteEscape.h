#pragma once

#include <QChar>

// Bytes carried in text. A byte 0x80..0xFF that is no part of a valid
// character of the text's encoding (CP932 for tag text, UTF-8 for paths)
// becomes the lone low surrogate U+DC00 + byte, and that character turns back
// into the byte. No valid character of either encoding reads as a surrogate,
// and no typed text holds a lone one, so an escape is never taken for real
// text, and bytes read and written back stay what they were. Qt draws an
// escape as U+FFFD.
namespace ByteEscape {

inline constexpr char16_t kBase = 0xDC00;

// True for the escape of a byte (U+DC80..U+DCFF).
inline bool isEscape(QChar character)
{
    return character.unicode() >= kBase + 0x80 && character.unicode() <= kBase + 0xFF;
}

inline QChar escape(unsigned char byte)
{
    return QChar(static_cast<char16_t>(kBase + byte));
}

// The byte an escape carries.
inline char byteOf(QChar escape)
{
    return static_cast<char>(escape.unicode() - kBase);
}

}  // namespace ByteEscape
