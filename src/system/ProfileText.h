#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The text of a private-profile (INI) file in CP932. "[section]" lines open
// sections, "key=value" lines set keys; section and key names match without
// regard to ASCII case or the spaces and tabs around them. Any other line
// (comments, blank lines) is kept and ignored.

// The value of key in the first section named section, as a reader gets it:
// the text after the first "=" of the first such key line, without the blanks
// around it and without one pair of double quotes around it, cut to 255 bytes
// (in CP932), never inside a double-byte character. Empty when the section or
// the key is missing.
QString profileValue(QByteArrayView text, const QString &section, const QString &key);

// The text with key in section set to value: the key's line changed, or a key
// line added after the section's last key, or the section and the key added
// at the end. Every other byte stays, line endings included, and added lines
// end as the text's first line does. The value loses its line breaks and is
// quoted when a reader would otherwise trim or unquote it. A text whose value
// already reads as value comes back as it is.
QByteArray withProfileValue(const QByteArray &text, const QString &section, const QString &key,
                            const QString &value);
