#pragma once

#include "TagUpdate.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// The text of the ID3v2 tag (version 2.2, 2.3 or 2.4) at the front of a file,
// as the fields of an ID3v1.1 tag. The file is opened as the tag class opens
// it, and only the region the tag's header announces is read; TagLib parses
// those bytes in memory and never opens, nor writes, a file.
//
// Title from TIT2; artist from TPE1, else TPE2; album from TALB; year from
// the first four characters of TDRC (or TYER) when they are digits; comment
// from the first COMM without description, else the first COMM; track from
// TRCK (trackNumberOf); genre from TCON: "(17)", "17", "(17)Rock" or a genre
// name in any letter case. Texts lose their surrounding blanks; a field that
// is missing, empty or not of that form is left out.

enum class Id3v2State { Read, NoTag, Unreadable };

struct Id3v2Text {
    Id3v2State state = Id3v2State::NoTag;
    TagUpdate fields{};  // only when Read
};

// The largest tag region read, header and footer included.
inline constexpr qint64 kMaxId3v2Size = 32 * 1024 * 1024;

// The v2 tag at the start of the file at path: NoTag when the file does not
// start with "ID3"; Unreadable when it is no regular file or cannot be read,
// when the header is malformed, or when the region it announces is larger
// than kMaxId3v2Size or than the file.
Id3v2Text readId3v2Text(const QString &path);

// The same for bytes that stand for a whole file.
Id3v2Text parseId3v2Text(QByteArrayView bytes);
