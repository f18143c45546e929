#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Text crossing the terminal: the command line's values, standard input and
// output. It is UTF-8, or the character set of the user's locale where that
// is another one the system and Qt both know (EUC-JP, Shift_JIS). The C and
// POSIX locales, which promise only ASCII, count as UTF-8, as they do for Qt.
class LocaleText
{
public:
    // codeset: the locale's character set as nl_langinfo(CODESET) names it.
    explicit LocaleText(const QByteArray &codeset);
    // The character set of the locale the environment chooses (LC_ALL,
    // LC_CTYPE, LANG).
    static LocaleText ofEnvironment();

    // The text of the bytes; nothing when they are no valid text there.
    std::optional<QString> decode(QByteArrayView bytes) const;
    // The bytes of the text; a character the character set lacks becomes
    // its replacement, and so does an escaped byte (ByteEscape), which only
    // shows that a file held a byte that was no text.
    QByteArray encode(QStringView text) const;

private:
    QByteArray codec_;  // the name Qt knows it by; empty for UTF-8
};
