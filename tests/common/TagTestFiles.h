#pragma once

// Builders for MP3-like test files and their 128-byte tag blocks, written
// byte by byte so the tests do not lean on the codec's own encoder.

#include "common/Mp3Files.h"

#include <QByteArray>
#include <QString>

namespace TagTestFiles {

// Text padded with pad (or cut) to width bytes.
inline QByteArray slot(const QByteArray &text, int width, char pad = ' ')
{
    QByteArray bytes = text.left(width);
    bytes.append(QByteArray(width - bytes.size(), pad));
    return bytes;
}

struct RawBlock {
    RawBlock() = default;
    RawBlock(QByteArray title_, QByteArray artist_ = {}, QByteArray album_ = {}, QByteArray year_ = {},
             QByteArray comment_ = {})
        : title(title_), artist(artist_), album(album_), year(year_), comment(comment_)
    {
    }

    QByteArray title, artist, album, year, comment;
    char pad = ' ';
    unsigned char zero = 0x00;   // byte 125
    unsigned char track = 0;     // byte 126
    unsigned char genre = 0;     // byte 127
    QByteArray comment30;        // when set: a v1.0 comment over bytes 97..126

    QByteArray bytes() const
    {
        QByteArray b("TAG");
        b += slot(title, 30, pad) + slot(artist, 30, pad) + slot(album, 30, pad) + slot(year, 4, pad);
        if (!comment30.isNull()) {
            b += slot(comment30, 30, pad);
        } else {
            b += slot(comment, 28, pad);
            b += static_cast<char>(zero);
            b += static_cast<char>(track);
        }
        b += static_cast<char>(genre);
        return b;
    }
};

inline const QString kNoError = QStringLiteral("NO ERROR");
inline const QString kNotSet = QStringLiteral("FILE NOT SET");
inline const QString kNotMp3 = QStringLiteral("FILE NOT FOUND or FILE NOT MP3( ID3 over V2 NOT SUPPORT)");

}  // namespace TagTestFiles
