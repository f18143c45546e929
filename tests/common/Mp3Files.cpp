#include "Mp3Files.h"

#include "classID3_V11.h"

#include <QTest>

QByteArray untaggedMp3Bytes(int size)
{
    QByteArray bytes(size, '\x55');
    bytes[0] = '\xFF';
    bytes[1] = '\xFB';
    bytes[2] = '\x90';
    bytes[3] = '\x64';
    return bytes;
}

bool writeUntaggedMp3(const QString &path, int size)
{
    return writeFile(path, untaggedMp3Bytes(size));
}

bool writeTaggedMp3(const QString &path, const TagRecord &tag, int audioSize)
{
    if (!writeUntaggedMp3(path, audioSize))
        return false;
    classID3_V11 codec;
    putTagFields(codec, tag);
    return codec.SaveMp3File(path);
}

TagRecord readMp3Tag(const QString &path)
{
    classID3_V11 codec;
    if (!codec.LoadMp3File(path))
        return {QStringLiteral("<unreadable>"), {}, {}, {}, {}, 0, 0};
    return tagFields(codec);
}

char *toString(const TagRecord &tag)
{
    return QTest::toString(QStringList{tag.Title, tag.Artist, tag.Album, tag.Year, tag.Comment,
                                       QString::number(tag.TrackNumber), QString::number(tag.GenreID)}
                               .join(u'|'));
}
