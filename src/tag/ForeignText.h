#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Tag text written by tools that ignore CP932: the bytes of a field read in
// the code page they were written in.
enum class ForeignCodePage { Utf8, EucJp };

// The text of the bytes in the code page, read strictly: a character cut off
// at the end (as a slot's width cuts it) is dropped; nothing when any other
// byte is no part of a valid character.
std::optional<QString> decodeForeign(ForeignCodePage codePage, QByteArrayView bytes);
