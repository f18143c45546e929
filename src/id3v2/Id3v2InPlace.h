#pragma once

#include "id3v2/Id3v2Edit.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <optional>

// An edited tag written over the old one where it lies, so that only the
// bytes around the frames that change are written: the kept frames of
// kStillFrame bytes or more (a cover picture) stay where they are, and the
// small frames between them are laid out again in the same space.
//
// The small frames between two still frames (or before the first) must
// fill their space exactly. When the edit leaves them short, a new text
// frame of a 2.3 tag takes the rest as zero bytes after its text (which 2.3
// readers ignore); when it leaves them too long, or no new text frame can
// take the rest, frames of that space move after the last still frame,
// into the padding. Frames keep their bytes; only their order may change
// that way, which ID3v2 leaves free.

// Kept frames of this size (header included) or more never move.
inline constexpr qint64 kStillFrame = 4096;

// A piece of the tag to be written: its offset from the tag's start and the
// bytes it is to hold.
struct Id3v2Span {
    qint64 offset = 0;
    QByteArray bytes;

    friend bool operator==(const Id3v2Span &, const Id3v2Span &) = default;
};

// The spans that turn the old tag (edit.old, as it lies in the file) into
// one with the edited frames and header, its size unchanged; nothing when
// that cannot be done so: the edit is not Edited or leaves no frame, the old
// tag's bytes are not as it lies in the file (2.2, unsynchronised 2.3), its
// header changes (an extended header, a footer, other flags), or the frames
// cannot be laid out around the still ones. Spans the edit leaves as they
// are are left out.
std::optional<QList<Id3v2Span>> id3v2EditInPlace(const Id3v2Edit &edit);
