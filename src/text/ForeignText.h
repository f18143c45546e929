#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Tag text written by tools that ignore CP932: the bytes of a field read in
// the code page they were written in.
enum class ForeignCodePage { Utf8, EucJp };

// The text of a field's bytes in the code page, read strictly: nothing when
// a byte is no part of a valid character, or when the text would hold a
// control character (U+0080 to U+009F, which the code pages give stray high
// bytes, as CP932 text read as EUC-JP has many). A character cut off at the
// end is dropped only when the bytes fill the field's slot of slotWidth
// bytes, where the slot's width cut it; a shorter field ends where its text
// ends.
std::optional<QString> decodeForeign(ForeignCodePage codePage, QByteArrayView bytes, qsizetype slotWidth);
