#include "common/Mp3Files.h"

#include "tagfiles/classID3_V11.h"

#include <QTest>

QByteArray mpegFrameFile(int size, char second)
{
    const char header[] = {'\xFF', second, '\x90', '\x64'};
    return QByteArray(header, qMin(size, 4)) + QByteArray(qMax(size - 4, 0), '\x55');
}

bool writeUntaggedMp3(const QString &path, int size)
{
    return writeFile(path, mpegFrameFile(size));
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
        return {.Title = QStringLiteral("<unreadable>")};
    return tagFields(codec);
}

char *toString(const TagRecord &tag)
{
    return QTest::toString(QStringList{tag.Title, tag.Artist, tag.Album, tag.Year, tag.Comment,
                                       QString::number(tag.TrackNumber), QString::number(tag.GenreID)}
                               .join(u'|'));
}
