#pragma once

#include "id3v1/TagRecord.h"

#include <array>

// The 128-byte ID3v1.1 block at the end of an MP3 file, read and built as
// plain bytes: "TAG", title 30, artist 30, album 30, year 4, comment 28, a
// zero byte, track, genre. Texts are CP932, padded with spaces.

inline constexpr int kTagBlockSize = 128;
using TagBlock = std::array<unsigned char, kTagBlockSize>;

// Widths of the text slots in bytes.
inline constexpr int kTitleWidth = 30, kArtistWidth = 30, kAlbumWidth = 30, kYearWidth = 4, kCommentWidth = 28;

// True when the block starts with "TAG" (case-sensitive).
bool hasTagMagic(const TagBlock &block);

// True when a file starting with these bytes counts as an MP3: an MPEG-1
// Layer III frame header, or an ID3v2 tag in front of the audio.
bool IsMp3Header(unsigned char b0, unsigned char b1, unsigned char b2);

// The fields a block holds: each text up to its slot's first 0x00 byte (other
// tag writers pad with 0x00), decoded as CP932 and without trailing spaces.
// Two spaces at bytes 125 and 126 end a space-padded ID3v1.0 comment and mean
// no track; a track byte above 100 reads as 0. The genre stays as it is.
TagRecord parseTagBlock(const TagBlock &block);

// The block that holds the fields, to replace old: the block the file holds,
// or any bytes without "TAG" when there is none. Each field that still reads
// as old gives it keeps old's bytes, so a field nobody changed stays byte for
// byte (a doubly coded CP932 character keeps its code, 0x00 padding stays,
// an ID3v1.0 comment with its bytes 125 and 126 stays while neither it nor
// the track changed, and so does a track byte of 101 to 255). Every other
// text is encoded as CP932, cut at its slot's width without splitting a
// character and padded with spaces; then come 0x00, the track and the genre.
// What the block reads as never depends on old.
TagBlock renderTagBlock(const TagRecord &fields, const TagBlock &old);
