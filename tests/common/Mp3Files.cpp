#include "Mp3Files.h"

#include "classID3_V11.h"


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
    codec.SetMP3File(path);
    codec.SetTrackName(tag.Title);
    codec.SetAirtistName(tag.Artist);
    codec.SetAlbumName(tag.Album);
    codec.SetReleaseYear(tag.Year);
    codec.SetComment(tag.Comment);
    codec.SetTrackNumber(tag.TrackNumber);
    codec.SetGenreID(tag.GenreID);
    return codec.SaveMp3File(QString());
}
