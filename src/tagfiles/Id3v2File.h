#pragma once

#include "files/FileResult.h"
#include "id3v2/Id3v2Text.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Reading the ID3v2 tag at the front of a file. Only the region the tag's
// header announces is read, and only within kMaxId3v2Size.

// The tag region of the open file fd into tag, header included: left empty
// when the file does not start with "ID3"; TagUnreadable when the header is
// malformed or the region is larger than kMaxId3v2Size or than limit (the
// bytes in front of the audio's end); the system's failure when a read fails.
FileResult readId3v2Region(int fd, qint64 limit, QByteArray &tag);

// Frames of this size or more whose data is never read may be left unread.
inline constexpr qint64 kSparseFrame = 16 * 1024;

// The tag region as readId3v2Region reads it, but for the data of frames
// that neither the reading nor an edit looks into (id3v2FrameIsRead) of
// kSparseFrame bytes or more (a cover picture), in a 2.3 or 2.4 tag without
// header flags: those bytes of tag are left as they were allocated, and
// complete is false. Whatever walks the tag finds every frame header and
// the data of every frame read. Only the reading, an edit and the spans of
// id3v2EditInPlace may use such a tag: never its bytes as a whole.
FileResult readId3v2Sparse(int fd, qint64 limit, QByteArray &tag, bool &complete);

// The v2 tag at the start of the file at path, opened as the tag class opens
// it: NoTag when the file does not start with "ID3"; Unreadable when it is
// no regular file or cannot be read, or when parseId3v2Text finds the tag
// unreadable or the region is larger than the file.
Id3v2Text readId3v2Text(const QString &path);
