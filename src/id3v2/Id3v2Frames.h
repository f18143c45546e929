#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

// The structure of an ID3v2 tag (version 2.2, 2.3 or 2.4) as pure functions
// on bytes: the header, the extended header, and the frames in their order,
// each with its id, flags, place and size. Every step is bounded by the
// tag's size and the number of frames; nothing inside a frame is read until
// its content is asked for (id3v2FrameContent), and that is bounded by the
// caller's limit. Building frames and tags (id3v2FrameBytes, id3v2TagBytes)
// is the other way round.

inline constexpr qint64 kId3v2HeaderSize = 10;

// The most frames a tag may hold. Real tags hold tens, a podcast's chapter
// frames a few hundred; millions of tiny frames only cost time and memory.
inline constexpr qsizetype kMaxId3v2Frames = 10000;

struct Id3v2Header {
    quint8 version = 0;  // the major version: 2, 3 or 4
    quint8 revision = 0;
    quint8 flags = 0;
    qint64 size = 0;  // the bytes after the header, a footer not counted

    bool unsynchronised() const { return (flags & 0x80) != 0; }
    bool hasExtendedHeader() const { return version >= 3 && (flags & 0x40) != 0; }
    // Version 2.2 let a whole tag be compressed but never said how.
    bool compressed() const { return version == 2 && (flags & 0x40) != 0; }
    bool hasFooter() const { return version == 4 && (flags & 0x10) != 0; }
    // The bytes the tag takes at the front of a file: header, body, footer.
    qint64 tagSize() const { return kId3v2HeaderSize + size + (hasFooter() ? kId3v2HeaderSize : 0); }
};

enum class Id3v2HeaderState { Tag, NoTag, Malformed };

// The header at the start of bytes. NoTag when they do not start with "ID3";
// Malformed when they hold fewer than ten bytes, the major version is not 2,
// 3 or 4, the revision is 0xFF, or a size byte has its top bit set.
Id3v2HeaderState readId3v2Header(QByteArrayView start, Id3v2Header &header);

struct Id3v2Frame {
    QByteArray id;       // three characters in 2.2, four after: A-Z and 0-9
    quint16 flags = 0;   // the status byte, then the format byte; 0 in 2.2
    qint64 offset = 0;   // of the frame header in Id3v2Tag::bytes
    qint64 size = 0;     // the size field: the bytes after the frame header

    friend bool operator==(const Id3v2Frame &, const Id3v2Frame &) = default;
};

// What a frame's format flags say, whatever the version writes them as.
struct Id3v2FrameFormat {
    bool compressed = false;
    bool encrypted = false;
    bool grouped = false;          // a group byte follows the header
    bool unsynchronised = false;   // 2.4: the data (not the header) is
    bool hasDataLength = false;    // 2.4: four bytes of data length follow
};
Id3v2FrameFormat id3v2FrameFormat(quint8 version, quint16 flags);

// The size of a frame header in that version: 6 in 2.2, 10 after.
qint64 id3v2FrameHeaderSize(quint8 version);

// The size field of a 2.3 or 2.4 frame header (ten bytes), as the walk
// reads it.
qint64 id3v2FrameSize(quint8 version, QByteArrayView header);

enum class Id3v2WalkState {
    Walked,
    NoTag,
    // The header or the extended header cannot be read, the bytes end
    // before the tag does, or the tag is compressed as 2.2 allowed.
    Malformed,
    TooManyFrames,  // more than kMaxId3v2Frames
};

// How the frames end.
enum class Id3v2FramesEnd {
    Padding,       // a zero byte, or exactly the end of the tag
    Unrecognised,  // bytes that are no frame id
    Truncated,     // a frame, or its header, runs past the end of the tag
};

struct Id3v2Tag {
    Id3v2WalkState state = Id3v2WalkState::NoTag;
    Id3v2Header header;
    // The tag's bytes from its header on, as given. A tag of 2.2 or 2.3
    // unsynchronised as a whole is held resynchronised (header, then the
    // body as it reads), so its offsets are no offsets in the file.
    QByteArray bytes;
    qint64 framesStart = 0;  // after the header and any extended header
    qint64 framesEnd = 0;    // where the walk stopped: padding, or the end
    QList<Id3v2Frame> frames;
    Id3v2FramesEnd end = Id3v2FramesEnd::Padding;

    // A frame's header and data as they stand in bytes.
    QByteArrayView frameBytes(const Id3v2Frame &frame) const;
};

// The layout of the tag at the start of bytes (only the header is needed to
// tell; the bytes must then reach the tag's end). Zero-size frames, as old
// players wrote an empty TENC before the rest, are frames like any other.
// In 2.4 a frame size with a top bit set is read as a plain number, as some
// writers stored it.
Id3v2Tag walkId3v2Tag(const QByteArray &bytes);

enum class Id3v2ContentState {
    Read,
    Encrypted,
    TooLarge,  // over the limit, or compressed without its inflated size
    Broken,    // shorter than the bytes its flags announce, or bad zlib data
};

struct Id3v2FrameContent {
    Id3v2ContentState state = Id3v2ContentState::Broken;
    QByteArray data;  // only when Read
};

// The data of a frame as its fields are read: past the bytes its flags add
// (group, encryption method, inflated size or data length), resynchronised
// when 2.4 marks it or the tag so, inflated when compressed. A compressed
// frame must give its inflated size, and neither that nor what the data
// inflates to may be over limit bytes; nor may the data of any frame.
Id3v2FrameContent id3v2FrameContent(const Id3v2Tag &tag, const Id3v2Frame &frame, qint64 limit);

// Bytes with every 0x00 that follows 0xFF taken out: unsynchronised bytes
// as they read.
QByteArray resynchronised(QByteArrayView bytes);

// A frame of that version with no flags set. The data must fit the size
// field: under 16 MB in 2.2, 256 MB in 2.4.
QByteArray id3v2FrameBytes(quint8 version, QByteArrayView id, QByteArrayView data);

// The header of a tag of that version (revision 0, no flags) whose frames
// and padding take size bytes (under 256 MB).
QByteArray id3v2TagHeader(quint8 version, qint64 size);

// A tag of that version (revision 0, no flags, no padding) around frames
// (under 256 MB).
QByteArray id3v2TagBytes(quint8 version, QByteArrayView frames);
