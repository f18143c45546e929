#pragma once

#include "id3v1/TagRecord.h"
#include "id3v2/Id3v2Text.h"

#include <QJsonObject>
#include <QString>

// How kalvo-cli writes tags out. Texts show a byte that was no text (an
// escape, ByteEscape) as U+FFFD.

// The file, the seven fields and the genre's name, separated by tabs; a
// control character in a value (a tab, a line break) shows as a space, so
// that each file stays one line of columns.
QString tagLine(const QString &file, const TagRecord &fields);

// The same as an object with the keys file, title, artist, album, year,
// comment, track, genre and genreName.
QJsonObject tagObject(const QString &file, const TagRecord &fields);

// What changes from before to after, field by field in the order of the
// list's columns: "曲名「夜」 → 「朝」、No「1」 → 「2」"; "変更なし" when
// nothing does. The genre shows by its name, or its number when it has none;
// control characters show as spaces.
QString tagChange(const TagRecord &before, const TagRecord &after);

// What writing the ID3v2 tag too (W, --v2) would change in a tag read so:
// "ID3v2タグ: 曲名「夜」 → 「朝」", the fields out of step (Id3v2InStep)
// from the tag's text to what the row writes; "ID3v2タグ（新規）: …" for a
// file without a tag; for a tag that is not written, why not. Only the
// given fields are written (id3v2GivenFields).
QString id3v2Change(const TagRecord &after, const Id3v2Text &reading, const QList<Id3v2Field> &given);
