#pragma once

#include "id3v1/TagUpdate.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

// The text of the ID3v2 tag (version 2.2, 2.3 or 2.4) at the front of a file,
// as the fields of an ID3v1.1 tag. Kalvo walks
// the frame headers itself (Id3v2Frames) and hands TagLib, one by one, only
// the frames it reads, each checked and rebuilt first: so TagLib never opens, nor
// writes, a file, and never meets chapter frames nested without end,
// compressed data that inflates without end, millions of frames or
// megabytes of text.
//
// Title from TIT2; artist from TPE1, else TPE2; album from TALB; year from
// the first four characters of TDRC (or TYER) when they are digits; comment
// from the first COMM without description, else the first COMM; track from
// TRCK (trackNumberOf); genre from TCON: "(17)", "17", "(17)Rock" or a genre
// name in any letter case. Texts lose their surrounding blanks; a field that
// is missing, empty or not of that form is left out. Zero-size frames (old
// players wrote an empty TENC first) are passed over.

enum class Id3v2State { Read, NoTag, Unreadable };

// The fields an ID3v2 tag gives.
enum class Id3v2Field { Title, Artist, Album, Year, Comment, TrackNumber, Genre };

struct Id3v2Text {
    Id3v2State state = Id3v2State::NoTag;
    TagUpdate fields{};  // only when Read
    // Only when Read: the fields one of whose frames could not be read (a
    // text encoding byte other than 0 to 3, encrypted, compressed without
    // its inflated size or over the limit, longer than the limit, or the
    // frames together over theirs), in this order, each once. They are left
    // out of fields, even when another frame would give them.
    QList<Id3v2Field> unreadable{};
    // Only when Read: the frames stop at bytes that are no frame, or at a
    // frame that runs past the tag's end; fields come from the frames before.
    bool cutShort = false;
};

// The largest tag region read, header and footer included.
inline constexpr qint64 kMaxId3v2Size = 32 * 1024 * 1024;
// The most bytes a frame Kalvo reads may hold, once resynchronised and
// inflated, and the most all of them together may hold. A title or a
// comment takes a few hundred; TagLib's time grows with the bytes.
inline constexpr qint64 kMaxId3v2FrameContent = 64 * 1024;
inline constexpr qint64 kMaxId3v2ContentTotal = 1024 * 1024;

// The v2 tag of bytes that stand for a whole file (or its start): NoTag
// when they do not start with "ID3"; Unreadable when the header or extended
// header is malformed, when the region the header announces is larger than
// kMaxId3v2Size, or when the tag holds more than kMaxId3v2Frames frames.
Id3v2Text parseId3v2Text(QByteArrayView bytes);

struct Id3v2Tag;
// The same reading of a tag walked already (walkId3v2Tag), so that what
// walks a tag for another purpose need not walk it twice.
Id3v2Text id3v2TextOfWalk(const Id3v2Tag &tag);

// Whether the reading above (or an edit) ever looks into the data of a
// frame with this id in a tag of that version: the text frames and comments
// of the fields. The data of any other frame may be left unread.
bool id3v2FrameIsRead(quint8 version, QByteArrayView id);

// Whether a COMM frame's content (its data after the frame header, as it
// reads) gives a comment with a description, as the reading above reads
// it: such a comment is not the tag's comment.
bool id3v2CommentHasDescription(QByteArrayView content);
