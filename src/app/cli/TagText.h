#pragma once

#include "id3v1/TagRecord.h"

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
