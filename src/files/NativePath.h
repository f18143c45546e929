#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Paths are bytes to the system and text to the program. A path's text is its
// bytes read as UTF-8, each byte that is no part of valid UTF-8 carried as its
// escape (ByteEscape): a name in another encoding, such as CP932 from a ZIP
// made on Windows or an old player, keeps its exact bytes. Every path the
// program takes from the system becomes text through pathText, and every path
// it hands to the system goes through nativePath.

// The text of the path's bytes.
QString pathText(QByteArrayView bytes);

// The path as the system takes it: the text as UTF-8, each escape turned back
// into its byte, so nativePath(pathText(bytes)) is the bytes. Empty when it
// names no file: an empty path, one holding a zero character, which the
// system would cut short and so take for another file, or one holding a
// surrogate that is no escape, which has no bytes.
QByteArray nativePath(const QString &path);

// The path as the user reads it. Each part between separators that is not
// UTF-8 but is valid CP932 is shown as CP932; any other escaped byte shows as
// U+FFFD. For showing only: the path's own text is what names the file.
QString shownPath(const QString &path);
