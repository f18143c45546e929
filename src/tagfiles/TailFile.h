#pragma once

#include "id3v1/TagBlock.h"

#include <QtGlobal>

// A tag's place in its file: whether the file holds a block at its end, and
// taking back a block written there. The codec reads a file's first bytes and
// its last 128, and writes only those 128.

enum class TagState { NotMp3, TagPresent, NoTag };

// Tests the first bytes of the open file (bytes past its end count as 0x00)
// and fetches its last 128 bytes into tail: NotMp3 for a file that does not
// start as an MP3, or whose start or tail cannot be read, so that a save
// never appends a second block to a file whose end it could not see.
TagState CheckMp3File(int fd, qint64 length, TagBlock &tail);

// How a file's tail looked before a block was written into it, so the write
// can be taken back.
struct TailBefore {
    qint64 length = 0;       // the file's length
    bool hadBlock = false;   // the block overwrote oldBlock, else it was appended
    TagBlock oldBlock{};
};

// The block a save writes into the file whose tail is before, and where:
// the fields over the block the file holds (renderTagBlock keeps what reads
// the same), or a new block appended.
TagBlock savedBlock(const TagRecord &fields, const TailBefore &before);
qint64 savedBlockOffset(const TailBefore &before);

// Takes back a block written over or after the tail described by before: an
// append is cut off again, an overwrite gets the old block back; then the
// file is synced. Its own errors are ignored: nothing more can be done for the
// file at that point, and the caller reports the failed save.
void undoTailWrite(int fd, const TailBefore &before);
