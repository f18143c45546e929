#pragma once

// ID3v2 tags built byte by byte for tests, apart from the code they test:
// headers, frames of each version with any flags, and the hostile tags a
// file from anyone may hold.

#include "id3v2/Id3v2Text.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// n in four bytes of 7 bits, and in four plain bytes, most significant first.
QByteArray syncsafe(qint64 n);
QByteArray bigEndian32(qint64 n);

// A frame header and data: 2.2 has a 3-byte size and no flags, 2.3 a plain
// 4-byte size, 2.4 a syncsafe one; flags are the two flag bytes.
QByteArray frame22(const char *id, const QByteArray &data);
QByteArray frame23(const char *id, const QByteArray &data, quint16 flags = 0);
QByteArray frame24(const char *id, const QByteArray &data, quint16 flags = 0);

// A tag of the version around body: the header announces body's size.
QByteArray id3v2Tag(quint8 version, const QByteArray &body, quint8 flags = 0);

// A text frame's data: an encoding byte, then the bytes.
QByteArray textData(const QByteArray &text, char encoding = '\0');
// A comment frame's data in ISO-8859-1: language "eng", description, text.
QByteArray commentData(const QByteArray &description, const QByteArray &text);

// bytes as a zlib stream.
QByteArray zlibStream(const QByteArray &bytes);
// A zlib stream of size zero bytes, made in pieces so no buffer of that size
// is needed.
QByteArray zlibStreamOfZeros(qint64 size);

// A reading as text: the state, the fields it gives ("title=…"), the fields
// it could not read ("!title") and "cut short".
QString id3v2Reading(const Id3v2Text &text);

// The hostile tags, each in a file with a little audio after it.
namespace HostileId3v2 {
// 2.3: CTOC frames each holding the next, depth deep, then the text frames.
QByteArray nestedChapters(int depth);
// 2.3: TIT2, TPE1, TALB and COMM compressed, each inflating to inflated
// bytes while announcing 100.
QByteArray zlibBomb(qint64 inflated);
// 2.3: count frames of one byte each.
QByteArray tinyFrames(qint64 count);
// 2.3: a TIT2 of size bytes, then the other texts.
QByteArray hugeTitle(qint64 size);
// 2.3 with an extended header holding a CRC, then the text frames.
QByteArray extendedHeader();
// 2.3: a TIT2 whose encoding byte is 0x07, then the other texts.
QByteArray unknownEncoding();
// 2.3: an empty TENC first, as old Windows players wrote it, then the texts.
QByteArray leadingEmptyFrame();
}  // namespace HostileId3v2

// The fields the hostile tags hold besides what makes them hostile.
inline constexpr char kHostileTitle[] = "Dawn Song";
inline constexpr char kHostileArtist[] = "Taro Yamada";
inline constexpr char kHostileAlbum[] = "Best Of";
