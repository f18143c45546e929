#pragma once

// Small MP3 files for tests: an MPEG-1 Layer III frame header followed by a few
// bytes of "audio", with or without an ID3v1.1 block written by the codec.

#include "common/FileBytes.h"
#include "id3v1/TagRecord.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>

// The bytes of an untagged MP3 file of the given size: the start of an MPEG
// Layer III frame header (0xFF, second, 0x90, 0x64; second 0xFB is MPEG-1,
// 0xF3 MPEG-2), then filler.
QByteArray mpegFrameFile(int size = 400, char second = '\xFB');

// Creates path as an untagged MP3 file; false when it cannot be written.
bool writeUntaggedMp3(const QString &path, int size = 400);

// Creates path as an MP3 file carrying the tag; false on failure.
bool writeTaggedMp3(const QString &path, const TagRecord &tag, int audioSize = 400);

// The tag of the file as the codec reads it; a title of "<unreadable>" when it
// cannot be loaded.
TagRecord readMp3Tag(const QString &path);

// Lets QCOMPARE print the fields of a mismatch.
char *toString(const TagRecord &tag);

Q_DECLARE_METATYPE(TagRecord)
