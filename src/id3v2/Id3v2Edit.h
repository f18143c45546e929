#pragma once

#include "id3v1/TagRecord.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2Text.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// A file's ID3v2 tag brought in step with its row (Id3v2InStep), as pure
// functions on the tag's bytes. Only the given fields out of step are written,
// each into its frame: title TIT2, artist TPE1, album TALB, year TYER (2.3)
// or TDRC (2.4), comment COMM (language "jpn", no description), track TRCK,
// genre TCON; a field whose text is blank loses its frames instead. The new
// frame of a field takes the place of the first frame it replaces (or comes
// after all frames), and the field's other frames go: for the year both
// TYER and TDRC, for the comment the COMM frames without description and
// those that cannot be read. Every other frame stays byte for byte, in its
// order. TagLib renders the new frames' data; it is handed no bytes of the
// file.
//
// A 2.3 tag stays 2.3, its new frames in UTF-16 with byte order mark; a 2.4
// tag stays 2.4, its new frames in UTF-8, and keeps its header's
// unsynchronisation flag, which its other frames may rely on (UTF-8 holds no
// byte that flag changes); a 2.2 tag, or none, becomes 2.3, the frames of a
// 2.2 tag carried over by Id3v2From22. The new tag has no extended header
// (its CRC would no longer hold), no footer and no other flags; a tag of 2.2
// or 2.3 that was unsynchronised as a whole keeps its frames as they read.

enum class Id3v2EditState {
    Unchanged,  // every field is in step: the tag stays as it is
    Edited,
    Unreadable,        // the header, the extended header or the frames cannot be walked
    CutShort,          // the frames stop at bytes that are no frame: what follows would be lost
    FrameNotCarried,   // a frame of the 2.2 tag has no 2.3 counterpart
};

// One frame of an edited tag: a frame of the old tag kept byte for byte
// (its index in the walk), or new bytes (a new frame, or a 2.2 frame
// carried over) in the place of the old frame at (-1: after all frames).
struct Id3v2EditFrame {
    qsizetype kept = -1;
    QByteArray bytes{};
    qsizetype at = -1;
};

struct Id3v2Edit {
    Id3v2EditState state = Id3v2EditState::Unchanged;
    QByteArray frameId{};  // FrameNotCarried: the frame's id
    quint8 version = 3;  // Edited: the new tag's version and header flags
    quint8 flags = 0;
    // Edited: the new tag's frames, in order; none: no tag is left. The
    // frames kept lie in old, the walk of the old tag, which shares its
    // bytes with the caller's: nothing is copied until the bytes of the new
    // tag are asked for.
    QList<Id3v2EditFrame> frames{};
    Id3v2Tag old{};
    // Unchanged: what the tag, which stays, gives (parseId3v2Text), read
    // in the same walk of its frames as the edit.
    Id3v2Text reading{};
};

// The edit of the tag whose bytes (header to footer, as they stand at the
// start of the file) are given, or of no tag when tag is empty: the given
// fields of the row (id3v2GivenFields) that are out of step are written.
Id3v2Edit editId3v2Tag(const QByteArray &tag, const TagRecord &row, const QList<Id3v2Field> &given);

// The bytes the edited tag's frames take.
qint64 editedFramesSize(const Id3v2Edit &edit);

// The bytes of an edited frame.
QByteArrayView editedFrameBytes(const Id3v2Edit &edit, const Id3v2EditFrame &frame);

// The bytes of the edited tag, padded with zero bytes to size when its
// header and frames take less; empty when no frame is left.
QByteArray editedTagBytes(const Id3v2Edit &edit, qint64 size);
